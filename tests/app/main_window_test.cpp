#include "app/main_window.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <filesystem>

#include "app/new_project_dialog.h"
#include "base/file_system.h"
#include "check/project_check.h"
#include "support/temp_dir.h"
#include "support/ui/message_recorder.h"
#include "support/ui/scripted_file_dialogs.h"
#include "update/ui/boot_ser_dialog.h"

using namespace tessara::base;
using namespace tessara::check;
using namespace tessara::update;
using namespace tessara::app;

namespace {

const std::string S(1, kPathSeparator);
using Entry = MessageRecorder::Entry;
using Kind = MessageRecorder::Kind;

class MainWindowTest : public ::testing::Test {
protected:
    TempDir app;
    MessageRecorder messages;
    ScriptedFileDialogs dialogs;

    std::unique_ptr<TFTessaraFirmWare> Start() { return std::make_unique<TFTessaraFirmWare>(app.path()); }
    void Click(QWidget& window, const char* name) {
        auto* button = window.findChild<QPushButton*>(name);
        ASSERT_NE(button, nullptr) << name;
        QTest::mouseClick(button, Qt::LeftButton);
    }
    QString Prefixed(const std::string& name) {
        return TFTessaraFirmWare::kCaptionPrefix + QString::fromStdString(name);
    }
};

TEST_F(MainWindowTest, StartsOnAnEmptyAppDirWithTheDesignedCaption) {
    auto window = Start();
    EXPECT_TRUE(DirectoryExists(app.File("MASTER")));
    EXPECT_TRUE(DirectoryExists(app.File("PROJECTS")));
    EXPECT_EQ(window->windowTitle(), "Kestrane - Tessara SW48210 - DeviceNet m / PROFIBUS s");
    EXPECT_EQ(window->size(), QSize(565, 257));
    for (const char* name :
         {"New", "open", "btn_Prm_Gen", "Btn_DNET", "btn_DefByte", "btn_Gds", "btn_Check", "CreateBin", "about"}) {
        auto* button = window->findChild<QPushButton*>(name);
        ASSERT_NE(button, nullptr) << name;
        EXPECT_FALSE(button->icon().isNull()) << name;
    }
}

TEST_F(MainWindowTest, RestoresTheRememberedProjectAndWritesItBackOnClose) {
    app.Write("Tessara_DNETM2PROFI.ini", "[other]\na=1\n[lastproj]\nprojectname=Plant1\n");
    app.MakeDir("PROJECTS" + S + "Plant1");
    auto window = Start();
    EXPECT_EQ(window->windowTitle(),
              "Kestrane - Tessara SW48210 - DeviceNet m / PROFIBUS s :" + QString(S[0]) + "Plant1");
    Click(*window, "LbButton1");
    const std::string saved = app.Read("Tessara_DNETM2PROFI.ini");
    EXPECT_NE(saved.find("[other]\na=1\n"), std::string::npos) << saved;
    EXPECT_NE(saved.find("[lastproj]\nprojectname=" + S + "Plant1\n"), std::string::npos) << saved;
    EXPECT_TRUE(messages.entries().empty());

    // A second close changes nothing: the file does not grow with every run.
    Start()->close();
    EXPECT_EQ(app.Read("Tessara_DNETM2PROFI.ini"), saved);
}

// A save of the settings file killed while it rewrote the file in place may leave it cut, beside a whole copy.
TEST_F(MainWindowTest, ACopyOfTheSettingsFileThatASaveLeftIsOfferedBackAtStart) {
    const std::string settings = app.Write("Tessara_DNETM2PROFI.ini", "[lastproj]\nprojectname=Pla");
    const std::string copy = app.Write(".Tessara_DNETM2PROFI.ini.tessara-4", "[lastproj]\nprojectname=Plant1\n");
    app.MakeDir("PROJECTS" + S + "Plant1");
    const Entry offer{Kind::Question, "A save of \"" + settings + "\" was interrupted, so it may be cut. \"" + copy +
                                          "\" holds the whole content it had before that save. Put this copy back "
                                          "in its place?"};
    EXPECT_EQ(Start()->windowTitle(), TFTessaraFirmWare::kDesignedCaption);  // No, the default: both stay
    EXPECT_EQ(messages.entries(), std::vector<Entry>{offer});
    EXPECT_TRUE(FileExists(copy));

    messages.clear();
    messages.Answer(true);
    EXPECT_EQ(Start()->windowTitle(), Prefixed(S + "Plant1"));
    EXPECT_EQ(messages.entries(), std::vector<Entry>{offer});
    EXPECT_FALSE(FileExists(copy));
}

TEST_F(MainWindowTest, UnwritableSettingsFileIsToldAndTheWindowStillCloses) {
    auto window = Start();
    window->show();
    app.MakeDir("Tessara_DNETM2PROFI.ini");
    EXPECT_TRUE(window->close());
    EXPECT_FALSE(window->isVisible());
    ASSERT_EQ(messages.entries().size(), 1u);
    EXPECT_EQ(messages.entries()[0],
              (Entry{Kind::Message, "Unable to write to " + app.File("Tessara_DNETM2PROFI.ini")}));
}

TEST_F(MainWindowTest, GuardedStepsRefuseOnlyWithoutAProjectDirectory) {
    auto window = Start();
    // With no project the steps act on PROJECTS itself: the GSD step opens its chooser there.
    dialogs.Answer(QString());
    Click(*window, "btn_Gds");
    EXPECT_TRUE(messages.entries().empty());
    EXPECT_EQ(dialogs.startDirs.value(0).toStdString(), window->workspace().ProjectsDir);
    EXPECT_EQ(dialogs.filters.value(0), "Generic Station Description (*.gsd)");

    window->workspace().ProjectDir.clear();
    for (const char* step : {"btn_Prm_Gen", "Btn_DNET", "btn_DefByte", "btn_Gds", "CreateBin"}) Click(*window, step);
    EXPECT_EQ(messages.texts(), std::vector<std::string>(5, "Project not valid"));
    EXPECT_FALSE(FileExists(S + "bin" + S + "bank.bin"));
}

TEST_F(MainWindowTest, NewProjectBecomesCurrentAndCancelKeepsThePreviousOne) {
    auto window = Start();
    EXPECT_TRUE(window->findChildren<QDialog*>().empty()) << "a dialog was made before its first use";
    QTimer::singleShot(0, [&] {
        auto* dialog = window->findChild<TFsaveproj*>();
        dialog->findChild<QLineEdit*>("Edit1")->setText("Plant1");
        Click(*dialog, "bitbtn1");
    });
    window->NewaClick();
    EXPECT_TRUE(DirectoryExists(app.File("PROJECTS" + S + "Plant1" + S + "bin")));
    EXPECT_EQ(window->workspace().ProjectName, "Plant1");
    EXPECT_EQ(window->windowTitle(), Prefixed("Plant1"));

    QTimer::singleShot(0, [&] { Click(*window->findChild<TFsaveproj*>(), "bitbtn2"); });
    window->NewaClick();
    EXPECT_EQ(window->windowTitle(), TFTessaraFirmWare::kCaptionPrefix);
    EXPECT_EQ(window->workspace().ProjectName, "Plant1");
    EXPECT_TRUE(messages.entries().empty());
    EXPECT_EQ(window->findChildren<TFsaveproj*>().size(), 1) << "the dialog is kept for the run";

    window->close();
    EXPECT_EQ(app.Read("Tessara_DNETM2PROFI.ini"), "[lastproj]\nprojectname=Plant1\n");
}

struct OpenCase {
    const char* description;
    const char* chosen;        // relative to PROJECTS, "." for PROJECTS itself, nullptr for a cancel
    bool currentVanishes;      // the current project folder was deleted outside the tool before Open
    const char* expectedDir;   // relative to PROJECTS, "." for PROJECTS itself, "" for empty
    const char* expectedName;  // '/' stands for the separator
};

class OpenProjectTest : public MainWindowTest, public ::testing::WithParamInterface<OpenCase> {};

TEST_P(OpenProjectTest, FollowsTheOutcomesTable) {
    const OpenCase& c = GetParam();
    app.MakeDir("PROJECTS" + S + "Group" + S + "Plant1");
    app.MakeDir("PROJECTS" + S + "Current");
    app.Write("Tessara_DNETM2PROFI.ini", "[lastproj]\nprojectname=Current\n");
    auto window = Start();
    const std::string projects = window->workspace().ProjectsDir;
    auto full = [&](const char* rel) {
        return std::string(rel) == "." ? projects : projects + S + ToNativeSeparators(rel);
    };

    if (c.currentVanishes) std::filesystem::remove(PathFromUtf8(projects + S + "Current"));
    dialogs.Answer(c.chosen ? QString::fromStdString(full(c.chosen)) : QString());
    Click(*window, "open");

    const Workspace& ws = window->workspace();
    EXPECT_EQ(dialogs.titles.value(0), "Select directory of project");
    EXPECT_EQ(ws.ProjectDir, *c.expectedDir ? full(c.expectedDir) : std::string()) << c.description;
    EXPECT_EQ(ws.ProjectName, ToNativeSeparators(c.expectedName)) << c.description;
    EXPECT_EQ(window->windowTitle(), Prefixed(ws.ProjectName));
    EXPECT_EQ(ws.PargenFile, ws.ProjectDir + S + "pargen.xml");
    EXPECT_EQ(window->findChild<QLabel*>("LabelProjectDir")->toolTip().toStdString(), ws.ProjectDir);
}

INSTANTIATE_TEST_SUITE_P(Cases, OpenProjectTest,
                         ::testing::Values(OpenCase{"nested folder", "Group/Plant1", false, "Group/Plant1",
                                                    "/Group/Plant1"},
                                           OpenCase{"PROJECTS itself", ".", false, ".", ""},
                                           OpenCase{"cancel, current exists", nullptr, false, "Current", "/Current"},
                                           OpenCase{"cancel, current vanished", nullptr, true, "", ""}));

QString PanelText(QWidget& window, const char* label) {
    return window.findChild<QLabel*>(label)->text();
}

TEST_F(MainWindowTest, WithoutAProjectTheBodySaysSoAndOffersToCopyTheExample) {
    auto window = Start();
    EXPECT_EQ(PanelText(*window, "LabelProject"), "No project open");
    EXPECT_EQ(PanelText(*window, "LabelProjectName"), "The steps act on PROJECTS itself:");
    EXPECT_EQ(window->findChild<QLabel*>("LabelProjectDir")->toolTip().toStdString(), window->workspace().ProjectsDir);
    EXPECT_FALSE(window->findChild<QPushButton*>("btn_CopyExample")->isVisibleTo(window.get()))
        << "offered without an example to copy";

    for (const char* name : {"pargen.xml", "DNET_Net.xml", "DefByte.xml"}) {
        app.Write(std::string("examples/Plant1/") + name, ReadFixture(std::string("../../examples/Plant1/") + name));
    }
    window = Start();
    ASSERT_TRUE(window->findChild<QPushButton*>("btn_CopyExample")->isVisibleTo(window.get()));
    Click(*window, "btn_CopyExample");

    const Workspace& ws = window->workspace();
    EXPECT_EQ(ws.ProjectDir, ws.ProjectsDir + S + "Plant1");
    EXPECT_EQ(ws.ProjectName, S + "Plant1");
    EXPECT_EQ(app.Read("PROJECTS/Plant1/DNET_Net.xml"), app.Read("examples/Plant1/DNET_Net.xml"));
    EXPECT_TRUE(DirectoryExists(ws.ProjectDir + S + "bin"));
    EXPECT_EQ(window->windowTitle(), Prefixed(S + "Plant1"));
    EXPECT_EQ(PanelText(*window, "LabelProject"), "Current project");
    EXPECT_EQ(PanelText(*window, "LabelProjectName"), "Plant1");
    EXPECT_EQ(window->findChild<QLabel*>("LabelProjectDir")->toolTip().toStdString(), ws.ProjectDir);
    window->findChild<QAction*>("actCopyFolder")->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), ws.ProjectDir);
    EXPECT_FALSE(window->findChild<QPushButton*>("btn_CopyExample")->isVisibleTo(window.get()));
    EXPECT_TRUE(messages.entries().empty());
    window->close();
    EXPECT_EQ(app.Read("Tessara_DNETM2PROFI.ini"), "[lastproj]\nprojectname=" + S + "Plant1\n");
}

