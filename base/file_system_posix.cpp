#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "base/file_descriptor.h"
#include "base/file_read_checks.h"
#include "base/file_system.h"

namespace tessara::base {

namespace {

void CheckStat(const std::string& path, const struct stat& st, size_t limit) {
    CheckKindAndSize(path, S_ISDIR(st.st_mode), S_ISREG(st.st_mode), static_cast<uintmax_t>(st.st_size), limit);
}

}  // namespace

void ReadWholeFileInto(const std::string& path, size_t limit, const std::function<char*(size_t)>& buffer) {
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
}

// Making an entry takes the right to write the folder and to pass through it.
bool CanCreateIn(const std::string& dir) {
    return DirectoryExists(dir) && ::access(dir.c_str(), W_OK | X_OK) == 0;
}

}  // namespace tessara::base
