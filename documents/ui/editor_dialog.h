#pragma once

#include "ui/reloading_dialog.h"

class QUndoStack;

namespace tessara::documents {

// What the three editors share: each showing loads the document afresh, and leaving without OK (Cancel,
// Escape, the window's close) drops the edits, so it asks first whenever there is an edit to lose.
class EditorDialog : public ui::ReloadingDialog {
    Q_OBJECT

public:
    using ui::ReloadingDialog::ReloadingDialog;

    // Closes without writing; with edits since the showing it asks "Discard your changes?" and, on No, stays.
    void reject() override;

protected:
    // The editor's steps since the showing: when they are all undone there is nothing to lose.
    virtual const QUndoStack& Steps() const = 0;
};

}  // namespace tessara::documents