// The designed window keeps its size and controls: the project is shown in the free part of the body.
TEST_F(MainWindowTest, TheOpenProjectIsShownClearOfEveryControlAndFitsItsPlace) {
    const std::string nested = "Plant area north" + S + "Line 3 packaging" + S + "Gateway 48210 at the palletiser";
    app.MakeDir("PROJECTS" + S + nested);
    app.Write("Tessara_DNETM2PROFI.ini", "[lastproj]\nprojectname=" + nested + "\n");
    auto window = Start();
    window->show();
    auto* panel = window->findChild<QWidget*>("ProjectPanel");
    EXPECT_TRUE(window->rect().contains(panel->geometry()));
    for (QWidget* control : window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (control == panel || control->isWindow()) continue;
        EXPECT_FALSE(control->geometry().intersects(panel->geometry())) << control->objectName().toStdString();
    }
    for (QWidget* part : panel->findChildren<QWidget*>()) {
        if (!part->isVisible()) continue;
        EXPECT_TRUE(panel->rect().contains(part->geometry())) << part->objectName().toStdString();
    }
    const QLabel* folder = window->findChild<QLabel*>("LabelProjectDir");
    EXPECT_EQ(folder->toolTip().toStdString(), window->workspace().ProjectDir);
    const QStringList lines = folder->text().split('\n');
    EXPECT_GT(lines.size(), 1);
    for (const QString& line : lines) {
        EXPECT_LE(folder->fontMetrics().horizontalAdvance(line), folder->width()) << line.toStdString();
    }
    EXPECT_TRUE(lines.last().endsWith("palletiser")) << lines.last().toStdString();
}

