#include "base/file_system.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <random>
#include <stdexcept>
#include <system_error>

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>
#endif

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
    return !path.empty() && fs::is_regular_file(PathFromUtf8(path), ec);
}

std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(PathFromUtf8(path), std::ios::binary | std::ios::ate);
    if (!in) throw FileReadError("Cannot open \"" + path + "\". " + std::strerror(errno), path);
    const std::streamoff size = in.tellg();
    if (size < 0) throw FileReadError("Cannot read \"" + path + "\". " + std::strerror(errno), path);
    std::string content(static_cast<size_t>(size), '\0');
    in.seekg(0);
    in.read(content.data(), size);
    if (in.gcount() != size) throw FileReadError("Cannot read \"" + path + "\". " + std::strerror(errno), path);
    return content;
}

namespace {

// A name beside the target that no other writer uses; a process killed mid-save may have left one behind.
std::string TemporarySibling(const std::string& path) {
    static std::mt19937_64 rng{std::random_device{}()};
    return path + ".tmp-" + std::to_string(rng() % 1000000000u);
}

[[noreturn]] void FailWrite(const std::string& path, int error) {
    throw FileWriteError(path, std::strerror(error));
}

#ifndef _WIN32
void WriteAll(int fd, std::string_view content, const std::string& path, const std::string& tmp) {
    size_t done = 0;
    while (done < content.size()) {
        ssize_t n = ::write(fd, content.data() + done, content.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            int error = n < 0 ? errno : EIO;
            ::close(fd);
            ::unlink(tmp.c_str());
            FailWrite(path, error);
        }
        done += static_cast<size_t>(n);
    }
}
#endif

}  // namespace

void WriteFileAtomically(const std::string& path, std::string_view content) {
#ifndef _WIN32
    std::string tmp;
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
        tmp = TemporarySibling(path);
        fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) break;
    }
    if (fd < 0) FailWrite(path, errno);
    WriteAll(fd, content, path, tmp);
    // The data must be on disk before the rename makes it the document, or a crash could leave it empty.
    if (::fsync(fd) != 0 || ::close(fd) != 0) {
        int error = errno;
        ::unlink(tmp.c_str());
        FailWrite(path, error);
    }
    if (::rename(tmp.c_str(), path.c_str()) != 0) {
        int error = errno;
        ::unlink(tmp.c_str());
        FailWrite(path, error);
    }
#else
    const std::string tmp = TemporarySibling(path);
    {
        std::ofstream out(PathFromUtf8(tmp), std::ios::binary | std::ios::trunc);
        if (!out) FailWrite(path, errno);
        out.write(content.data(), static_cast<std::streamsize>(content.size()));
        out.flush();
        if (!out) {
            int error = errno;
            out.close();
            std::error_code ignored;
            fs::remove(PathFromUtf8(tmp), ignored);
            FailWrite(path, error);
        }
    }
    std::error_code ec;
    fs::rename(PathFromUtf8(tmp), PathFromUtf8(path), ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(PathFromUtf8(tmp), ignored);
        throw FileWriteError(path, ec.message());
    }
#endif
}
