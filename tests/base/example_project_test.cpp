#include "base/example_project.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "base/file_system.h"
#include "support/temp_dir.h"

using namespace tessara::base;

namespace {

const std::string S(1, kPathSeparator);

void WriteExample(const TempDir& root, const std::string& folder) {
    for (const char* name : {"pargen.xml", "DNET_Net.xml", "DefByte.xml"}) {
        root.Write(folder + S + name, ReadFixture(std::string("../../examples/Plant1/") + name));
    }
}

TEST(ExampleProject, IsFoundBesideABuildsExecutablesAndInAnInstalledToolsDataFolder) {
    TempDir root;
    const std::string build = root.MakeDir("build");
    const std::string installed = root.MakeDir("usr/lib/tessara");
    EXPECT_EQ(FindExampleProject(build), "");
    EXPECT_EQ(FindExampleProject(installed), "");

    WriteExample(root, "build/examples/Plant1");
    WriteExample(root, "usr/share/tessara/examples/Plant1");
    EXPECT_EQ(FindExampleProject(build), root.File("build/examples/Plant1"));
    EXPECT_EQ(FindExampleProject(installed), root.File("usr/share/tessara/examples/Plant1"));
}

TEST(ExampleProject, CopiesIntoANewFolderAndNeverOverAProject) {
    TempDir root;
    WriteExample(root, "example");
    const std::string projects = root.MakeDir("PROJECTS");
    root.Write("PROJECTS/Plant1/pargen.xml", "the user's own");

    const std::string copy = CopyExampleProject(root.File("example"), projects);
    EXPECT_EQ(copy, projects + S + "Plant1-2");
    EXPECT_EQ(root.Read("PROJECTS/Plant1/pargen.xml"), "the user's own");
    for (const char* name : {"pargen.xml", "DNET_Net.xml", "DefByte.xml"}) {
        EXPECT_EQ(root.Read(std::string("PROJECTS/Plant1-2/") + name), root.Read(std::string("example/") + name));
    }
    EXPECT_TRUE(DirectoryExists(copy + S + "bin"));
    EXPECT_EQ(CopyExampleProject(root.File("example"), projects), projects + S + "Plant1-3");
}

// A file or a link that leads nowhere under the example's name made the copy fail with "File exists".
TEST(ExampleProject, ANameTakenByAFileOrADanglingLinkIsPassedOver) {
    TempDir root;
    WriteExample(root, "example");
    const std::string projects = root.MakeDir("PROJECTS");
    root.Write("PROJECTS/Plant1", "a file of the user's");
    std::error_code ec;
    std::filesystem::create_symlink(PathFromUtf8(root.File("nowhere")), PathFromUtf8(root.File("PROJECTS/Plant1-2")),
                                    ec);
    if (ec) root.Write("PROJECTS/Plant1-2", "a file where the system makes no links");

    EXPECT_EQ(CopyExampleProject(root.File("example"), projects), projects + S + "Plant1-3");
    EXPECT_EQ(root.Read("PROJECTS/Plant1"), "a file of the user's");
    EXPECT_FALSE(AnythingExists(root.File("nowhere")));
}

TEST(ExampleProject, AProjectsFolderThatCannotTakeTheCopyIsAnErrorThatNamesIt) {
    TempDir root;
    WriteExample(root, "example");
    root.Write("PROJECTS", "a file, not a folder");
    try {
        CopyExampleProject(root.File("example"), root.File("PROJECTS"));
        FAIL() << "the copy was reported as done";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find(root.File("PROJECTS") + S + "Plant1"), std::string::npos) << e.what();
    }
}

}  // namespace
