// The wizard, `tessara-wizard`: started by the command-line front `tessara` when no command word is given
// (or directly), from the same folder, with the same arguments.
#include <QApplication>
#include <filesystem>
#include <optional>
#include <string>

#include "app/main_window.h"
#include "base/file_size_signal.h"
#include "base/file_system.h"
#include "base/workspace_location.h"
#include "cli/start_options.h"
#include "documents/xml_arena.h"
#include "ui/window_style.h"

using namespace tessara::base;
using namespace tessara::documents;
using namespace tessara::ui;
using namespace tessara::cli;
using namespace tessara::app;

namespace {

// The folder that holds MASTER, PROJECTS and the settings file: --app-dir's, or where this executable's
// location says.
std::string WorkspaceDir(const StartOptions& options, const char* argv0) {
    const std::string dir =
        options.appDir.empty() ? WorkspaceDirFor(ExecutableDir(argv0)) : NormalFolder(options.appDir);
    std::error_code ignored;  // a folder that cannot be made shows where it is used
    std::filesystem::create_directories(PathFromUtf8(dir), ignored);
    return dir;
}

}  // namespace

int main(int argc, char* argv[]) {
    UseXmlArena();
    FailWritesPastTheFileSizeLimit();
    StartOptions options;
    if (auto status = ParseStartOptions(argc, argv, options)) return *status;

    QApplication app(argc, argv);
    QApplication::setApplicationName(kApplicationTitle);
    TFTessaraFirmWare mainWindow(WorkspaceDir(options, argv[0]), ExecutableDir(argv[0]));
    mainWindow.show();
    return app.exec();
}
