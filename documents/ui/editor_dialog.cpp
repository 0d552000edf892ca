#include "documents/ui/editor_dialog.h"

#include <QUndoStack>

#include "ui/message_display.h"

namespace tessara::documents {

void EditorDialog::reject() {
    if (!Steps().isClean() && !ui::Messages().AskYesNo(this, QStringLiteral("Discard your changes?"))) return;
    ui::ReloadingDialog::reject();
}

}  // namespace tessara::documents
