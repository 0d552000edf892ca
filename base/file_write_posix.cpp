// The save's primitives on POSIX systems.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>

#include "base/file_descriptor.h"
#include "base/file_system.h"
#include "base/save_primitives.h"
#include "base/temporary_hold.h"

namespace tessara::base {

namespace {

[[noreturn]] void FailWrite(const std::string& path, int error) {
    throw FileWriteError(path, std::strerror(error));
}

SaveError LastError() {
    return {static_cast<unsigned long>(errno)};
}

int Fd(const SaveHandle& file) {
    return static_cast<int>(file.raw());
}

std::string FolderOf(const std::string& path) {
    const size_t cut = path.rfind(kPathSeparator);
    if (cut == std::string::npos) return ".";
    return cut == 0 ? std::string(1, kPathSeparator) : path.substr(0, cut);
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

std::string IdentityText(const struct stat& st) {
    return std::to_string(st.st_dev) + ":" + std::to_string(st.st_ino);
}

SaveHandle Opened(int fd, SaveError& error) {
    error = fd < 0 ? LastError() : SaveError{};
    return SaveHandle(fd);
}

}  // namespace

std::string ReasonOf(SaveError error) {
    return std::strerror(static_cast<int>(error.code));
}

bool IsAlreadyThere(SaveError error) {
    return error.code == EEXIST;
}

bool IsRefusal(SaveError error) {
    return error.code == EACCES || error.code == EPERM;
}

SaveHandle::~SaveHandle() {
    if (valid()) ::close(Fd(*this));
}

SaveError SaveHandle::Close() {
    return ::close(static_cast<int>(std::exchange(raw_, kNone))) == 0 ? SaveError{} : LastError();
}

FoundFile LookAt(const std::string& path, WriteTarget) {
    FoundFile found;
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        if (errno != ENOENT) FailWrite(path, errno);
        found.reached = FollowDanglingLinks(path);
        return found;
    }
    found.mode = st.st_mode;
    if (S_ISDIR(st.st_mode)) found.kind = FoundKind::Folder;
    if (!S_ISDIR(st.st_mode) && !S_ISREG(st.st_mode)) found.kind = FoundKind::Stream;
    if (!S_ISREG(st.st_mode)) return found;
    // Decided by the permission the file gives this user, as the system would decide it for a write: root may
    // write a read-only file, another user is refused before anything changes.
    if (::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0) FailWrite(path, errno);
    found.kind = FoundKind::RegularFile;
    found.reached = RealPath(path);
    found.names = st.st_nlink;
    found.owner = st.st_uid;
    found.group = st.st_gid;
    return found;
}

void WriteToStream(const std::string& path, FoundFile& found, std::string_view content) {
    FileDescriptor fd = OpenedStream(path, found.mode);
    for (size_t done = 0; done < content.size();) {
        const ssize_t n = ::write(fd.get(), content.data() + done, content.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) FailWrite(path, n < 0 ? errno : EIO);
        done += static_cast<size_t>(n);
    }
    if (fd.Close() != 0) FailWrite(path, errno);
}

SaveHandle CreateNew(const std::string& path, SaveError& error) {
    SaveHandle file = Opened(::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666), error);
    if (file.valid()) ::flock(Fd(file), LOCK_EX);
    return file;
}

SaveHandle OpenToRewrite(const std::string& path, SaveError& error) {
    return Opened(::open(path.c_str(), O_RDWR | O_CLOEXEC | O_NOCTTY), error);
}

SaveHandle OpenToRead(const std::string& path, SaveError& error) {
    return Opened(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY), error);
}

SaveError SizeOf(const SaveHandle& file, uint64_t& size) {
    struct stat st {};
    if (::fstat(Fd(file), &st) != 0) return LastError();
    size = static_cast<uint64_t>(st.st_size);
    return {};
}

SaveError ReadAt(const SaveHandle& file, uint64_t offset, char* data, size_t size, size_t& got) {
    for (;;) {
        const ssize_t n = ::pread(Fd(file), data, size, static_cast<off_t>(offset));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return LastError();
        got = static_cast<size_t>(n);
        return {};
    }
}

SaveError WriteAt(const SaveHandle& file, uint64_t offset, std::string_view data) {
    for (size_t done = 0; done < data.size();) {
        const ssize_t n = ::pwrite(Fd(file), data.data() + done, data.size() - done, static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return n < 0 ? LastError() : SaveError{EIO};
        done += static_cast<size_t>(n);
    }
    return {};
}

SaveError SetSize(const SaveHandle& file, uint64_t size) {
    return ::ftruncate(Fd(file), static_cast<off_t>(size)) == 0 ? SaveError{} : LastError();
}

SaveError Flush(const SaveHandle& file) {
    return ::fsync(Fd(file)) == 0 ? SaveError{} : LastError();
}

SaveError MoveOver(const std::string& from, const std::string& to, bool) {
    // The mode, owner and group are the file's own (KeepIdentity): the rename keeps them.
    return ::rename(from.c_str(), to.c_str()) == 0 ? SaveError{} : LastError();
}

void RemoveFile(const std::string& path) {
    ::unlink(path.c_str());
}

SaveError FreeSpace(const std::string& dir, uint64_t& bytes) {
    struct statvfs drive {};
    if (::statvfs(dir.c_str(), &drive) != 0) return LastError();
    bytes = static_cast<uint64_t>(drive.f_bavail) * drive.f_frsize;
    return {};
}

// Only root may give a file away: a user's replacement of another user's file would take it from its owner.
// A group that cannot be given back is left as the system made it.
bool KeepIdentity(const SaveHandle& made, const FoundFile& old) {
    bool ownerKept = ::fchown(Fd(made), old.owner, old.group) == 0;
    if (!ownerKept) {
        [[maybe_unused]] const int groupResult = ::fchown(Fd(made), static_cast<uid_t>(-1), old.group);
        ownerKept = ::geteuid() == old.owner;
    }
    ::fchmod(Fd(made), old.mode & 07777);
    return ownerKept;
}

std::string FileIdentity(const SaveHandle& file) {
    struct stat st {};
    return ::fstat(Fd(file), &st) == 0 ? IdentityText(st) : std::string();
}

bool RemoveUnlessHeld(const std::string& path, const std::string& identity) {
    // A temporary takes the mode of the file it replaces, which may let its owner write it but not read it.
    constexpr int kFlags = O_CLOEXEC | O_NOCTTY | O_NOFOLLOW | O_NONBLOCK;
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | kFlags));
    if (fd.get() < 0 && errno == EACCES) fd = FileDescriptor(::open(path.c_str(), O_WRONLY | kFlags));
    if (fd.get() < 0 || ::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) return false;
    // The name must still lead to the file now held, a regular file, the one its proof names: nothing else goes.
    struct stat held {};
    struct stat named {};
    if (::fstat(fd.get(), &held) != 0 || ::lstat(path.c_str(), &named) != 0 || !S_ISREG(named.st_mode) ||
        held.st_dev != named.st_dev || held.st_ino != named.st_ino || IdentityText(held) != identity) {
        return false;
    }
    return ::unlink(path.c_str()) == 0;
}

}  // namespace tessara::base
