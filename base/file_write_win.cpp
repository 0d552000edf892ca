#include <windows.h>

#include <algorithm>

#include "base/file_system.h"
#include "base/temporary_hold.h"
#include "base/temporary_name.h"
#include "base/windows_handle.h"
#include "base/windows_path.h"

namespace tessara::base {

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

[[noreturn]] void FailWrite(const std::string& path, DWORD error) {
    throw FileWriteError(path, SystemReason(error));
}

// True when the whole content is written; WriteFile takes at most 4 GiB at once.
bool WriteAll(HANDLE file, std::string_view content) {
    for (size_t done = 0; done < content.size();) {
        const DWORD want = static_cast<DWORD>(std::min<size_t>(content.size() - done, 1u << 30));
        DWORD wrote = 0;
        if (!::WriteFile(file, content.data() + done, want, &wrote, nullptr) || wrote == 0) return false;
        done += wrote;
    }
    return true;
}

std::wstring FolderOf(const std::wstring& path) {
    return path.substr(0, path.rfind(L'\\'));
}

std::wstring NameOf(const std::wstring& path) {
    return path.substr(path.rfind(L'\\') + 1);
}

// The path the system reaches through every link and junction on the way, so the link stays and its target
// gets the new content.
std::wstring FinalPath(HANDLE file, const std::wstring& given) {
    // Wine answers ERROR_MORE_DATA to every size for a path beyond MAX_PATH: the given path then stands.
    for (std::wstring final(MAX_PATH, L'\0'); final.size() <= 32768; final.resize(final.size() * 2)) {
        const DWORD length =
            ::GetFinalPathNameByHandleW(file, final.data(), static_cast<DWORD>(final.size()), FILE_NAME_NORMALIZED);
        if (length == 0 && ::GetLastError() != ERROR_MORE_DATA) break;
        if (length != 0 && length < final.size()) {
            final.resize(length);
            return final;
        }
    }
    return given;
}

// Opened to look at what is there without waiting on it: for writing where a pipe or device may be the output
// (a pipe's one waiting instance is taken by this open, so the bytes must go through it), else with no access.
WindowsHandle OpenToLook(const std::wstring& path, DWORD access) {
    return WindowsHandle(
        ::CreateFileW(path.c_str(), access, kShareAll, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
}

// Writes into a new file beside the target and moves it over the target, so the target is at every moment
// either the whole old file or the whole new one. An existing target is replaced with ReplaceFileW, which
// keeps its attributes and permissions. False, with nothing changed, when the folder does not let a file be
// created: the caller then writes in place.
bool ReplaceThroughTemporary(const std::wstring& path, const std::string& shown, std::string_view content,
                             bool exists) {
    std::wstring tmp;
    WindowsHandle file;
    // Opened sharing nothing: while the save runs, no later save can remove it as one a killed save left behind.
    for (int attempt = 0; !file.valid() && attempt < 100; ++attempt) {
        tmp = FolderOf(path) + L'\\' + WideFromUtf8(TemporaryName());
        file = WindowsHandle(
            ::CreateFileW(tmp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.valid() && ::GetLastError() != ERROR_FILE_EXISTS) break;
    }
    if (!file.valid()) {
        const DWORD error = ::GetLastError();
        if (exists && error == ERROR_ACCESS_DENIED) return false;
        FailWrite(shown, error);
    }
    // The data must be on disk before the move makes it the document, or a crash could leave it empty.
    DWORD error = ERROR_SUCCESS;
    if (!WriteAll(file.get(), content) || !::FlushFileBuffers(file.get()) || !file.Close()) error = ::GetLastError();
    if (error == ERROR_SUCCESS) {
        const bool moved =
            exists
                ? ::ReplaceFileW(path.c_str(), tmp.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)
                : ::MoveFileExW(tmp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
        if (!moved) error = ::GetLastError();
    }
    if (error != ERROR_SUCCESS) {
        ::DeleteFileW(tmp.c_str());
        FailWrite(shown, error);
    }
    return true;
}

bool PutContent(HANDLE file, std::string_view content) {
    LARGE_INTEGER start{};
    return ::SetFilePointerEx(file, start, nullptr, FILE_BEGIN) && WriteAll(file, content) && ::SetEndOfFile(file) &&
           ::FlushFileBuffers(file);
}

// The previous content, saved beside the file as its backup copy before the first byte of the file changes;
// empty when the folder takes no new file (or the copy's longer name). Written under a temporary's name and
// given the copy's name only when whole, so a copy that exists can always be put back.
std::wstring KeptCopy(const std::wstring& path, std::string_view previous) {
    const std::wstring tmp = FolderOf(path) + L'\\' + WideFromUtf8(TemporaryName());
    WindowsHandle file(
        ::CreateFileW(tmp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return {};
    const std::wstring copy = FolderOf(path) + L'\\' + WideFromUtf8(BackupCopyName(Utf8FromWide(NameOf(path))));
    const bool whole = WriteAll(file.get(), previous) && ::FlushFileBuffers(file.get()) && file.Close();
    // Named as the copy only when whole; without MOVEFILE_REPLACE_EXISTING a copy already there stays.
    if (whole && ::MoveFileExW(tmp.c_str(), copy.c_str(), MOVEFILE_WRITE_THROUGH)) return copy;
    if (file.valid()) file.Close();
    ::DeleteFileW(tmp.c_str());
    return {};
}

// Rewrites the file itself, so every name it has (hard links) stays. The previous content is read into memory
// and kept in a backup copy beside it first; a failure part way writes it back and removes the copy, a process
// killed part way leaves the copy, which the project check reports and the editors offer to put back.
void RewriteInPlace(const std::wstring& path, const std::string& shown, std::string_view content) {
    WindowsHandle file(
        ::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    LARGE_INTEGER size{};
    if (!file.valid() || !::GetFileSizeEx(file.get(), &size)) FailWrite(shown, ::GetLastError());
    std::string previous(static_cast<size_t>(size.QuadPart), '\0');
    DWORD got = 0;
    if (!previous.empty() &&
        (!::ReadFile(file.get(), previous.data(), static_cast<DWORD>(previous.size()), &got, nullptr) ||
         got != previous.size())) {
        FailWrite(shown, ::GetLastError());
    }
    const std::wstring copy = KeptCopy(path, previous);
    if (!PutContent(file.get(), content)) {
        const DWORD error = ::GetLastError();
        if (!PutContent(file.get(), previous) && !copy.empty()) {
            throw FileWriteError(shown, SystemReason(error) + ". The previous content is in " + Utf8FromWide(copy));
        }
        if (!copy.empty()) ::DeleteFileW(copy.c_str());
        FailWrite(shown, error);
    }
    if (!copy.empty()) ::DeleteFileW(copy.c_str());
}

}  // namespace

void WriteWholeFile(const std::string& path, std::string_view content, WriteTarget target) {
    const std::wstring wide = WindowsPath(path);
    const bool stream = target == WriteTarget::AnyFile;
    WindowsHandle look = OpenToLook(wide, stream ? GENERIC_WRITE : 0);
    // A read-only file or a folder refuses writing; looked at without access, it is refused in words below.
    const bool writable = look.valid();
    if (!look.valid() && stream && ::GetLastError() == ERROR_ACCESS_DENIED) look = OpenToLook(wide, 0);
    if (!look.valid()) {
        const DWORD error = ::GetLastError();
        if (error != ERROR_FILE_NOT_FOUND) FailWrite(path, error);
        RemoveStaleTemporaries(Utf8FromWide(FolderOf(wide)));
        ReplaceThroughTemporary(wide, path, content, false);
        return;
    }
    if (::GetFileType(look.get()) != FILE_TYPE_DISK) {
        // A device or pipe is the user's chosen output: it is written like a stream and never replaced.
        if (!stream) throw FileWriteError(path, "It is not a regular file");
        if (!writable) FailWrite(path, ERROR_ACCESS_DENIED);
        if (!WriteAll(look.get(), content)) FailWrite(path, ::GetLastError());
        return;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(look.get(), &info)) FailWrite(path, ::GetLastError());
    if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) throw FileWriteError(path, "It is a folder");
    // The read-only attribute is the user's word that the file stays as it is, even where a rename could pass it.
    if (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) FailWrite(path, ERROR_ACCESS_DENIED);
    const std::wstring real = FinalPath(look.get(), wide);
    look.Close();
    RemoveStaleTemporaries(Utf8FromWide(FolderOf(real)));
    if (info.nNumberOfLinks > 1 || !ReplaceThroughTemporary(real, path, content, true)) {
        RewriteInPlace(real, path, content);
    }
}

bool RemoveUnlessHeld(const std::string& path) {
    // A save's temporary is open sharing nothing, so the system refuses to delete it until that save ends.
    return ::DeleteFileW(WindowsPath(path).c_str()) != 0;
}

}  // namespace tessara::base
