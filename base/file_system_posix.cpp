#include "base/file_system.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <functional>
#include <system_error>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "base/file_descriptor.h"

namespace tessara::base {

namespace fs = std::filesystem;

fs::path PathFromUtf8(std::string_view utf8) {
    return fs::path(std::u8string(reinterpret_cast<const char8_t*>(utf8.data()), utf8.size()));
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

namespace {

[[noreturn]] void FailRead(const std::string& path, const std::string& reason) {
    throw FileReadError("Cannot read \"" + path + "\". " + reason, path);
}

[[noreturn]] void Refuse(const std::string& path, const std::string& what) {
    throw FileReadError("Cannot read \"" + path + "\": " + what, path);
}

void CheckKindAndSize(const std::string& path, bool directory, bool regular, uintmax_t size, size_t limit) {
    if (directory) Refuse(path, "it is a folder");
    if (!regular) Refuse(path, "it is not a regular file");
    if (size > limit) {
        Refuse(path, "it has " + std::to_string(size) + " bytes, more than the " + std::to_string(limit) +
                         " such a file can have");
    }
}

#ifndef _WIN32
void CheckStat(const std::string& path, const struct stat& st, size_t limit) {
    CheckKindAndSize(path, S_ISDIR(st.st_mode), S_ISREG(st.st_mode), static_cast<uintmax_t>(st.st_size), limit);
}
#endif

}  // namespace

void ReadWholeFileInto(const std::string& path, size_t limit, const std::function<char*(size_t)>& buffer) {
#ifndef _WIN32
    // Looked at before it is opened, so a FIFO with no writer or a device is refused without waiting on it.
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) FailRead(path, std::strerror(errno));
    CheckStat(path, st, limit);
    // Non-blocking in case something else took the name in between; the second look tells.
    const FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (fd.get() < 0 || ::fstat(fd.get(), &st) != 0) FailRead(path, std::strerror(errno));
    CheckStat(path, st, limit);
    const size_t size = static_cast<size_t>(st.st_size);
    char* data = buffer(size);
    size_t done = 0;
    while (done < size) {
        const ssize_t n = ::read(fd.get(), data + done, size - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) FailRead(path, std::strerror(errno));
        if (n == 0) FailRead(path, "The file became shorter while it was read");
        done += static_cast<size_t>(n);
    }
#else
    std::error_code ec;
    const fs::file_status status = fs::status(PathFromUtf8(path), ec);
    const uintmax_t size = fs::is_regular_file(status) ? fs::file_size(PathFromUtf8(path), ec) : 0;
    if (ec) FailRead(path, ec.message());
    CheckKindAndSize(path, fs::is_directory(status), fs::is_regular_file(status), size, limit);
    std::ifstream in(PathFromUtf8(path), std::ios::binary);
    if (!in) FailRead(path, std::strerror(errno));
    in.read(buffer(static_cast<size_t>(size)), static_cast<std::streamsize>(size));
    if (in.gcount() != static_cast<std::streamsize>(size)) FailRead(path, std::strerror(errno));
#endif
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
