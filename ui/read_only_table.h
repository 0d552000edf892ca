#pragma once

class QAbstractItemModel;
class QString;
class QTableView;
class QWidget;

namespace tessara::ui {

// A read-only table of the check window and the address map: whole rows, fixed row heights, widths measured on the
// first rows only, so a network of thousands of nodes still opens at once.
// One cell's text on its line, cut past what any column shows (a node's list of thousands of bytes), so measuring
// the column stays quick; the tool tip has the rest.
QString CellLine(const QString& text);
// A cell's whole text as a tool tip that wraps at the tip's width, so a long finding or byte list is read whole
// however narrow its column; only a text longer than a screen holds is cut, with "...".
QString CellToolTip(const QString& text);

QTableView* MakeReadOnlyTable(const char* name, const QString& accessibleName, QAbstractItemModel* model,
                              QWidget* parent);

}  // namespace tessara::ui
