#pragma once

#include <windows.h>

#include <utility>

namespace tessara::base {

// An open handle of the system, closed when it goes out of scope, so every way out of a read or a write lets
// it go.
class WindowsHandle {
public:
    WindowsHandle() = default;
    explicit WindowsHandle(HANDLE handle) : handle_(handle) {}
    ~WindowsHandle() {
        if (valid()) ::CloseHandle(handle_);
    }
    WindowsHandle(const WindowsHandle&) = delete;
    WindowsHandle& operator=(WindowsHandle&& other) noexcept {
        std::swap(handle_, other.handle_);
        return *this;
    }
    HANDLE get() const { return handle_; }
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
    // The handle goes to a new keeper, which closes it.
    HANDLE Release() { return std::exchange(handle_, INVALID_HANDLE_VALUE); }
    // Closing is where some file systems report a failed write.
    bool Close() { return ::CloseHandle(std::exchange(handle_, INVALID_HANDLE_VALUE)) != 0; }

private:
    HANDLE handle_ = INVALID_HANDLE_VALUE;
};

}  // namespace tessara::base
