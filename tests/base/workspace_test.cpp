#include "base/workspace.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "base/file_system.h"
#include "support/temp_dir.h"

using namespace tessara::base;

namespace {

const std::string S(1, kPathSeparator);

class WorkspaceTest : public ::testing::Test {
protected:
    TempDir app;
    Workspace ws;
    std::string Exe() const { return app.path() + S + "tessara"; }
    void Remember(const std::string& iniContent) { app.Write(Workspace::kSettingsFileName, iniContent); }
};

TEST_F(WorkspaceTest, EmptyAppDirGetsMasterAndProjectsAndNoProject) {
    EXPECT_FALSE(ws.InitWorkspace(Exe()));
    EXPECT_EQ(ws.AppDir, app.path());
    EXPECT_EQ(ws.MasterDir, app.path() + S + "MASTER");
    EXPECT_EQ(ws.ProjectsDir, app.path() + S + "PROJECTS");
    EXPECT_TRUE(DirectoryExists(ws.MasterDir));
    EXPECT_TRUE(DirectoryExists(ws.ProjectsDir));
    EXPECT_EQ(ws.ProjectName, "");
    EXPECT_EQ(ws.ProjectDir, ws.ProjectsDir);
    EXPECT_EQ(ws.PargenFile, ws.ProjectsDir + S + "pargen.xml");
}

struct RememberedCase {
    const char* stored;        // value of projectname
    const char* folder;        // folder created below PROJECTS, "" for none
    bool current;              // whether it becomes current
    const char* expectedName;  // ProjectName afterwards, '/' standing for the separator
};

class RememberedProjectTest : public WorkspaceTest, public ::testing::WithParamInterface<RememberedCase> {};

std::string Native(std::string s) {
    return ToNativeSeparators(std::move(s));
}

TEST_P(RememberedProjectTest, FollowsTheStartUpTable) {
    const RememberedCase& c = GetParam();
    Remember(std::string("[lastproj]\nprojectname=") + c.stored + "\n");
    const std::string folder = c.folder;
    if (kPathsHaveDriveLetters && std::any_of(folder.begin(), folder.end(), [](char ch) { return ch < 0x20; })) {
        GTEST_SKIP() << "Windows takes no control character in a folder name";
    }
    if (*c.folder) app.MakeDir(Native(std::string("PROJECTS/") + c.folder));
    EXPECT_EQ(ws.InitWorkspace(Exe()), c.current);
    EXPECT_EQ(ws.ProjectName, Native(c.expectedName));
    EXPECT_EQ(ws.ProjectDir, c.current ? ws.ProjectsDir + ws.ProjectName : ws.ProjectsDir);
    EXPECT_EQ(ws.DNetNetFile, ws.ProjectDir + S + "DNET_Net.xml");
}

INSTANTIATE_TEST_SUITE_P(Cases, RememberedProjectTest,
                         ::testing::Values(RememberedCase{"Plant1", "Plant1", true, "/Plant1"},
                                           RememberedCase{"\\Plant1", "Plant1", true, "/Plant1"},
                                           RememberedCase{"\\Group\\Plant1", "Group/Plant1", true, "/Group/Plant1"},
                                           RememberedCase{"/Group/Plant1", "Group/Plant1", true, "/Group/Plant1"},
                                           RememberedCase{"Gone", "", false,
                                                          "/Gone"},  // kept, so the next close writes it back
                                           RememberedCase{"", "", false, ""},
                                           // Names that lead out of PROJECTS or hold control characters are no
                                           // project, though the folder they name exists.
                                           RememberedCase{"../escaped", "../escaped", false, ""},
                                           RememberedCase{"Group/../../escaped", "../escaped", false, ""},
                                           RememberedCase{"Plant\t1", "Plant\t1", false, ""}));

TEST_F(WorkspaceTest, SaveKeepsOtherSectionsKeysAndComments) {
    Remember("; written by hand\n[other]\nkey=value\n\n[lastproj]\n; the last one\nprojectname=Old\nextra=1\n");
    ws.InitWorkspace(Exe());
    ws.ProjectName = S + "Group" + S + "Plant1";
    ws.SaveLastProject();
    const std::string text = app.Read(Workspace::kSettingsFileName);
    EXPECT_NE(text.find("; written by hand"), std::string::npos);
    EXPECT_NE(text.find("[other]\nkey=value"), std::string::npos);
    EXPECT_NE(text.find("; the last one"), std::string::npos);
    EXPECT_NE(text.find("projectname=" + ws.ProjectName + "\n"), std::string::npos) << text;
    EXPECT_NE(text.find("extra=1"), std::string::npos);
    EXPECT_EQ(text.find("projectname=Old"), std::string::npos);
}

TEST_F(WorkspaceTest, SaveWritesNoNameThatWouldNotReadBackAsAProject) {
    ws.InitWorkspace(Exe());
    for (const std::string name : {"/Plant1\n[lastproj]\nprojectname=/Forged", "/../escaped"}) {
        ws.ProjectName = name;
        ws.SaveLastProject();
        EXPECT_EQ(app.Read(Workspace::kSettingsFileName), "[lastproj]\nprojectname=\n") << name;
    }
}

// The update dialog's last port lives in its own section beside the last project; each keeps the other.
TEST_F(WorkspaceTest, ASettingOfAnotherSectionIsReadAndWrittenBesideTheProject) {
    const std::string port = "/dev/serial/by-id/usb-FTDI_A5-if00-port0";
    Remember("[lastproj]\nprojectname=Plant1\n");
    ws.InitWorkspace(Exe());
    EXPECT_EQ(ws.ReadSetting(Workspace::kPortSection, Workspace::kPortKey), "");
    ws.SaveSetting(Workspace::kPortSection, Workspace::kPortKey, port);
    ws.SaveLastProject();
    const std::string text = app.Read(Workspace::kSettingsFileName);
    EXPECT_EQ(text.find("[lastproj]\nprojectname=" + S + "Plant1\n"), 0u) << text;
    EXPECT_NE(text.find("\n[serialport]\nlastport=" + port + "\n"), std::string::npos) << text;
    EXPECT_EQ(ws.ReadSetting(Workspace::kPortSection, Workspace::kPortKey), port);
}

TEST_F(WorkspaceTest, SaveCreatesTheFileAndWritesAnEmptyName) {
    ws.InitWorkspace(Exe());
    ws.SaveLastProject();
    EXPECT_EQ(app.Read(Workspace::kSettingsFileName), "[lastproj]\nprojectname=\n");
}

TEST_F(WorkspaceTest, UnwritableSettingsFileNamesItsPath) {
    ws.InitWorkspace(Exe());
    app.MakeDir(Workspace::kSettingsFileName);  // a directory where the file should be
    try {
        ws.SaveLastProject();
        FAIL() << "no error";
    } catch (const std::runtime_error& e) {
        EXPECT_EQ(std::string(e.what()), "Unable to write to " + ws.SettingsFile());
    }
}

// The next start reads a settings file of up to kSettingsFileLimit bytes: a save may fill it to that, and one that
// would go beyond is refused, leaving the file and the project it names as they were.
TEST_F(WorkspaceTest, SaveThatWouldOutgrowWhatTheNextStartReadsLeavesTheFile) {
    const std::string head = "[lastproj]\nprojectname=" + S + "Old\n;";
    Remember(head + std::string(kSettingsFileLimit - head.size() - 2, 'x') + "\n");  // one byte short
    ws.InitWorkspace(Exe());
    ws.ProjectName = S + "Olde";
    ws.SaveLastProject();
    const std::string full = app.Read(Workspace::kSettingsFileName);
    EXPECT_EQ(full.size(), kSettingsFileLimit);

    ws.ProjectName = S + "Older";
    EXPECT_THROW(ws.SaveLastProject(), std::runtime_error);
    EXPECT_TRUE(app.Read(Workspace::kSettingsFileName) == full);  // a megabyte is no message
    Workspace next;
    next.InitWorkspace(Exe());
    EXPECT_EQ(next.ProjectName, S + "Olde");
}

TEST_F(WorkspaceTest, EmptyProjectDirGivesBareDocumentNames) {
    ws.ProjectDir.clear();
    ws.BuildDocumentPaths();
    EXPECT_EQ(ws.PargenFile, S + "pargen.xml");
    EXPECT_EQ(ws.DefByteFile, S + "DefByte.xml");
}

// Open project and New project change the current project in one place each: the name, the folder and the
// document paths never disagree.
TEST_F(WorkspaceTest, SelectAndCreateKeepNameFolderAndDocumentsTogether) {
    EXPECT_FALSE(ws.OpenWorkspace(app.path()));
    app.MakeDir("PROJECTS/Group/Plant1");
    ws.SelectProject(ws.ProjectsDir + S + "Group" + S + "Plant1");
    EXPECT_EQ(ws.ProjectName, S + "Group" + S + "Plant1");
    EXPECT_EQ(ws.DNetNetFile, ws.ProjectDir + S + "DNET_Net.xml");
    ws.SelectProject(ws.ProjectsDir);
    EXPECT_EQ(ws.ProjectName, "");
    EXPECT_EQ(ws.PargenFile, ws.ProjectsDir + S + "pargen.xml");

    const Workspace::Creation created = ws.CreateProject(ws.ProjectsDir, "Plant2");
    EXPECT_EQ(created.outcome, Workspace::Creation::Created);
    EXPECT_TRUE(DirectoryExists(created.dir + S + "bin"));
    EXPECT_EQ(ws.ProjectName, "Plant2");  // as typed, without the leading separator
    EXPECT_EQ(ws.ProjectDir, created.dir);
    EXPECT_EQ(ws.DefByteFile, created.dir + S + "DefByte.xml");

    // A refused creation leaves the current project as it was.
    EXPECT_EQ(ws.CreateProject(ws.ProjectsDir, "Plant2").outcome, Workspace::Creation::AlreadyExists);
    const Workspace::Creation failed = ws.CreateProject(ws.ProjectsDir, "Missing" + S + "Plant3");
    EXPECT_EQ(failed.outcome, Workspace::Creation::Failed);
    EXPECT_FALSE(failed.reason.empty());
    EXPECT_EQ(ws.ProjectName, "Plant2");
    EXPECT_EQ(ws.ProjectDir, created.dir);
}

}  // namespace
