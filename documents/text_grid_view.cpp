#include "documents/text_grid_view.h"

#include <QKeyEvent>

TextGridView::TextGridView(QWidget* parent) : QTableView(parent) {
    setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked |
                    QAbstractItemView::EditKeyPressed);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setTabKeyNavigation(true);
}

void TextGridView::keyPressEvent(QKeyEvent* event) {
    const bool editing = state() == QAbstractItemView::EditingState;
    if (!editing && event->key() == Qt::Key_Delete) {
        ClearSelectedCells();
        return;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        // Kept from the dialog, whose default button would otherwise confirm before the cell is committed.
        if (!editing) MoveDown();
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

void TextGridView::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    QTableView::closeEditor(editor, hint);
    // Enter in an editor commits with this hint; Tab and Backtab bring their own moves.
    if (hint == QAbstractItemDelegate::SubmitModelCache) MoveDown();
}

void TextGridView::ClearSelectedCells() {
    QAbstractItemModel* cells = model();
    if (!cells) return;
    for (const QModelIndex& index : selectedIndexes()) {
        if (cells->flags(index) & Qt::ItemIsEditable) cells->setData(index, QString());
    }
}

void TextGridView::MoveDown() {
    const QModelIndex current = currentIndex();
    if (!current.isValid() || current.row() + 1 >= model()->rowCount()) return;
    setCurrentIndex(model()->index(current.row() + 1, current.column()));
}
