#include "ui/output_file.h"

#include <QDir>
#include <QFileInfo>

#include "base/project_files.h"
#include "ui/message_display.h"

namespace tessara::ui {

bool RefusedAsProjectFile(QWidget* parent, const std::string& projectDir, const QString& path,
                          const std::string& output) {
    const std::string refusal =
        base::ProjectFileRefusal(projectDir, QDir::toNativeSeparators(path).toStdString(), output);
    if (refusal.empty()) return false;
    Messages().ShowError(parent, QString::fromStdString(refusal));
    return true;
}

// The file chooser asks nothing, since the name may still get its extension after it: the question is asked here,
// of the name that is written.
bool MayReplace(QWidget* parent, const QString& path) {
    const QFileInfo file(path);
    if (!file.exists() && !file.isSymLink()) return true;
    return Messages().AskYesNo(
        parent, QStringLiteral("%1 already exists.\nDo you want to replace it?").arg(QDir::toNativeSeparators(path)));
}

}  // namespace tessara::ui
