#include "documents/ui/text_grid_view.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QUndoStack>
#include <algorithm>

#include "documents/ui/edit_actions.h"
#include "documents/ui/grid_clipboard.h"
#include "ui/message_display.h"

namespace tessara::documents {

TextGridView::TextGridView(QWidget* parent) : QTableView(parent) {
    setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked |
                    QAbstractItemView::EditKeyPressed);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setTabKeyNavigation(true);
    setContextMenuPolicy(Qt::ActionsContextMenu);
    connect(AddGridAction(this, tr("Copy"), QKeySequence::Copy), &QAction::triggered, this,
            &TextGridView::CopySelection);
    connect(AddGridAction(this, tr("Paste"), QKeySequence::Paste), &QAction::triggered, this, &TextGridView::Paste);
}

void TextGridView::CopySelection() {
    if (model()) QApplication::clipboard()->setText(CopyCells(*model(), selectedIndexes()));
}

void TextGridView::Paste() {
    if (!model()) return;
    const PasteOutcome outcome = PasteCells(*model(), currentIndex(), QApplication::clipboard()->text(), undo_);
    const QString report = PasteReport(outcome);
    if (!report.isEmpty()) ui::Messages().ShowMessage(this, report);
}

std::pair<int, int> TextGridView::SelectedRowSpan() const {
    const QModelIndexList selected = selectedIndexes();
    if (selected.isEmpty()) {
        const QModelIndex current = currentIndex();
        return current.isValid() ? std::pair(current.row(), 1) : std::pair(-1, 0);
    }
    int first = selected.front().row(), last = first;
    for (const QModelIndex& index : selected) {
        first = std::min(first, index.row());
        last = std::max(last, index.row());
    }
    return {first, last - first + 1};
}

void TextGridView::keyPressEvent(QKeyEvent* event) {
    const bool editing = state() == QAbstractItemView::EditingState;
    if (!editing && event->key() == Qt::Key_Delete && event->modifiers() == Qt::NoModifier) {
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
    if (undo_) undo_->beginMacro(tr("Clear cells"));
    for (const QModelIndex& index : selectedIndexes()) {
        if (cells->flags(index) & Qt::ItemIsEditable) cells->setData(index, QString());
    }
    if (undo_) undo_->endMacro();
}

void TextGridView::MoveDown() {
    const QModelIndex current = currentIndex();
    if (!current.isValid() || current.row() + 1 >= model()->rowCount()) return;
    setCurrentIndex(model()->index(current.row() + 1, current.column()));
}

}  // namespace tessara::documents
