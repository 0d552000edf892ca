#include <gtest/gtest.h>

#include <QDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <functional>

#include "app/main_window.h"
#include "base/file_system.h"
#include "documents/ui/comm_settings_dialog.h"
#include "documents/ui/def_byte_dialog.h"
#include "documents/ui/dnet_network_dialog.h"
#include "support/file_size_limit.h"
#include "support/temp_dir.h"
#include "support/ui/message_recorder.h"
#include "support/ui/scripted_file_dialogs.h"
#include "update/ui/boot_ser_dialog.h"

using namespace tessara::base;
using namespace tessara::update;
using namespace tessara::app;

namespace {

const std::string S(1, kPathSeparator);
constexpr const char* kTooLarge = "File too large";

// Every save fails part way: the few bytes below the limit reach the disk, the rest does not.
class WritesFailPartWay : public FileSizeLimit {
public:
    WritesFailPartWay() : FileSizeLimit(8) {}
};

// The worked example project, each document with a comment after its root: it reads as the example, and any
// rewrite would drop the comment, so the bytes on disk tell whether the previous file survived.
class SaveFaultTest : public ::testing::Test {
protected:
    TempDir app;
    MessageRecorder messages;
    ScriptedFileDialogs dialogs;
    std::unique_ptr<TFTessaraFirmWare> window;

    void SetUp() override {
        app.Write(Settings(), "; the engineer's note\n[lastproj]\nprojectname=Plant1\n");
        for (const char* name : {"pargen.xml", "DNET_Net.xml", "DefByte.xml"}) {
            app.Write(Project(name), Previous(name));
        }
        app.Write(Project("bin" + S + "bank.bin"), "previous image");
        app.Write(Project("Gateway.gsd"), "previous GSD");
        window = std::make_unique<TFTessaraFirmWare>(app.path());
    }

    static std::string Settings() { return "Tessara_DNETM2PROFI.ini"; }
    static std::string Project(const std::string& name) { return "PROJECTS" + S + "Plant1" + S + name; }
    static std::string Previous(const std::string& name) {
        return ReadFixture("image_worked_example/" + name) + "\n<!-- previous -->\n";
    }

    // The one message shown names the file and says why it could not be written.
    void ExpectToldOnce(const std::string& relative, const char* reason) {
        ASSERT_EQ(messages.entries().size(), 1u);
        const std::string& text = messages.entries()[0].text;
        EXPECT_NE(text.find(app.File(relative)), std::string::npos) << text;
        EXPECT_NE(text.find(reason), std::string::npos) << text;
    }

    // Nothing but the files put there: no half-written temporary file is left beside a document.
    void ExpectNoTemporaryLeft() {
        for (const auto& entry : std::filesystem::recursive_directory_iterator(app.path())) {
            EXPECT_EQ(entry.path().filename().string().find(".tmp-"), std::string::npos) << entry.path();
        }
    }
};

TEST_F(SaveFaultTest, EditorWhoseSaveFailsPartWayKeepsThePreviousDocumentAndStaysOpen) {
    struct Case {
        std::function<QDialog*()> editor;
        const char* document;
    };
    const Case cases[] = {
        {[&] { return &window->pargen(); }, "pargen.xml"},
        {[&] { return &window->dnet(); }, "DNET_Net.xml"},
        {[&] { return &window->defByte(); }, "DefByte.xml"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.document);
        messages.clear();
        QDialog* editor = c.editor();
        editor->show();
        {
            WritesFailPartWay fault;
            QTest::mouseClick(editor->findChild<QPushButton*>("bitbtn1"), Qt::LeftButton);
        }
        ExpectToldOnce(Project(c.document), kTooLarge);
        EXPECT_TRUE(editor->isVisible());
        EXPECT_EQ(app.Read(Project(c.document)), Previous(c.document));
        editor->hide();
    }
    ExpectNoTemporaryLeft();
}

TEST_F(SaveFaultTest, UpdateDeviceWhoseImageWriteFailsPartWayKeepsThePreviousImageAndNeverShowsTheUpdater) {
    QTimer::singleShot(0, [&] {
        // Made on its first use, so a dialog that never opened may not exist at all.
        if (auto* dialog = window->findChild<TFBootSer*>()) {
            EXPECT_FALSE(dialog->isVisible()) << "the update dialog opened";
            dialog->reject();
        }
    });
    {
        WritesFailPartWay fault;
        QTest::mouseClick(window->findChild<QPushButton*>("CreateBin"), Qt::LeftButton);
    }
    ExpectToldOnce(Project("bin" + S + "bank.bin"), kTooLarge);
    EXPECT_EQ(app.Read(Project("bin" + S + "bank.bin")), "previous image");
    ExpectNoTemporaryLeft();
    QCoreApplication::processEvents();  // runs the guard, which closes an update dialog that opened
}

TEST_F(SaveFaultTest, GsdWriteThatFailsPartWayKeepsThePreviousFile) {
    dialogs.Answer(QString::fromStdString(app.File(Project("Gateway.gsd"))));
    {
        WritesFailPartWay fault;
        QTest::mouseClick(window->findChild<QPushButton*>("btn_Gds"), Qt::LeftButton);
    }
    ExpectToldOnce(Project("Gateway.gsd"), kTooLarge);
    EXPECT_EQ(app.Read(Project("Gateway.gsd")), "previous GSD");
    ExpectNoTemporaryLeft();
}

TEST_F(SaveFaultTest, SettingsWriteThatFailsPartWayKeepsThePreviousFileAndTheWindowCloses) {
    window->show();
    {
        WritesFailPartWay fault;
        EXPECT_TRUE(window->close());
    }
    EXPECT_FALSE(window->isVisible());
    ExpectToldOnce(Settings(), "Unable to write to");
    EXPECT_EQ(app.Read(Settings()), "; the engineer's note\n[lastproj]\nprojectname=Plant1\n");
    ExpectNoTemporaryLeft();
}

}  // namespace