TEST_F(MainWindowTest, OpenRefusesAFolderOutsideProjects) {
    app.MakeDir("elsewhere");
    auto window = Start();
    dialogs.Answer(QString::fromStdString(app.File("elsewhere")));
    Click(*window, "open");
    EXPECT_EQ(window->workspace().ProjectDir, window->workspace().ProjectsDir);
    ASSERT_EQ(messages.entries().size(), 1u);
    EXPECT_EQ(messages.entries()[0].text, "Choose a folder inside " + window->workspace().ProjectsDir);
}

TEST_F(MainWindowTest, CancellingOpenAfterStartDropsAStaleRememberedName) {
    app.Write("Tessara_DNETM2PROFI.ini", "[lastproj]\nprojectname=Gone\n");
    auto window = Start();
    EXPECT_EQ(window->workspace().ProjectName, S + "Gone");
    dialogs.Answer(QString());
    Click(*window, "open");
    EXPECT_EQ(window->workspace().ProjectName, "");
    EXPECT_EQ(window->windowTitle(), TFTessaraFirmWare::kCaptionPrefix);
}

class ProjectStepsTest : public MainWindowTest {
protected:
    std::unique_ptr<TFTessaraFirmWare> window;
    std::string project;

    void SetUp() override {
        app.Write("Tessara_DNETM2PROFI.ini", "[lastproj]\nprojectname=Plant1\n");
        project = app.MakeDir("PROJECTS" + S + "Plant1");
        app.MakeDir("PROJECTS" + S + "Plant1" + S + "bin");
        for (const char* name : {"pargen.xml", "DNET_Net.xml", "DefByte.xml"}) {
            app.Write("PROJECTS" + S + "Plant1" + S + name, ReadFixture(std::string("image_worked_example/") + name));
        }
        window = Start();
    }
    std::string Bank() { return app.Read("PROJECTS" + S + "Plant1" + S + "bin" + S + "bank.bin"); }
};

