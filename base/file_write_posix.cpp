#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <system_error>

#include "base/file_descriptor.h"
#include "base/file_system.h"
#include "base/temporary_hold.h"
#include "base/temporary_name.h"

namespace tessara::base {

namespace {

[[noreturn]] void FailWrite(const std::string& path, int error) {
    throw FileWriteError(path, std::strerror(error));
}

enum class Position { FromStart, Stream };

// 0 when the whole content is written, else the system's error. A file is written from its first byte (a
// rewrite in place may have to start again); a device or FIFO has no position and takes the bytes as they come.
int WriteAll(int fd, std::string_view content, Position position = Position::FromStart) {
    size_t done = 0;
    while (done < content.size()) {
        const char* data = content.data() + done;
        const size_t left = content.size() - done;
        const ssize_t n = position == Position::FromStart ? ::pwrite(fd, data, left, static_cast<off_t>(done))
                                                          : ::write(fd, data, left);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return n < 0 ? errno : EIO;
        done += static_cast<size_t>(n);
    }
    return 0;
}

std::string FolderOf(const std::string& path) {
    const size_t cut = path.rfind(kPathSeparator);
    if (cut == std::string::npos) return ".";
    return cut == 0 ? std::string(1, kPathSeparator) : path.substr(0, cut);
}

std::string NameOf(const std::string& path) {
    return path.substr(path.rfind(kPathSeparator) + 1);
}

// The path a dangling link points to, followed link by link, so saving through it creates the file it names.
std::string FollowDanglingLinks(std::string path) {
    for (int hop = 0; hop < 40; ++hop) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
        std::string target(PATH_MAX, '\0');
        const ssize_t n = ::readlink(path.c_str(), target.data(), target.size());
        if (n < 0) return path;
        target.resize(static_cast<size_t>(n));
        path = target.front() == kPathSeparator ? target : FolderOf(path) + kPathSeparator + target;
    }
    FailWrite(path, ELOOP);
}

std::string RealPath(const std::string& path) {
    char* real = ::realpath(path.c_str(), nullptr);
    if (!real) FailWrite(path, errno);
    std::string result(real);
    std::free(real);
    return result;
}

// A socket is not opened but connected to, as a stream.
FileDescriptor ConnectedSocket(const std::string& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path) FailWrite(path, ENAMETOOLONG);
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    FileDescriptor fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (fd.get() < 0) FailWrite(path, errno);
    if (::connect(fd.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) FailWrite(path, errno);
    return fd;
}

// A FIFO nobody reads would hold the save (and the window) forever: it is opened without waiting and refused
// at once. Once opened, the writes wait for a slow reader as usual.
FileDescriptor OpenedStream(const std::string& path, mode_t type) {
    if (S_ISSOCK(type)) return ConnectedSocket(path);
    FileDescriptor fd(::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (fd.get() < 0 && errno == ENXIO && S_ISFIFO(type)) throw FileWriteError(path, "No program is reading it");
    if (fd.get() < 0) FailWrite(path, errno);
    ::fcntl(fd.get(), F_SETFL, ::fcntl(fd.get(), F_GETFL) & ~O_NONBLOCK);
    return fd;
}

// A device, FIFO or socket is the user's chosen output: it is written like a stream and never replaced.
void WriteToStream(const std::string& path, mode_t type, std::string_view content) {
    FileDescriptor fd = OpenedStream(path, type);
    if (const int error = WriteAll(fd.get(), content, Position::Stream)) FailWrite(path, error);
    if (fd.Close() != 0) FailWrite(path, errno);
}

// Gives the new file the old one's mode, owner and group. False when the owner cannot be given back (only root
// may give a file away): the caller then writes in place, so a shared file keeps its owner. A group that
// cannot be kept is left as the system made it.
bool KeepIdentity(int fd, const struct stat& old) {
    bool ownerKept = ::fchown(fd, old.st_uid, old.st_gid) == 0;
    if (!ownerKept) {
        // The group alone may still be given back; one that cannot be stays as the system made it.
        [[maybe_unused]] const int groupResult = ::fchown(fd, static_cast<uid_t>(-1), old.st_gid);
        ownerKept = ::geteuid() == old.st_uid;
    }
    ::fchmod(fd, old.st_mode & 07777);
    errno = 0;
    return ownerKept;
}

// Writes into a new file beside the target and renames it over the target, so the target is at every moment
// either the whole old file or the whole new one. False, with nothing changed, when the folder does not let
// a file be created: the caller then writes in place.
bool ReplaceThroughTemporary(const std::string& path, const std::string& shown, std::string_view content,
                             const struct stat* old) {
    std::string tmp;
    FileDescriptor fd;
    for (int attempt = 0; fd.get() < 0 && attempt < 100; ++attempt) {
        tmp = FolderOf(path) + kPathSeparator + TemporaryName();
        fd = FileDescriptor(::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
        if (fd.get() < 0 && errno != EEXIST) break;
    }
    if (fd.get() < 0) {
        if (old && (errno == EACCES || errno == EPERM)) return false;
        FailWrite(shown, errno);
    }
    // Held until closed, so a later save does not take it for one a killed save left behind.
    ::flock(fd.get(), LOCK_EX);
    if (old && !KeepIdentity(fd.get(), *old)) {
        ::unlink(tmp.c_str());
        return false;
    }
    int error = WriteAll(fd.get(), content);
    // The data must be on disk before the rename makes it the document, or a crash could leave it empty.
    if (!error && (::fsync(fd.get()) != 0 || fd.Close() != 0)) error = errno;
    if (!error && ::rename(tmp.c_str(), path.c_str()) != 0) error = errno;
    if (error) {
        ::unlink(tmp.c_str());
        FailWrite(shown, error);
    }
    return true;
}

void PutContent(int fd, std::string_view content) {
    if (const int error = WriteAll(fd, content)) throw std::system_error(error, std::generic_category());
    if (::ftruncate(fd, static_cast<off_t>(content.size())) != 0 || ::fsync(fd) != 0) {
        throw std::system_error(errno, std::generic_category());
    }
}

std::string ReadAll(int fd, const std::string& shown) {
    std::string content;
    char block[65536];
    for (off_t offset = 0;;) {
        const ssize_t n = ::pread(fd, block, sizeof block, offset);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) FailWrite(shown, errno);
        if (n == 0) return content;
        content.append(block, static_cast<size_t>(n));
        offset += n;
    }
}

// The previous content, saved beside the file as its backup copy before the first byte of the file changes;
// empty when the folder takes no new file (or the copy's longer name). Written under a temporary's name and
// given the copy's name only when whole, so a copy that exists can always be put back: a save killed while
// copying leaves a temporary, which a later save removes.
std::string KeptCopy(const std::string& path, std::string_view previous) {
    const std::string tmp = FolderOf(path) + kPathSeparator + TemporaryName();
    FileDescriptor fd(::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
    if (fd.get() < 0) return {};
    ::flock(fd.get(), LOCK_EX);
    const std::string copy = FolderOf(path) + kPathSeparator + BackupCopyName(NameOf(path));
    // Renamed while still held, so no other save takes it for a killed save's temporary.
    if (WriteAll(fd.get(), previous) == 0 && ::fsync(fd.get()) == 0 && ::rename(tmp.c_str(), copy.c_str()) == 0)
        return copy;
    ::unlink(tmp.c_str());
    return {};
}

// Rewrites the file itself, so every name it has (hard links) and its identity stay. Before the first byte
// changes, the previous content is read into memory and kept in a backup copy beside it (KeptCopy). A failure
// part way writes the previous content back from memory and removes the copy; a process killed part way leaves
// the copy, which the project check reports and the editors offer to put back.
void RewriteInPlace(const std::string& path, const std::string& shown, std::string_view content) {
    FileDescriptor fd(::open(path.c_str(), O_RDWR | O_CLOEXEC | O_NOCTTY));
    if (fd.get() < 0) FailWrite(shown, errno);
    const std::string previous = ReadAll(fd.get(), shown);
    const std::string copy = KeptCopy(path, previous);
    try {
        PutContent(fd.get(), content);
    } catch (const std::system_error& e) {
        try {
            PutContent(fd.get(), previous);
        } catch (const std::system_error&) {
            throw FileWriteError(shown, std::strerror(e.code().value()) +
                                            (copy.empty() ? std::string() : ". The previous content is in " + copy));
        }
        if (!copy.empty()) ::unlink(copy.c_str());
        FailWrite(shown, e.code().value());
    }
    if (!copy.empty()) ::unlink(copy.c_str());
}

}  // namespace

void WriteWholeFile(const std::string& path, std::string_view content, WriteTarget target) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        if (errno != ENOENT) FailWrite(path, errno);
        const std::string target = FollowDanglingLinks(path);
        RemoveStaleTemporaries(FolderOf(target));
        ReplaceThroughTemporary(target, path, content, nullptr);
        return;
    }
    if (!S_ISREG(st.st_mode)) {
        if (S_ISDIR(st.st_mode)) throw FileWriteError(path, "It is a folder");
        if (target == WriteTarget::RegularFile) throw FileWriteError(path, "It is not a regular file");
        WriteToStream(path, st.st_mode, content);
        return;
    }
    // Decided by the permission the file gives this user, as the system would decide it for a write: root may
    // write a read-only file, another user is refused before anything changes.
    if (::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0) FailWrite(path, errno);
    const std::string real = RealPath(path);
    RemoveStaleTemporaries(FolderOf(real));
    if (st.st_nlink > 1 || !ReplaceThroughTemporary(real, path, content, &st)) RewriteInPlace(real, path, content);
}

bool RemoveUnlessHeld(const std::string& path) {
    // A temporary takes the mode of the file it replaces, which may let its owner write it but not read it.
    constexpr int kFlags = O_CLOEXEC | O_NOCTTY | O_NOFOLLOW | O_NONBLOCK;
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | kFlags));
    if (fd.get() < 0 && errno == EACCES) fd = FileDescriptor(::open(path.c_str(), O_WRONLY | kFlags));
    if (fd.get() < 0 || ::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) return false;
    // The name must still lead to the file now held, a regular file: nothing else is removed.
    struct stat held {};
    struct stat named {};
    if (::fstat(fd.get(), &held) != 0 || ::lstat(path.c_str(), &named) != 0 || !S_ISREG(named.st_mode) ||
        held.st_dev != named.st_dev || held.st_ino != named.st_ino) {
        return false;
    }
    return ::unlink(path.c_str()) == 0;
}

}  // namespace tessara::base
