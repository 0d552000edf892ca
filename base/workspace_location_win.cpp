#include <windows.h>

#include "base/file_system.h"
#include "base/temporary_name.h"
#include "base/windows_handle.h"
#include "base/windows_path.h"
#include "base/workspace_location.h"

namespace tessara::base {

const char* const kUserDataVariable = "LOCALAPPDATA";

// A folder's read-only attribute says nothing about writing into it, and its permissions are a list only the
// system evaluates: creating a file there is the one sure answer. The file goes as its handle closes.
bool IsWritableDirectory(const std::string& dir) {
    if (!DirectoryExists(dir)) return false;
    const std::wstring probe = WindowsPath(dir + kPathSeparator + TemporaryName());
    const WindowsHandle file(::CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                           FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    return file.valid();
}

}  // namespace tessara::base
