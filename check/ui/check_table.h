#pragma once

class QAbstractItemModel;
class QString;
class QTableView;
class QWidget;

namespace tessara::check {

// A read-only table of the check window: whole rows, fixed row heights, widths measured on the first rows only,
// so a network of thousands of nodes still opens at once.
QTableView* MakeCheckTable(const char* name, const QString& accessibleName, QAbstractItemModel* model, QWidget* parent);

}  // namespace tessara::check
