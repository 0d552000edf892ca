#include <windows.h>

#include <algorithm>

#include "base/file_read_checks.h"
#include "base/file_system.h"
#include "base/temporary_name.h"
#include "base/windows_handle.h"
#include "base/windows_path.h"

namespace tessara::base {

void ReadWholeFileInto(const std::string& path, size_t limit, const std::function<char*(size_t)>& buffer) {
    // Opened without read or write access first, which never waits on a pipe or a device, and looked at; only
    // a regular file is then opened for reading. Links and junctions are followed by the open.
    const std::wstring wide = WindowsPath(path);
    const DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    WindowsHandle look(
        ::CreateFileW(wide.c_str(), 0, share, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!look.valid()) FailRead(path, SystemReason(::GetLastError()));
    BY_HANDLE_FILE_INFORMATION info{};
    const bool disk = ::GetFileType(look.get()) == FILE_TYPE_DISK;
    if (disk && !::GetFileInformationByHandle(look.get(), &info)) FailRead(path, SystemReason(::GetLastError()));
    const bool directory = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    const uintmax_t size = (uintmax_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow;
    CheckKindAndSize(path, directory, disk && !directory, size, limit);

    WindowsHandle file(
        ::CreateFileW(wide.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file.valid()) FailRead(path, SystemReason(::GetLastError()));
    LARGE_INTEGER now{};
    if (::GetFileType(file.get()) != FILE_TYPE_DISK || !::GetFileSizeEx(file.get(), &now)) {
        CheckKindAndSize(path, false, false, 0, limit);
    }
    CheckKindAndSize(path, false, true, static_cast<uintmax_t>(now.QuadPart), limit);
    const size_t total = static_cast<size_t>(now.QuadPart);
    char* data = buffer(total);
    for (size_t done = 0; done < total;) {
        // ReadFile takes at most 4 GiB at once.
        const DWORD want = static_cast<DWORD>(std::min<size_t>(total - done, 1u << 30));
        DWORD got = 0;
        if (!::ReadFile(file.get(), data + done, want, &got, nullptr)) FailRead(path, SystemReason(::GetLastError()));
        if (got == 0) FailRead(path, "The file became shorter while it was read");
        done += got;
    }
}

// A folder's read-only attribute says nothing about writing into it, and its permissions are a list only the
// system evaluates: creating a file there is the one sure answer. The file goes as its handle closes.
bool CanCreateIn(const std::string& dir) {
    if (!DirectoryExists(dir)) return false;
    const std::wstring probe = WindowsPath(dir + kPathSeparator + TemporaryName());
    const WindowsHandle file(::CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                           FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    return file.valid();
}

}  // namespace tessara::base
