#include "documents/ui/loaded_files.h"

#include <QString>
#include <algorithm>

#include "base/file_system.h"
#include "ui/message_display.h"

namespace tessara::documents {

namespace {

// A file that cannot be read now is left to the load or the save to report.
std::optional<uint64_t> FingerprintOrNone(const std::string& path) {
    try {
        return base::FileFingerprint(path, base::kDocumentFileLimit);
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

QString FileName(const std::string& path) {
    return QString::fromStdString(path.substr(path.find_last_of(base::kPathSeparator) + 1));
}

}  // namespace

void LoadedFiles::Remember(const std::vector<std::string>& paths) {
    files_.clear();
    for (const std::string& path : paths) files_.push_back({path, FingerprintOrNone(path)});
}

bool LoadedFiles::Changed(const std::string& path) const {
    const auto file = std::find_if(files_.begin(), files_.end(), [&](const File& f) { return f.path == path; });
    const std::optional<uint64_t> now = FingerprintOrNone(path);
    return now && (file == files_.end() || file->fingerprint != now);
}

bool LoadedFiles::MayReplace(QWidget* parent, const std::vector<std::string>& paths) const {
    for (const std::string& path : paths) {
        if (!Changed(path)) continue;
        const QString question = QStringLiteral("%1 was changed by another program since it was opened. Replace it?");
        if (!ui::Messages().AskYesNo(parent, question.arg(FileName(path)))) return false;
    }
    return true;
}

bool LoadedFiles::MaySaveAfterChangeOf(QWidget* parent, const std::string& path, const QString& consequence) const {
    if (!Changed(path)) return true;
    const QString question = QStringLiteral("%1 was changed by another program since it was opened: %2. Save anyway?");
    return ui::Messages().AskYesNo(parent, question.arg(FileName(path), consequence));
}

}  // namespace tessara::documents
