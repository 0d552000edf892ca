#pragma once

#include <string>

namespace tessara::base {

// Where MASTER, PROJECTS and the settings file live. A copy of the tool in a folder of its own keeps them in
// the executable's folder; an installed executable (in the folder it was installed to, or in any folder it
// cannot write) and one run from a build folder, which `rm -rf build` or `git clean` deletes with every
// project in it, keep them in the user's data folder, $XDG_DATA_HOME/Tessara or ~/.local/share/Tessara.
struct WorkspaceLocationInputs {
    std::string exeDir;
    std::string installedAppDir;  // where `cmake --install` puts the executable
    bool exeDirWritable = true;
    bool exeDirInBuildTree = false;
    std::string xdgDataHome;  // empty when unset; a relative one is ignored, as the XDG rules say
    std::string home;
};

std::string ResolveWorkspaceDir(const WorkspaceLocationInputs& inputs);

// The same from the running process: its environment and the executable's folder.
std::string WorkspaceDirFor(const std::string& exeDir);

// The folder given on the command line as an absolute path without "." or ".." parts, doubled separators or
// a trailing separator, so the project paths formed from it compare and cut as the workspace expects.
std::string NormalFolder(const std::string& dir);

// The environment variable naming the user's data folder: XDG_DATA_HOME, or LOCALAPPDATA on Windows.
extern const char* const kUserDataVariable;

// A build folder is recognised by the CMakeCache.txt that CMake keeps at its top, in the executable's folder
// or above it.
bool IsInBuildTree(const std::string& exeDir);

// The folder `cmake --install` puts the executable in, as this build was configured.
std::string InstalledAppDir();

}  // namespace tessara::base
