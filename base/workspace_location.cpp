#include "base/workspace_location.h"

#include <cstdlib>
#include <filesystem>

#include "base/file_system.h"

namespace tessara::base {

#ifndef TESSARA_INSTALL_APPDIR
#define TESSARA_INSTALL_APPDIR ""
#endif

std::string ResolveWorkspaceDir(const WorkspaceLocationInputs& in) {
    const bool installed = !in.installedAppDir.empty() && in.exeDir == in.installedAppDir;
    if (!installed && !in.exeDirInBuildTree && in.exeDirWritable) return in.exeDir;
    // A relative data folder would depend on where the tool was started, so it counts as unset.
    const bool dataHomeGiven = PathFromUtf8(in.xdgDataHome).has_root_directory();
    const std::string dataHome =
        dataHomeGiven ? in.xdgDataHome : in.home + kPathSeparator + ".local" + kPathSeparator + "share";
    return dataHome + kPathSeparator + "Tessara";
}

std::string InstalledAppDir() {
    return TESSARA_INSTALL_APPDIR;
}

std::string NormalFolder(const std::string& dir) {
    std::error_code ec;
    std::filesystem::path path = std::filesystem::absolute(PathFromUtf8(dir), ec).lexically_normal();
    if (ec) path = PathFromUtf8(dir).lexically_normal();
    if (path.has_relative_path() && !path.has_filename()) path = path.parent_path();
    return Utf8FromPath(path);
}

bool IsInBuildTree(const std::string& exeDir) {
    for (std::filesystem::path dir = PathFromUtf8(exeDir); !dir.empty(); dir = dir.parent_path()) {
        std::error_code ec;
        if (std::filesystem::is_regular_file(dir / "CMakeCache.txt", ec)) return true;
        if (dir == dir.parent_path()) break;
    }
    return false;
}

std::string WorkspaceDirFor(const std::string& exeDir) {
    auto env = [](const char* name) {
        const char* value = std::getenv(name);
        return std::string(value ? value : "");
    };
    WorkspaceLocationInputs inputs{.exeDir = exeDir,
                                   .installedAppDir = InstalledAppDir(),
                                   .exeDirWritable = CanCreateIn(exeDir),
                                   .exeDirInBuildTree = IsInBuildTree(exeDir),
                                   .xdgDataHome = env(kUserDataVariable),
                                   .home = env("HOME")};
    return ResolveWorkspaceDir(inputs);
}

}  // namespace tessara::base
