#pragma once

#include <QTableView>

class QUndoStack;

namespace tessara::documents {

// A table of text cells edited the way users of spreadsheet-like grids expect: typing replaces the current
// cell, Tab moves right (wrapping to the next row), Enter confirms and moves down, Delete empties every
// selected editable cell, Ctrl+C and Ctrl+V copy and paste rectangles of cells as spreadsheets do.
class TextGridView : public QTableView {
    Q_OBJECT

public:
    explicit TextGridView(QWidget* parent = nullptr);

    // Pastes and clearings become one undo step each on this stack.
    void SetUndoStack(QUndoStack* undo) { undo_ = undo; }
    void CopySelection();
    // Fills cells from the current one; tells the user what did not fit.
    void Paste();
    // The selected rows as one block from the first to the last, or {-1, 0} without a selection.
    std::pair<int, int> SelectedRowSpan() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

private:
    void ClearSelectedCells();
    void MoveDown();

    QUndoStack* undo_ = nullptr;
};

}  // namespace tessara::documents
