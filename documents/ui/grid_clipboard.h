#pragma once

#include <QModelIndexList>
#include <QString>

class QAbstractItemModel;
class QUndoStack;

namespace tessara::documents {

// Cells travel in the form spreadsheets use: a rectangle of texts, cells separated by tabs, rows by line
// breaks. The rectangle is the selection's bounding box; a cell inside it that is not selected travels empty.
QString CopyCells(const QAbstractItemModel& model, const QModelIndexList& selected);

struct PasteOutcome {
    int rowsLeftOut = 0;     // rows of the text below the grid's last row
    int columnsLeftOut = 0;  // columns of the text right of the grid's last column
    int cellsRefused = 0;    // cells the grid would not take (a "Select" text it does not know)
};

// Fills cells from `start` rightwards and downwards through setData, as one undo step when `undo` is given.
// What falls beyond the grid's edge is left out and counted.
PasteOutcome PasteCells(QAbstractItemModel& model, const QModelIndex& start, const QString& text, QUndoStack* undo);

// One line for the user about what a paste left out; empty when everything was pasted.
QString PasteReport(const PasteOutcome& outcome);

}  // namespace tessara::documents
