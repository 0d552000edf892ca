#include <QApplication>
#include <QCoreApplication>

#include <cstdio>
#include <cstring>
#include <optional>
#include <string>

#include "app/file_system.h"
#include "app/main_window.h"
#include "app/window_style.h"

namespace {

constexpr const char* kUsage =
    "Usage: tessara [--app-dir DIR]      start the wizard\n"
    "       tessara --help | --version\n"
    "\n"
    "  --app-dir DIR   use DIR instead of the executable's folder for MASTER, PROJECTS and the settings file\n";

struct StartOptions {
    std::string appDir;
};

// Returns the exit status when the arguments ask for no window (help, version, a usage error).
std::optional<int> ParseStartOptions(int argc, char* argv[], StartOptions& options) {
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (std::strcmp(arg, "--help") == 0) {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (std::strcmp(arg, "--version") == 0) {
            std::puts("tessara " TESSARA_VERSION);
            return 0;
        }
        if (std::strcmp(arg, "--app-dir") == 0 && i + 1 < argc) {
            options.appDir = argv[++i];
            continue;
        }
        std::fprintf(stderr, "tessara: unknown argument '%s'\n%s", arg, kUsage);
        return 2;
    }
    return std::nullopt;
}

std::string ExecutablePath(const StartOptions& options) {
    // The workspace takes the folder of the executable's path; --app-dir stands in for that folder.
    if (!options.appDir.empty()) return options.appDir + kPathSeparator + "tessara";
    return QCoreApplication::applicationFilePath().toStdString();
}

}  // namespace

int main(int argc, char* argv[]) {
    StartOptions options;
    if (auto status = ParseStartOptions(argc, argv, options)) return *status;

    QApplication app(argc, argv);
    QApplication::setApplicationName(kApplicationTitle);
    TFTessaraFirmWare mainWindow(ExecutablePath(options));
    mainWindow.show();
    return app.exec();
}
