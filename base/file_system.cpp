#include "base/file_system.h"

#include <functional>
#include <system_error>

#include "base/file_read_checks.h"

namespace tessara::base {

namespace fs = std::filesystem;

fs::path PathFromUtf8(std::string_view utf8) {
    return fs::path(std::u8string(reinterpret_cast<const char8_t*>(utf8.data()), utf8.size()));
}

std::string Utf8FromPath(const fs::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

bool DirectoryExists(const std::string& path) {
    std::error_code ec;
    return !path.empty() && fs::is_directory(PathFromUtf8(path), ec);
}

bool FileExists(const std::string& path) {
    std::error_code ec;
    const fs::file_status status = fs::status(PathFromUtf8(path), ec);
    return !path.empty() && fs::exists(status) && !fs::is_directory(status);
}

bool AnythingExists(const std::string& path) {
    std::error_code ec;
    return !path.empty() && fs::exists(PathFromUtf8(path), ec);
}

[[noreturn]] void FailRead(const std::string& path, const std::string& reason) {
    throw FileReadError("Cannot read \"" + path + "\". " + reason, path);
}

namespace {

[[noreturn]] void Refuse(const std::string& path, const std::string& what) {
    throw FileReadError("Cannot read \"" + path + "\": " + what, path);
}

}  // namespace

void CheckKindAndSize(const std::string& path, bool directory, bool regular, uintmax_t size, size_t limit) {
    if (directory) Refuse(path, "it is a folder");
    if (!regular) Refuse(path, "it is not a regular file");
    if (size > limit) {
        Refuse(path, "it has " + std::to_string(size) + " bytes, more than the " + std::to_string(limit) +
                         " such a file can have");
    }
}

std::string ReadWholeFile(const std::string& path, size_t limit) {
    std::string content;
    ReadWholeFileInto(path, limit, [&content](size_t size) {
        content.resize(size);
        return content.data();
    });
    return content;
}

uint64_t ContentFingerprint(std::string_view content) {
    // Compared within one run only, so the library's hash serves; the size makes a collision of a rewrite rarer.
    return std::hash<std::string_view>{}(content) ^ (static_cast<uint64_t>(content.size()) << 1);
}

std::optional<uint64_t> FileFingerprint(const std::string& path, size_t limit) {
    if (!FileExists(path)) return std::nullopt;
    return ContentFingerprint(ReadWholeFile(path, limit));
}

}  // namespace tessara::base
