// The save's primitives on Windows.
#include <aclapi.h>
#include <windows.h>

#include <algorithm>

#include "base/file_system.h"
#include "base/save_primitives.h"
#include "base/temporary_hold.h"
#include "base/windows_handle.h"
#include "base/windows_path.h"

namespace tessara::base {

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

[[noreturn]] void FailWrite(const std::string& path, DWORD error) {
    throw FileWriteError(path, SystemReason(error));
}

SaveError LastError() {
    return {::GetLastError()};
}

HANDLE Handle(const SaveHandle& file) {
    return reinterpret_cast<HANDLE>(file.raw());
}

SaveHandle Opened(HANDLE handle, SaveError& error) {
    error = handle == INVALID_HANDLE_VALUE ? LastError() : SaveError{};
    return SaveHandle(reinterpret_cast<std::intptr_t>(handle));
}

SaveError Succeeded(BOOL ok) {
    return ok ? SaveError{} : LastError();
}

OVERLAPPED At(uint64_t offset) {
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    return at;
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

std::string IdentityText(const BY_HANDLE_FILE_INFORMATION& info) {
    return std::to_string(info.dwVolumeSerialNumber) + ":" +
           std::to_string((uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow);
}

std::string IdentityOf(HANDLE file) {
    BY_HANDLE_FILE_INFORMATION info{};
    return ::GetFileInformationByHandle(file, &info) ? IdentityText(info) : std::string();
}

}  // namespace

std::string ReasonOf(SaveError error) {
    return SystemReason(static_cast<DWORD>(error.code));
}

bool IsAlreadyThere(SaveError error) {
    return error.code == ERROR_FILE_EXISTS || error.code == ERROR_ALREADY_EXISTS;
}

bool IsRefusal(SaveError error) {
    return error.code == ERROR_ACCESS_DENIED;
}

SaveHandle::~SaveHandle() {
    if (valid()) ::CloseHandle(Handle(*this));
}

SaveError SaveHandle::Close() {
    return Succeeded(::CloseHandle(reinterpret_cast<HANDLE>(std::exchange(raw_, kNone))));
}

FoundFile LookAt(const std::string& path, WriteTarget target) {
    FoundFile found;
    const std::wstring wide = WindowsPath(path);
    const bool stream = target == WriteTarget::AnyFile;
    WindowsHandle look = OpenToLook(wide, stream ? GENERIC_WRITE : 0);
    // A read-only file or a folder refuses writing; looked at without access, it is refused in words after.
    const bool writable = look.valid();
    if (!look.valid() && stream && ::GetLastError() == ERROR_ACCESS_DENIED) look = OpenToLook(wide, 0);
    if (!look.valid()) {
        const DWORD error = ::GetLastError();
        if (error != ERROR_FILE_NOT_FOUND) FailWrite(path, error);
        found.reached = Utf8FromWide(wide);
        return found;
    }
    if (::GetFileType(look.get()) != FILE_TYPE_DISK) {
        found.kind = FoundKind::Stream;
        if (stream && !writable) FailWrite(path, ERROR_ACCESS_DENIED);
        found.opened = SaveHandle(reinterpret_cast<std::intptr_t>(look.Release()));
        return found;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(look.get(), &info)) FailWrite(path, ::GetLastError());
    if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        found.kind = FoundKind::Folder;
        return found;
    }
    // The read-only attribute is the user's word that the file stays as it is, even where a rename could pass it.
    if (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) FailWrite(path, ERROR_ACCESS_DENIED);
    found.kind = FoundKind::RegularFile;
    found.reached = Utf8FromWide(FinalPath(look.get(), wide));
    found.names = info.nNumberOfLinks;
    return found;
}

void WriteToStream(const std::string& path, FoundFile& found, std::string_view content) {
    if (!WriteAll(Handle(found.opened), content)) FailWrite(path, ::GetLastError());
}

// Opened sharing nothing: while the save runs, no later save can remove it as one a killed save left behind.
SaveHandle CreateNew(const std::string& path, SaveError& error) {
    return Opened(::CreateFileW(WindowsPath(path).c_str(), GENERIC_READ | GENERIC_WRITE | WRITE_DAC, 0, nullptr,
                                CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr),
                  error);
}

SaveHandle OpenToRewrite(const std::string& path, SaveError& error) {
    return Opened(::CreateFileW(WindowsPath(path).c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, 0, nullptr),
                  error);
}

SaveHandle OpenToRead(const std::string& path, SaveError& error) {
    return Opened(::CreateFileW(WindowsPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_FLAG_SEQUENTIAL_SCAN, nullptr),
                  error);
}

SaveError SizeOf(const SaveHandle& file, uint64_t& size) {
    LARGE_INTEGER now{};
    if (!::GetFileSizeEx(Handle(file), &now)) return LastError();
    size = static_cast<uint64_t>(now.QuadPart);
    return {};
}

SaveError ReadAt(const SaveHandle& file, uint64_t offset, char* data, size_t size, size_t& got) {
    OVERLAPPED at = At(offset);
    DWORD read = 0;
    const DWORD want = static_cast<DWORD>(std::min<size_t>(size, 1u << 30));
    got = 0;
    if (!::ReadFile(Handle(file), data, want, &read, &at)) {
        return ::GetLastError() == ERROR_HANDLE_EOF ? SaveError{} : LastError();
    }
    got = read;
    return {};
}

SaveError WriteAt(const SaveHandle& file, uint64_t offset, std::string_view data) {
    for (size_t done = 0; done < data.size();) {
        OVERLAPPED at = At(offset + done);
        const DWORD want = static_cast<DWORD>(std::min<size_t>(data.size() - done, 1u << 30));
        DWORD wrote = 0;
        if (!::WriteFile(Handle(file), data.data() + done, want, &wrote, &at)) return LastError();
        if (wrote == 0) return {ERROR_WRITE_FAULT};
        done += wrote;
    }
    return {};
}

SaveError SetSize(const SaveHandle& file, uint64_t size) {
    LARGE_INTEGER end{};
    end.QuadPart = static_cast<LONGLONG>(size);
    if (!::SetFilePointerEx(Handle(file), end, nullptr, FILE_BEGIN)) return LastError();
    return Succeeded(::SetEndOfFile(Handle(file)));
}

SaveError Flush(const SaveHandle& file) {
    return Succeeded(::FlushFileBuffers(Handle(file)));
}

// ReplaceFileW keeps the replaced file's attributes and permissions, which a move would take from the
// temporary instead.
SaveError MoveOver(const std::string& from, const std::string& to, bool keepReplaced) {
    const std::wstring source = WindowsPath(from);
    const std::wstring target = WindowsPath(to);
    if (keepReplaced) {
        return Succeeded(
            ::ReplaceFileW(target.c_str(), source.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr));
    }
    return Succeeded(::MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH));
}

