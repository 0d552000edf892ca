#include "app/folder_chooser.h"

#include <QDir>

#include "base/file_system.h"
#include "ui/file_dialogs.h"
#include "ui/message_display.h"

namespace tessara::app {

namespace {

bool IsInside(const QString& folder, const QString& root) {
    const QString cleanRoot = QDir::cleanPath(root);
    const QString cleanFolder = QDir::cleanPath(folder);
    return cleanFolder == cleanRoot || cleanFolder.startsWith(cleanRoot + '/');
}

}  // namespace

bool BrowseFolder(QWidget* owner, const QString& title, const QString& root, QString& dir) {
    if (!base::DirectoryExists(dir.toStdString())) dir.clear();
    const QString chosen = ui::Dialogs().ExistingDirectory(owner, title, dir.isEmpty() ? root : dir);
    if (chosen.isEmpty()) return false;
    if (!root.isEmpty() && !IsInside(chosen, root)) {
        ui::Messages().ShowMessage(owner,
                                   QStringLiteral("Choose a folder inside %1").arg(QDir::toNativeSeparators(root)));
        return false;
    }
    dir = QDir::toNativeSeparators(QDir::cleanPath(chosen));
    return true;
}

}  // namespace tessara::app
