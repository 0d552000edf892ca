#include <fcntl.h>
#include <io.h>
#include <windows.h>
// After windows.h, which it builds on.
#include <shellapi.h>

#include <cstdio>

#include "base/windows_path.h"
#include "cli/process_entry.h"

namespace tessara::cli {

namespace {

// One argument as CommandLineToArgvW reads it back: quoted, with backslashes before a quote doubled.
std::wstring Quoted(const std::wstring& argument) {
    std::wstring quoted = L"\"";
    size_t backslashes = 0;
    for (const wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(backslashes * 2, L'\\');
    return quoted + L'"';
}

}  // namespace

// The narrow argv is in the ANSI code page, which cannot hold every file name: the wide command line can.
std::vector<std::string> Utf8Arguments(int /*argc*/, char* /*argv*/[]) {
    int count = 0;
    wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    for (int i = 0; i < count; ++i) arguments.push_back(base::Utf8FromWide(wide[i]));
    ::LocalFree(wide);
    return arguments;
}

// Text mode would turn every line end into CR LF.
void UseBinaryOutput() {
    ::_setmode(::_fileno(stdout), _O_BINARY);
    ::_setmode(::_fileno(stderr), _O_BINARY);
}

// Windows has no exec: the wizard runs as a child, and this process waits and passes its exit status on.
int HandOverToWizard(const std::string& wizard, std::vector<std::string> arguments) {
    const std::wstring program = base::WideFromUtf8(wizard);
    std::wstring commandLine = Quoted(program);
    for (size_t i = 1; i < arguments.size(); ++i) commandLine += L' ' + Quoted(base::WideFromUtf8(arguments[i]));
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &process)) {
        std::fprintf(stderr, "tessara: cannot start %s: %s\n", wizard.c_str(),
                     base::SystemReason(::GetLastError()).c_str());
        return 1;
    }
    ::CloseHandle(process.hThread);
    ::WaitForSingleObject(process.hProcess, INFINITE);
    DWORD status = 1;
    ::GetExitCodeProcess(process.hProcess, &status);
    ::CloseHandle(process.hProcess);
    return static_cast<int>(status);
}

}  // namespace tessara::cli
