#include "base/workspace_location.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "base/file_system.h"

using namespace tessara::base;

namespace {

std::string InNative(std::string path) {
    std::replace(path.begin(), path.end(), '/', kPathSeparator);
    return path;
}

TEST(WorkspaceLocation, BuildFolderStaysAndInstalledOrReadOnlyFoldersMoveToTheUserDataFolder) {
    struct Case {
        const char* description;
        WorkspaceLocationInputs inputs;
        std::string expected;
    };
    // The user's data folder is joined to the given one with the platform's separator.
    const std::string home = "/home/ana";
    const Case cases[] = {
        {"build folder", {"/src/build", "/usr/lib/tessara", true, "", "/home/ana"}, "/src/build"},
        {"installed",
         {"/usr/lib/tessara", "/usr/lib/tessara", true, "", "/home/ana"},
         home + InNative("/.local/share/Tessara")},
        {"installed, XDG_DATA_HOME set",
         {"/usr/lib/tessara", "/usr/lib/tessara", true, "/data/ana", "/home/ana"},
         "/data/ana" + InNative("/Tessara")},
        {"read-only folder",
         {"/opt/tessara", "/usr/lib/tessara", false, "", "/home/ana"},
         home + InNative("/.local/share/Tessara")},
        {"no install folder known", {"/src/build", "", true, "", "/home/ana"}, "/src/build"},
    };
    for (const Case& c : cases) EXPECT_EQ(ResolveWorkspaceDir(c.inputs), c.expected) << c.description;
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
