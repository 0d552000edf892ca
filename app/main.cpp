#include <QApplication>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>

#include "app/main_window.h"
#include "base/file_system.h"
#include "base/workspace_location.h"
#include "cli/command_line.h"
#include "ui/window_style.h"

namespace {

constexpr const char* kUsage =
    "Usage: tessara [--app-dir DIR]            start the wizard\n"
    "       tessara image PROJECT_DIR          build PROJECT_DIR/bin/bank.bin as \"Update Device\" does\n"
    "       tessara gsd PROJECT_DIR FILE       write the GSD file as \"GSD File\" does\n"
    "       tessara check [--json] PROJECT_DIR list every problem of the project; status 1 on an error\n"
    "       tessara report PROJECT_DIR FILE    write the project check as one HTML page\n"
    "       tessara inspect [--json] FILE      print a configuration image as a table, or as JSON\n"
    "       tessara --help | --version\n"
    "\n"
    "  --app-dir DIR   keep MASTER, PROJECTS and the settings file in DIR\n"
    "\n"
    "Without --app-dir they are kept beside the executable when it runs from its build folder, and in\n"
    "$XDG_DATA_HOME/Tessara (default ~/.local/share/Tessara) when it is installed.\n";

std::string ExecutableDir(const char* argv0) {
    std::error_code ec;
#ifdef _WIN32
    std::filesystem::path exe = std::filesystem::absolute(argv0, ec);
#else
    std::filesystem::path exe = std::filesystem::canonical("/proc/self/exe", ec);
    if (ec) exe = std::filesystem::absolute(argv0, ec);
#endif
    return exe.parent_path().string();
}

struct StartOptions {
    std::string appDir;
};

// Returns the exit status when the arguments ask for no window (help, version, a usage error).
std::optional<int> ParseStartOptions(int argc, char* argv[], StartOptions& options) {
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (std::strcmp(arg, "--help") == 0) {
            std::fputs(kUsage, stdout);
            std::printf("This run uses: %s\n", WorkspaceDirFor(ExecutableDir(argv[0])).c_str());
            return 0;
        }
        if (std::strcmp(arg, "--version") == 0) {
            std::puts("tessara " TESSARA_VERSION);
            return 0;
        }
        if (std::strcmp(arg, "--app-dir") == 0) {
            if (i + 1 == argc) {
                std::fprintf(stderr, "tessara: --app-dir needs a folder\n%s", kUsage);
                return 2;
            }
            options.appDir = argv[++i];
            continue;
        }
        std::fprintf(stderr, "tessara: unknown argument '%s'\n%s", arg, kUsage);
        return 2;
    }
    return std::nullopt;
}

// The workspace takes the folder of the path it is given as the executable's.
std::string WorkspaceExePath(const StartOptions& options, const char* argv0) {
    const std::string dir =
        options.appDir.empty() ? WorkspaceDirFor(ExecutableDir(argv0)) : NormalFolder(options.appDir);
    std::error_code ignored;  // a folder that cannot be made shows where it is used
    std::filesystem::create_directories(PathFromUtf8(dir), ignored);
    return dir + kPathSeparator + "tessara";
}

}  // namespace

int main(int argc, char* argv[]) {
    // A command word runs headless: decided before any application object exists, so no display is needed.
    if (const std::optional<int> status = RunCommand(argc, argv, std::cout, std::cerr)) return *status;
    StartOptions options;
    if (auto status = ParseStartOptions(argc, argv, options)) return *status;

    QApplication app(argc, argv);
    QApplication::setApplicationName(kApplicationTitle);
    TFTessaraFirmWare mainWindow(WorkspaceExePath(options, argv[0]), ExecutableDir(argv[0]));
    mainWindow.show();
    return app.exec();
}
