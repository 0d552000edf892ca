#pragma once

#include <unistd.h>

#include <utility>

namespace tessara::base {

// An open file of a POSIX system, closed when it goes out of scope, so every way out of a read or a write lets
// it go.
class FileDescriptor {
public:
    FileDescriptor() = default;
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor(FileDescriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    FileDescriptor& operator=(FileDescriptor&& other) noexcept {
        std::swap(fd_, other.fd_);
        return *this;
    }
    int get() const { return fd_; }
    // Closing is where some file systems report a failed write.
    int Close() { return ::close(std::exchange(fd_, -1)); }

private:
    int fd_ = -1;
};

}  // namespace tessara::base
