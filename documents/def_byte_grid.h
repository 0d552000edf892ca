#pragma once

#include <QTableView>

#include "documents/def_byte_grid_model.h"

// One byte grid of the byte selection editor over its own model: fixed 21-pixel rows, the "N" column fixed,
// a "Select" cell that toggles on a click anywhere in it or on the space key, an editable "Mnemonic".
class DefByteGrid : public QTableView {
    Q_OBJECT

public:
    DefByteGrid(int mnemonicWidth, QWidget* parent = nullptr);

    DefByteGridModel& Bytes() { return *bytes_; }
    // Hands a mnemonic still being typed to the model and closes its editor, so nothing typed is lost when
    // the grid is stored.
    void CommitEdit();

private:
    DefByteGridModel* bytes_;
};
