#include "app/new_project_dialog.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "base/file_system.h"
#include "base/workspace.h"
#include "support/temp_dir.h"
#include "support/ui/message_recorder.h"

using namespace tessara::base;
using namespace tessara::app;

namespace {

const std::string S(1, kPathSeparator);

class NewProjectTest : public ::testing::Test {
protected:
    TempDir projects;
    MessageRecorder messages;
    Workspace ws;
    TFsaveproj dialog{ws};

    void SetUp() override {
        ws.ProjectsDir = projects.path();
        ws.ProjectName = S + "Old";
        ws.ProjectDir = projects.File("Old");
        dialog.DestDir = QString::fromStdString(projects.path());
        dialog.show();
    }
    void Type(const QString& text) { dialog.findChild<QLineEdit*>("Edit1")->setText(text); }
    void Ok() { QTest::mouseClick(dialog.findChild<QPushButton*>("bitbtn1"), Qt::LeftButton); }
    void Cancel() { QTest::mouseClick(dialog.findChild<QPushButton*>("bitbtn2"), Qt::LeftButton); }
};

TEST_F(NewProjectTest, CreatesTheProjectWithItsBinFolderAndMakesItCurrent) {
    EXPECT_EQ(dialog.windowTitle(), "New project");
    EXPECT_EQ(dialog.size(), QSize(319, 91));
    Type("Plant  1");  // blanks inside are kept
    Ok();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(DirectoryExists(projects.File("Plant  1" + S + "bin")));
    EXPECT_EQ(ws.ProjectName, "Plant  1");
    EXPECT_EQ(ws.ProjectDir, projects.File("Plant  1"));
    EXPECT_EQ(ws.DefByteFile, projects.File("Plant  1" + S + "DefByte.xml"));
    EXPECT_TRUE(messages.entries().empty());
}

// Neither button answers Escape, not even once a project was created and the dialog may close.
TEST_F(NewProjectTest, EscapeDoesNothingBeforeOrAfterAProjectWasCreated) {
    Type("Plant1");
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_TRUE(dialog.isVisible());
    Ok();
    ASSERT_FALSE(dialog.isVisible());

    dialog.show();
    Type("Plant2");
    QTest::keyClick(dialog.findChild<QLineEdit*>("Edit1"), Qt::Key_Escape);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(ws.ProjectName, "Plant1");
    EXPECT_TRUE(messages.entries().empty());
}

const std::string kHidden =
    "Name project not valid: it must not begin or end with a blank, nor hold invisible or text-direction characters";
const std::string kOutside =
    "Name project not valid: it must name a folder inside PROJECTS, without \"..\" and without control characters";

struct RefusalCase {
    const char* description;
    bool emptyDestDir;
    const char* name;
    std::vector<std::string> messages;
};

class NewProjectRefusalTest : public NewProjectTest, public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(NewProjectRefusalTest, ShowsItsMessagesInOrderAndStaysOpenWithTheText) {
    const RefusalCase& c = GetParam();
    projects.MakeDir("Existing");
    if (c.emptyDestDir) dialog.DestDir.clear();
    Type(c.name);
    Ok();
    EXPECT_EQ(messages.texts(), c.messages) << c.description;
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.findChild<QLineEdit*>("Edit1")->text(), c.name);
    EXPECT_EQ(ws.ProjectName, S + "Old");
    // Neither the window's close nor Escape gets past a refused name.
    dialog.close();
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_TRUE(dialog.isVisible());
    Cancel();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(ws.ProjectDir, projects.File("Old"));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NewProjectRefusalTest,
    ::testing::Values(
        RefusalCase{"empty name", false, "", {"Name project not valid"}},
        RefusalCase{
            "no destination and no name", true, "", {"directory destination not valid", "Name project not valid"}},
        RefusalCase{"existing project", false, "Existing", {"Name project not valid because directory already exists"}},
        RefusalCase{"outside PROJECTS", false, "../../escaped", {kOutside}},
        RefusalCase{"absolute path", false, "/tmp/escaped", {kOutside}},
        RefusalCase{"line break", false, "Plant1\n[lastproj]", {kOutside}},
        RefusalCase{"tab", false, "Plant\t1", {kOutside}}, RefusalCase{"trailing blank", false, "Plant1 ", {kHidden}},
        RefusalCase{"leading no-break space", false, "\xC2\xA0Plant1", {kHidden}},
        RefusalCase{"C1 control",
                    false,
                    "Plant\xC2\x9B"
                    "1",
                    {kHidden}},
        RefusalCase{"right-to-left override",
                    false,
                    "Plant\xE2\x80\xAE"
                    "1",
                    {kHidden}},
        RefusalCase{"left-to-right mark",
                    false,
                    "Plant\xE2\x80\x8E"
                    "1",
                    {kHidden}},
        RefusalCase{"first isolate",
                    false,
                    "Plant\xE2\x81\xA8"
                    "1",
                    {kHidden}},
        RefusalCase{"Arabic letter mark",
                    false,
                    "Plant\xD8\x9C"
                    "1",
                    {kHidden}},
        RefusalCase{"zero-width space",
                    false,
                    "Plant\xE2\x80\x8B"
                    "1",
                    {kHidden}},
        RefusalCase{"byte order mark",
                    false,
                    "Plant\xEF\xBB\xBF"
                    "1",
                    {kHidden}},
        RefusalCase{"word joiner",
                    false,
                    "Plant\xE2\x81\xA0"
                    "1",
                    {kHidden}},
        RefusalCase{"soft hyphen",
                    false,
                    "Plant\xC2\xAD"
                    "1",
                    {kHidden}},
        RefusalCase{"tag letter",
                    false,
                    "Plant\xF3\xA0\x81\x81"
                    "1",
                    {kHidden}},
        RefusalCase{"line separator",
                    false,
                    "Plant\xE2\x80\xA8"
                    "1",
                    {kHidden}},
        RefusalCase{"Hangul filler",
                    false,
                    "Plant\xE3\x85\xA4"
                    "1",
                    {kHidden}},
        RefusalCase{"variation selector",
                    false,
                    "Plant\xEF\xB8\x8F"
                    "1",
                    {kHidden}}));

