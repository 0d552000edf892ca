#include "documents/ui/editor_dialog.h"

#include <QUndoStack>

#include "ui/message_display.h"

void EditorDialog::reject() {
    if (!Steps().isClean() && !Messages().AskYesNo(this, QStringLiteral("Discard your changes?"))) return;
    ReloadingDialog::reject();
}