// A project checked out of version control has no bin folder: the update makes it.
TEST_F(ProjectStepsTest, UpdateDeviceWritesTheImageThenShowsTheUpdateDialog) {
    for (const bool withBin : {true, false}) {
        if (!withBin) std::filesystem::remove_all(project + S + "bin");
        bool dialogShown = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = window->findChild<TFBootSer*>();
            dialogShown = dialog->isVisible();
            dialog->reject();
        });
        Click(*window, "CreateBin");
        EXPECT_TRUE(dialogShown) << withBin;
        EXPECT_EQ(Bank(), ReadFixture("image_worked_example/expected_bank.bin"));
        EXPECT_TRUE(messages.entries().empty());
    }
}

TEST_F(ProjectStepsTest, UpdateDeviceWithABrokenNetworkStopsBeforeWritingOrShowingTheDialog) {
    app.Write("PROJECTS" + S + "Plant1" + S + "bin" + S + "bank.bin", "previous image");
    app.Write("PROJECTS" + S + "Plant1" + S + "DNET_Net.xml", "<DNET_Net><row ID=\"5\" NB_IN=\"x\"/></DNET_Net>");
    QTimer::singleShot(0, [&] {
        // Made on its first use, so a dialog that never opened may not exist at all.
        if (auto* dialog = window->findChild<TFBootSer*>()) {
            EXPECT_FALSE(dialog->isVisible()) << "the update dialog opened";
            dialog->reject();
        }
    });
    messages.Answer(true);  // go on past the project check's error: the build itself must stop
    Click(*window, "CreateBin");
    ASSERT_EQ(messages.entries().size(), 2u);
    EXPECT_EQ(messages.entries()[0].kind, Kind::Question);
    EXPECT_EQ(messages.entries()[1].kind, Kind::Unhandled);
    EXPECT_NE(messages.entries()[1].text.find("DNET_Net.xml"), std::string::npos) << messages.entries()[1].text;
    EXPECT_EQ(Bank(), "previous image");
    QCoreApplication::processEvents();  // runs the guard, which would have closed a dialog that opened
}

