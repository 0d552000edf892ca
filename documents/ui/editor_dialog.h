#pragma once

#include <string>

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
    // Before the editor loads the document it writes: a save of it that was interrupted while rewriting it in place
    // may have cut it and left its whole previous content in a backup copy beside it. The user is asked whether to
    // put the newest such copy back; Yes saves it as the document and removes it, No leaves both as they are.
    void OfferLeftCopy(const std::string& document);

    // The editor's steps since the showing: when they are all undone there is nothing to lose.
    virtual const QUndoStack& Steps() const = 0;
};

}  // namespace tessara::documents
