#include "ui/left_copy_offer.h"

#include <QObject>
#include <exception>
#include <vector>

#include "base/backup_copies.h"
#include "ui/message_display.h"

namespace tessara::ui {

void OfferLeftCopy(QWidget* parent, const std::string& path, size_t limit) {
    const std::vector<std::string> copies = base::LeftBackupCopies(path);
    if (copies.empty()) return;
    const QString question = QObject::tr(
                                 "A save of \"%1\" was interrupted, so it may be cut. \"%2\" holds the whole "
                                 "content it had before that save. Put this copy back in its place?")
                                 .arg(QString::fromStdString(path), QString::fromStdString(copies.front()));
    if (!Messages().AskYesNo(parent, question)) return;
    try {
        base::RestoreBackupCopy(copies.front(), path, limit);
    } catch (const std::exception& e) {
        Messages().ShowError(parent, QString::fromStdString(e.what()));
    }
}

}  // namespace tessara::ui
