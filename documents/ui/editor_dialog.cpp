#include "documents/ui/editor_dialog.h"

#include <QUndoStack>
#include <exception>
#include <vector>

#include "base/backup_copies.h"
#include "base/file_system.h"
#include "ui/message_display.h"

namespace tessara::documents {

void EditorDialog::reject() {
    if (!Steps().isClean() && !ui::Messages().AskYesNo(this, QStringLiteral("Discard your changes?"))) return;
    ui::ReloadingDialog::reject();
}

void EditorDialog::OfferLeftCopy(const std::string& document) {
    const std::vector<std::string> copies = base::LeftBackupCopies(document);
    if (copies.empty()) return;
    const QString question = tr("A save of \"%1\" was interrupted, so it may be cut. \"%2\" holds the whole content it "
                                "had before that save. Put this copy back in place of the document?")
                                 .arg(QString::fromStdString(document), QString::fromStdString(copies.front()));
    if (!ui::Messages().AskYesNo(this, question)) return;
    try {
        base::RestoreBackupCopy(copies.front(), document, base::kDocumentFileLimit);
    } catch (const std::exception& e) {
        ui::Messages().ShowError(this, QString::fromStdString(e.what()));
    }
}

}  // namespace tessara::documents
