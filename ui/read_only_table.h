#pragma once

class QAbstractItemModel;
class QString;
class QTableView;
class QWidget;

namespace tessara::ui {

// A read-only table of the check window and the address map: whole rows, fixed row heights, widths measured on the
// first rows only, so a network of thousands of nodes still opens at once.
QTableView* MakeReadOnlyTable(const char* name, const QString& accessibleName, QAbstractItemModel* model,
                              QWidget* parent);

}  // namespace tessara::ui