// With 129 findings the question was a box of 500 x 1948 pixels: its buttons were below a 1024 x 768 screen.
TEST_F(ProjectStepsTest, UpdateDeviceAsksWithABoxThatKeepsToTheScreenHoweverManyFindings) {
    std::string rows;
    for (int i = 0; i < 123; ++i)
        rows += "<row ID=\"" + std::to_string(100 + i) + "\" NB_IN=\"1\" NB_OUT=\"1\" Mnemonic=\"n\"/>";
    app.Write("PROJECTS" + S + "Plant1" + S + "DNET_Net.xml", "<DNET_Net>" + rows + "</DNET_Net>");
    const ProjectCheck check = CheckProject(project);
    ASSERT_EQ(check.findings.size(), 129u);

    Click(*window, "CreateBin");  // no answer scripted: No
    ASSERT_EQ(messages.entries().size(), 1u);
    const std::string& question = messages.entries()[0].text;
    EXPECT_EQ(question.rfind("The project check found " + FindingsSummary(check) + ":\n", 0), 0u) << question;
    EXPECT_NE(question.find("error - node 1 (ID 100): ID 100: a DeviceNet address"), std::string::npos) << question;
    EXPECT_EQ(question.find("(ID 110)"), std::string::npos) << "lists more than the first findings";
    EXPECT_NE(question.find("and 121 more. Check Project lists them all.\n\nUpdate the device anyway?"),
              std::string::npos)
        << question;
    for (const Finding& f : check.findings) EXPECT_NE(messages.details().find(f.text), std::string::npos) << f.text;
    EXPECT_FALSE(FileExists(project + S + "bin" + S + "bank.bin"));

    auto box = tessara::ui::MakeQuestionBox(window.get(), QString::fromStdString(question),
                                            QString::fromStdString(messages.details()));
    box->show();
    const QSize hint = box->sizeHint().expandedTo(box->size());
    EXPECT_LE(hint.width(), 1024);
    EXPECT_LE(hint.height(), 768);
}

