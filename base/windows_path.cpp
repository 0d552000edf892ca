#include "base/windows_path.h"

namespace tessara::base {

std::wstring WideFromUtf8(const std::string& utf8) {
    if (utf8.empty()) return {};
    const int size = static_cast<int>(utf8.size());
    std::wstring wide(static_cast<size_t>(::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0)), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), static_cast<int>(wide.size()));
    return wide;
}

std::string Utf8FromWide(const std::wstring& wide) {
    if (wide.empty()) return {};
    const int size = static_cast<int>(wide.size());
    std::string utf8(
        static_cast<size_t>(::WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr)), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, utf8.data(), static_cast<int>(utf8.size()), nullptr, nullptr);
    return utf8;
}

std::wstring WindowsPath(const std::string& utf8) {
    const std::wstring given = WideFromUtf8(utf8);
    // A device name such as NUL or a path already in the raw form is passed as it stands.
    if (given.rfind(L"\\\\", 0) == 0 || given.empty()) return given;
    std::wstring full(::GetFullPathNameW(given.c_str(), 0, nullptr, nullptr), L'\0');
    const DWORD length = ::GetFullPathNameW(given.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length == 0 || length >= full.size()) return given;
    full.resize(length);
    if (full.rfind(L"\\\\.\\", 0) == 0) return full;  // NUL, CON and COM1 come back as "\\.\NUL"
    if (full.rfind(L"\\\\", 0) == 0) return L"\\\\?\\UNC\\" + full.substr(2);
    return L"\\\\?\\" + full;
}

namespace {

// The errors a user meets most, in the words the C library gives them on every platform, so a message reads
// the same on Windows and Linux.
const char* CommonReason(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_DRIVE:
            return "No such file or directory";
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
            return "Permission denied";
        case ERROR_WRITE_PROTECT:
            return "Read-only file system";
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return "No space left on device";
        case ERROR_FILENAME_EXCED_RANGE:
            return "File name too long";
        case ERROR_DIRECTORY:
            return "Not a directory";
        default:
            return nullptr;
    }
}

}  // namespace

std::string SystemReason(DWORD error) {
    if (const char* common = CommonReason(error)) return common;
    wchar_t* text = nullptr;
    const DWORD length =
        ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                         nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring reason(text, length);
    ::LocalFree(text);
    while (!reason.empty() && (reason.back() == L'\n' || reason.back() == L'\r' || reason.back() == L'.')) {
        reason.pop_back();
    }
    if (reason.empty()) return "System error " + std::to_string(error);
    return Utf8FromWide(reason);
}

}  // namespace tessara::base
