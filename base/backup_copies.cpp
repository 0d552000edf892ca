#include "base/backup_copies.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <utility>

#include "base/file_system.h"
#include "base/temporary_name.h"

namespace tessara::base {

namespace {

namespace fs = std::filesystem;

// The folder where a save keeps the file's copies: a link is followed to the file it reaches.
std::pair<std::string, std::string> FolderAndName(const std::string& path) {
    std::error_code ec;
    const fs::path given = PathFromUtf8(path);
    const fs::path reached = fs::is_symlink(given, ec) ? fs::canonical(given, ec) : given;
    if (ec) return {};
    const std::string folder = reached.has_parent_path() ? Utf8FromPath(reached.parent_path()) : std::string(".");
    return {folder, Utf8FromPath(reached.filename())};
}

}  // namespace

std::vector<std::string> LeftBackupCopies(const std::string& path) {
    const auto [folder, name] = FolderAndName(path);
    if (name.empty()) return {};
    std::vector<std::pair<fs::file_time_type, std::string>> found;
    std::error_code ec;
    for (fs::directory_iterator it(PathFromUtf8(folder), ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code entryError;
        if (!IsBackupCopyName(Utf8FromPath(it->path().filename()), name) || it->is_symlink(entryError) ||
            !it->is_regular_file(entryError)) {
            continue;
        }
        found.emplace_back(it->last_write_time(entryError),
                           folder + kPathSeparator + Utf8FromPath(it->path().filename()));
    }
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a > b; });
    std::vector<std::string> copies;
    for (auto& [written, copy] : found) copies.push_back(std::move(copy));
    return copies;
}

void RestoreBackupCopy(const std::string& copy, const std::string& path, size_t limit) {
    WriteWholeFile(path, ReadWholeFile(copy, limit), WriteTarget::RegularFile);
    std::error_code ec;
    fs::remove(PathFromUtf8(copy), ec);
}

}  // namespace tessara::base
