#pragma once

#include <QTableView>
#include <vector>

#include "documents/ui/def_byte_grid_model.h"

class QAction;
class QUndoStack;

namespace tessara::documents {

// One byte grid of the byte selection editor over its own model: fixed 21-pixel rows, the "N" column fixed,
// a "Select" cell that toggles on a click anywhere in it, an editable "Mnemonic". A click or drag in the "N"
// column selects whole rows without toggling anything; Space then toggles every selected "Select" cell once.
// Rectangles of cells are copied and pasted as spreadsheets do. "Make tag..." and "Remove tag" are asked of the
// window, which holds the tags.
class DefByteGrid : public QTableView {
    Q_OBJECT

public:
    // The mnemonic and the PROFIBUS address share `textWidth` and what the window leaves, so nothing scrolls.
    DefByteGrid(ByteDirection direction, int textWidth, QWidget* parent = nullptr);

    DefByteGridModel& Bytes() { return *bytes_; }
    void SetUndoStack(QUndoStack* undo);
    // Hands a mnemonic still being typed to the model and closes its editor, so nothing typed is lost when
    // the grid is stored.
    void CommitEdit();

    // Each one undoable step on the bytes shown.
    void SelectAllBytes();
    void SelectNoBytes();
    void InvertBytes();
    void ToggleSelectedBytes();
    void CopySelection();
    void Paste();

    // The rows the user has chosen, in order: those of the chosen cells, else the current one.
    std::vector<int> ChosenRows() const;
    // The tags that hold a byte of the chosen rows, in the order of the tags.
    std::vector<size_t> ChosenTags() const;

signals:
    void MakeTagRequested();
    void RemoveTagRequested();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event = nullptr) const override;

private:
    void BuildActions();
    // "Remove tag" is offered where a chosen row holds a tag.
    void OfferTagRemoval();

    DefByteGridModel* bytes_;
    QUndoStack* undo_ = nullptr;
    QAction* removeTag_ = nullptr;
};

}  // namespace tessara::documents