void RemoveFile(const std::string& path) {
    ::DeleteFileW(WindowsPath(path).c_str());
}

SaveError FreeSpace(const std::string& dir, uint64_t& bytes) {
    ULARGE_INTEGER available{};
    // The folder is named with a closing separator, as the call asks of a folder's path.
    const std::wstring folder = WindowsPath(dir) + L'\\';
    if (!::GetDiskFreeSpaceExW(folder.c_str(), &available, nullptr, nullptr)) return LastError();
    bytes = available.QuadPart;
    return {};
}

// The owner is always the saving user's here, as a replacement keeps the replaced file's (MoveOver); what is
// given is who may read and write it, the file's access list.
bool KeepIdentity(const SaveHandle& made, const FoundFile& old) {
    PACL acl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    std::wstring path = WindowsPath(old.reached);
    if (::GetNamedSecurityInfoW(path.data(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &acl, nullptr,
                                &descriptor) == ERROR_SUCCESS) {
        ::SetSecurityInfo(Handle(made), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, acl, nullptr);
        ::LocalFree(descriptor);
    }
    return true;
}

std::string FileIdentity(const SaveHandle& file) {
    return IdentityOf(Handle(file));
}

bool RemoveUnlessHeld(const std::string& path, const std::string& identity) {
    // Looked at without access, which a holder sharing nothing does not prevent; the delete is what a save's
    // temporary, open sharing nothing, refuses until that save ends.
    const std::wstring wide = WindowsPath(path);
    WindowsHandle look(
        ::CreateFileW(wide.c_str(), 0, kShareAll, nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!look.valid() || IdentityOf(look.get()) != identity) return false;
    look.Close();
    return ::DeleteFileW(wide.c_str()) != 0;
}

}  // namespace tessara::base
