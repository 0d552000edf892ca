#include <windows.h>

#include <filesystem>

#include "base/windows_path.h"
#include "cli/start_options.h"

namespace tessara::cli {

// The module's own file name, since a program started through the shell may get a bare name as argv[0].
std::string ExecutableDir(const char* /*argv0*/) {
    std::wstring exe(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(nullptr, exe.data(), static_cast<DWORD>(exe.size()));
        if (length < exe.size()) {
            exe.resize(length);
            break;
        }
        exe.resize(exe.size() * 2);
    }
    return base::Utf8FromWide(std::filesystem::path(exe).parent_path().wstring());
}

}  // namespace tessara::cli