// The rule refuses what shows nothing, not what is far from ASCII: letters of other scripts, a combining
// accent and a symbol outside the first plane are names like any other.
TEST_F(NewProjectTest, VisibleLettersOfEveryScriptAreAccepted) {
    for (const char* name :
         {"Anlage S\xC3\xBC"
          "d",
          "\xD9\x85\xD8\xB5\xD9\x86\xD8\xB9 2", "Cafe\xCC\x81", "\xE5\xB7\xA5\xE5\xA0\xB4", "Line \xF0\x9F\x94\xA7"}) {
        if (!dialog.isVisible()) dialog.show();
        Type(QString::fromUtf8(name));
        Ok();
        EXPECT_FALSE(dialog.isVisible()) << name;
        EXPECT_EQ(ws.ProjectName, name);
    }
    EXPECT_TRUE(messages.entries().empty());
}

TEST_F(NewProjectTest, NestedNameNeedsItsParentAndSaysWhyItCannotCreate) {
    Type("Group" + QString(S[0]) + "Plant1");
    Ok();
    ASSERT_EQ(messages.entries().size(), 1u);
    EXPECT_EQ(messages.entries()[0].text.rfind("Cannot create directory " + projects.File("Group" + S + "Plant1"), 0),
              0u);
    EXPECT_TRUE(dialog.isVisible());

    projects.MakeDir("Group");
    Ok();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(ws.ProjectName, "Group" + S + "Plant1");
}

TEST_F(NewProjectTest, EditModeClosesWithoutTests) {
    dialog.hide();
    dialog.EditMode = 1;
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), "Edit XML");
    EXPECT_FALSE(dialog.findChild<QLabel*>("Label1")->isVisible());
    Ok();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_TRUE(messages.entries().empty());
}

}  // namespace
