#pragma once

#include <QTableView>

// A table of text cells edited the way users of spreadsheet-like grids expect: typing replaces the current
// cell, Tab moves right (wrapping to the next row), Enter confirms and moves down, Delete empties every
// selected editable cell.
class TextGridView : public QTableView {
    Q_OBJECT

public:
    explicit TextGridView(QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

private:
    void ClearSelectedCells();
    void MoveDown();
};
