#include "base/workspace_location.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "base/file_system.h"
#include "support/temp_dir.h"

using namespace tessara::base;

namespace {

std::string InNative(std::string path) {
    std::replace(path.begin(), path.end(), '/', kPathSeparator);
    return path;
}

// A run from the build folder kept every project in it, so `rm -rf build` or `git clean -xdf` deleted them.
TEST(WorkspaceLocation, OnlyACopyInAFolderOfItsOwnKeepsItsWorkspaceBesideTheExecutable) {
    struct Case {
        const char* description;
        WorkspaceLocationInputs inputs;
        std::string expected;
    };
    // The user's data folder is joined to the given one with the platform's separator.
    const std::string home = "/home/ana";
    const Case cases[] = {
        {"copy in a folder of its own",
         {"/opt/tessara", "/usr/lib/tessara", true, false, "", "/home/ana"},
         "/opt/tessara"},
        {"build folder",
         {"/src/build", "/usr/lib/tessara", true, true, "", "/home/ana"},
         home + InNative("/.local/share/Tessara")},
        {"build folder, XDG_DATA_HOME set",
         {"/src/build", "/usr/lib/tessara", true, true, "/data/ana", "/home/ana"},
         "/data/ana" + InNative("/Tessara")},
        {"installed",
         {"/usr/lib/tessara", "/usr/lib/tessara", true, false, "", "/home/ana"},
         home + InNative("/.local/share/Tessara")},
        {"installed, XDG_DATA_HOME set",
         {"/usr/lib/tessara", "/usr/lib/tessara", true, false, "/data/ana", "/home/ana"},
         "/data/ana" + InNative("/Tessara")},
        {"read-only folder",
         {"/opt/tessara", "/usr/lib/tessara", false, false, "", "/home/ana"},
         home + InNative("/.local/share/Tessara")},
        {"installed, XDG_DATA_HOME relative",
         {"/usr/lib/tessara", "/usr/lib/tessara", true, false, "data/ana", "/home/ana"},
         home + InNative("/.local/share/Tessara")},
        {"build folder, XDG_DATA_HOME \".\"",
         {"/src/build", "/usr/lib/tessara", true, true, ".", "/home/ana"},
         home + InNative("/.local/share/Tessara")},
        {"no install folder known", {"/opt/tessara", "", true, false, "", "/home/ana"}, "/opt/tessara"},
    };
    for (const Case& c : cases) EXPECT_EQ(ResolveWorkspaceDir(c.inputs), c.expected) << c.description;
}

TEST(WorkspaceLocation, ABuildFolderIsKnownByTheCMakeCacheBesideOrAboveTheExecutable) {
    TempDir root;
    const std::string build = root.MakeDir("src/build");
    const std::string tests = root.MakeDir("src/build/tests");
    const std::string copy = root.MakeDir("opt/tessara");
    EXPECT_FALSE(IsInBuildTree(build));
    root.Write("src/build/CMakeCache.txt", "CMAKE_BUILD_TYPE:STRING=Release\n");
    EXPECT_TRUE(IsInBuildTree(build));
    EXPECT_TRUE(IsInBuildTree(tests));
    EXPECT_FALSE(IsInBuildTree(copy));
    root.MakeDir("opt/tessara/CMakeCache.txt");  // a folder of that name is no build's
    EXPECT_FALSE(IsInBuildTree(copy));
}

// The tool under test runs from this build folder, so its own location says "user data folder".
TEST(WorkspaceLocation, TheBuiltToolKeepsNoWorkspaceInItsBuildFolder) {
    const std::string exeDir = std::filesystem::path(TESSARA_EXECUTABLE).parent_path().string();
    EXPECT_TRUE(IsInBuildTree(exeDir));
    EXPECT_NE(WorkspaceDirFor(exeDir), exeDir);
}

TEST(WorkspaceLocation, KnowsTheFolderItIsInstalledTo) {
    EXPECT_EQ(InstalledAppDir(), TESSARA_EXPECTED_INSTALL_APPDIR);
}

}  // namespace

namespace {

// The project paths are formed and cut from the folder's text: a relative folder made every Open project
// refuse, a trailing "//" cut one letter off the project's name.
TEST(WorkspaceLocation, AFolderGivenOnTheCommandLineIsMadeAbsoluteAndNormal) {
    const std::string cwd = std::filesystem::current_path().string();
    // An absolute path starts with a drive on Windows; either separator may be given there.
    const std::string root = kPathsHaveDriveLetters ? "C:" : "";
    const std::pair<std::string, std::string> cases[] = {
        {"work/app", cwd + InNative("/work/app")},
        {root + "/srv//tessara/", root + InNative("/srv/tessara")},
        {root + "/srv/tessara//", root + InNative("/srv/tessara")},
        {root + "/srv/x/../tessara/.", root + InNative("/srv/tessara")},
        {root + "/", root + InNative("/")},
    };
    for (const auto& [given, expected] : cases) EXPECT_EQ(NormalFolder(given), expected) << given;
}

}  // namespace
