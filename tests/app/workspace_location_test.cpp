#include <gtest/gtest.h>

#include "app/workspace_location.h"

namespace {

TEST(WorkspaceLocation, BuildFolderStaysAndInstalledOrReadOnlyFoldersMoveToTheUserDataFolder) {
    struct Case {
        const char* description;
        WorkspaceLocationInputs inputs;
        const char* expected;
    };
    const Case cases[] = {
        {"build folder", {"/src/build", "/usr/bin", true, "", "/home/ana"}, "/src/build"},
        {"installed", {"/usr/bin", "/usr/bin", true, "", "/home/ana"}, "/home/ana/.local/share/Tessara"},
        {"installed, XDG_DATA_HOME set", {"/usr/bin", "/usr/bin", true, "/data/ana", "/home/ana"}, "/data/ana/Tessara"},
        {"read-only folder", {"/opt/tessara", "/usr/bin", false, "", "/home/ana"}, "/home/ana/.local/share/Tessara"},
        {"no install folder known", {"/src/build", "", true, "", "/home/ana"}, "/src/build"},
    };
    for (const Case& c : cases) EXPECT_EQ(ResolveWorkspaceDir(c.inputs), c.expected) << c.description;
}

}  // namespace
