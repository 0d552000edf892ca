#include "base/workspace_location.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace tessara::base;

namespace {

TEST(WorkspaceLocation, BuildFolderStaysAndInstalledOrReadOnlyFoldersMoveToTheUserDataFolder) {
    struct Case {
        const char* description;
        WorkspaceLocationInputs inputs;
        const char* expected;
    };
    const Case cases[] = {
        {"build folder", {"/src/build", "/usr/lib/tessara", true, "", "/home/ana"}, "/src/build"},
        {"installed",
         {"/usr/lib/tessara", "/usr/lib/tessara", true, "", "/home/ana"},
         "/home/ana/.local/share/Tessara"},
        {"installed, XDG_DATA_HOME set",
         {"/usr/lib/tessara", "/usr/lib/tessara", true, "/data/ana", "/home/ana"},
         "/data/ana/Tessara"},
        {"read-only folder",
         {"/opt/tessara", "/usr/lib/tessara", false, "", "/home/ana"},
         "/home/ana/.local/share/Tessara"},
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
    const std::pair<std::string, std::string> cases[] = {
        {"work/app", cwd + "/work/app"},
        {"/srv//tessara/", "/srv/tessara"},
        {"/srv/tessara//", "/srv/tessara"},
        {"/srv/x/../tessara/.", "/srv/tessara"},
        {"/", "/"},
    };
    for (const auto& [given, expected] : cases) EXPECT_EQ(NormalFolder(given), expected) << given;
}

}  // namespace