// Typing a document's name replaced it with GSD text, without a question.
TEST_F(ProjectStepsTest, GsdStepRefusesTheNameOfADocumentOrTheImage) {
    const std::string bin = project + S + "bin" + S + "bank.bin";
    app.Write("PROJECTS" + S + "Plant1" + S + "bin" + S + "bank.bin", "previous image");
    for (const std::string& name : {project + S + "DNET_Net.xml", project + S + "pargen.xml",
                                    project + S + "bin" + S + ".." + S + "DefByte.xml", bin}) {
        dialogs.Answer(QString::fromStdString(name));
        Click(*window, "btn_Gds");
    }
    ASSERT_EQ(messages.texts().size(), 4u);
    EXPECT_EQ(messages.texts()[0], "\"DNET_Net.xml\" is a file of the project: the GSD file needs another name");
    for (const char* name : {"DNET_Net.xml", "pargen.xml", "DefByte.xml"}) {
        EXPECT_EQ(app.Read("PROJECTS" + S + "Plant1" + S + name),
                  ReadFixture(std::string("image_worked_example/") + name));
    }
    EXPECT_EQ(app.Read("PROJECTS" + S + "Plant1" + S + "bin" + S + "bank.bin"), "previous image");
}

TEST_F(ProjectStepsTest, GsdStepAppendsTheExtensionAndWritesTheFile) {
    dialogs.Answer(QString::fromStdString(project + S + "Gateway"));
    Click(*window, "btn_Gds");
    const std::string gsd = app.Read("PROJECTS" + S + "Plant1" + S + "Gateway.gsd");
    EXPECT_NE(gsd.find("Max_Input_Len=16\r\nMax_Output_Len=8\r\n"), std::string::npos);
    EXPECT_TRUE(messages.entries().empty());
}

// The step wrote Max_Input_Len=200, and 0 for a count it could not read, without a word, where the command line
// refuses both: it asks, No being the default, and Yes writes what the command's --force writes.
TEST_F(ProjectStepsTest, GsdStepAsksBeforeWritingACountTheDeviceCannotTakeOrCannotBeRead) {
    const std::string in = "The PROFIBUS input byte count ";
    const std::string out = "The PROFIBUS output byte count ";
    const struct {
        const char* nbIn;
        const char* nbOut;  // nullptr: the element is missing
        std::string question;
        const char* written;
    } cases[] = {
        {"200", "8", in + "200 is more than the device takes (0 to 128). Write the GSD file anyway?",
         "Max_Input_Len=200\r\nMax_Output_Len=8\r\n"},
        {"129", "300",
         in + "129 is more than the device takes (0 to 128). " + out +
             "300 is more than the device takes (0 to 128). Write the GSD file anyway?",
         "Max_Input_Len=129\r\nMax_Output_Len=300\r\n"},
        {"abc", "8",
         in + "cannot be read ('abc' is not a valid integer value): the GSD file would give 0 input bytes. "
              "Write the GSD file anyway?",
         "Max_Input_Len=0\r\nMax_Output_Len=8\r\n"},
        {"16", nullptr,
         out + "cannot be read (Element \"PROFI_NB_OUT\" is missing in element \"Par_Gen\"): the GSD file would "
               "give 0 output bytes. Write the GSD file anyway?",
         "Max_Input_Len=16\r\nMax_Output_Len=0\r\n"},
    };
    const std::string gsd = project + S + "Gateway.gsd";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.question);
        std::string pargen = std::string("<Par_Gen><PROFI_NB_IN>") + c.nbIn + "</PROFI_NB_IN>";
        if (c.nbOut) pargen += std::string("<PROFI_NB_OUT>") + c.nbOut + "</PROFI_NB_OUT>";
        app.Write("PROJECTS" + S + "Plant1" + S + "pargen.xml", pargen + "</Par_Gen>");
        for (const bool yes : {false, true}) {
            std::filesystem::remove(gsd);
            messages.clear();
            messages.Answer(yes);
            dialogs.Answer(QString::fromStdString(gsd));
            Click(*window, "btn_Gds");
            ASSERT_EQ(messages.entries().size(), 1u);
            EXPECT_EQ(messages.entries()[0], (MessageRecorder::Entry{Kind::Question, c.question}));
            ASSERT_EQ(FileExists(gsd), yes);
            if (!yes) continue;
            EXPECT_NE(app.Read("PROJECTS" + S + "Plant1" + S + "Gateway.gsd").find(c.written), std::string::npos);
        }
    }
}

}  // namespace
