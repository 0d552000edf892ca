#include "update/ui/boot_ser_dialog.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <filesystem>

#include "base/file_system.h"
#include "base/workspace.h"
#include "image/bank_image.h"
#include "support/temp_dir.h"
#include "support/ui/message_recorder.h"
#include "support/ui/pseudo_terminal.h"
#include "update/ui/custom_comm.h"

using namespace tessara::base;
using namespace tessara::image;
using namespace tessara::update;

namespace {

using Kind = MessageRecorder::Kind;

// A port that always opens and takes DTR, recording what the dialog asks of it.
class FakeComm : public CommPort {
public:
    explicit FakeComm(std::vector<std::string>& log) : log_(log) {}
    QString DeviceName() const override { return name_; }
    void SetDeviceName(const QString& name) override {
        name_ = name;
        log_.push_back("name " + name.toStdString());
    }
    void Open() override {
        open_ = true;
        log_.push_back("open");
    }
    void Close() override {
        open_ = false;
        log_.push_back("close");
    }
    bool IsOpen() const override { return open_; }
    void SetDtr(bool on) override { log_.push_back(on ? "dtr on" : "dtr off"); }

private:
    std::vector<std::string>& log_;
    QString name_;
    bool open_ = false;
};

class FixedPorts : public PortLister {
public:
    explicit FixedPorts(std::vector<ComPort> ports) : ports_(std::move(ports)) {}
    std::vector<ComPort> ListComPorts() const override { return ports_; }

private:
    std::vector<ComPort> ports_;
};

class BootSerTest : public ::testing::Test {
protected:
    MessageRecorder messages;
    TempDir app;
    Workspace ws;
    std::vector<std::string> log;
    const std::string S = std::string(1, kPathSeparator);

    void SetUp() override {
        ws.AppDir = app.path();
        ws.ProgramDir = app.path();
        ws.MasterDir = app.MakeDir("MASTER");
        ws.ProjectDir = app.MakeDir("PROJECTS" + S + "Plant \"1\"");  // blanks and quotes must arrive intact
    }

    std::unique_ptr<TFBootSer> WithFakePort(std::vector<ComPort> ports) {
        auto dialog = std::make_unique<TFBootSer>(ws, std::make_unique<FakeComm>(log),
                                                  std::make_unique<FixedPorts>(std::move(ports)));
        dialog->show();
        return dialog;
    }

    // The updater stand-in records its arguments one per line, then runs tail (its exit, a pause).
    void WriteUpdater(const std::string& tail) {
        const std::string script = "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"" +
                                   app.File("args.txt") + "\"\n" + tail + "\n";
        const std::string path = app.Write("Ser_48210_Update", script);
        std::filesystem::permissions(path, std::filesystem::perms::owner_exec, std::filesystem::perm_options::add);
    }

    template <typename T>
    static T* Find(const QWidget& dialog, const char* name) {
        T* widget = dialog.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    static void Click(const QWidget& dialog, const char* name) {
        QTest::mouseClick(Find<QPushButton>(dialog, name), Qt::LeftButton);
    }
};

TEST_F(BootSerTest, ConnectOnAPortThatRefusesDtrFailsAndNextRefusesToGoOn) {
    PseudoTerminal pty;
    auto comm = std::make_unique<TComm>();
    const TComm* port = comm.get();
    TFBootSer dialog(ws, std::move(comm), std::make_unique<FixedPorts>(std::vector<ComPort>{{"pts", pty.Path()}}));
    dialog.show();

    Click(dialog, "LbButton1");
    EXPECT_EQ(messages.entries(),
              (std::vector<MessageRecorder::Entry>{{Kind::Error, "Error!! Com Port cannot be open."}}));
    EXPECT_FALSE(dialog.PortConnected());
    EXPECT_TRUE(port->IsOpen());  // opened before DTR was refused; closing the dialog closes it

    messages.clear();
    Click(dialog, "LbButton2");
    EXPECT_EQ(messages.entries(), (std::vector<MessageRecorder::Entry>{{Kind::Error, "Select one port."}}));
    EXPECT_FALSE(Find<QFrame>(dialog, "Panel1")->isVisible());

    Click(dialog, "LbButton3");
    EXPECT_FALSE(port->IsOpen());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

TEST_F(BootSerTest, WithNoPortTheListIsEmptyAndConnectFails) {
    TFBootSer dialog(ws, std::make_unique<TComm>(), std::make_unique<FixedPorts>(std::vector<ComPort>{}));
    dialog.show();
    EXPECT_EQ(Find<QComboBox>(dialog, "CB_Com")->count(), 0);
    EXPECT_EQ(Find<QComboBox>(dialog, "CB_Com")->currentText(), "");
    Click(dialog, "LbButton1");
    EXPECT_EQ(messages.texts(), std::vector<std::string>{"Error!! Com Port cannot be open."});
    EXPECT_FALSE(dialog.PortConnected());
}

TEST_F(BootSerTest, ConnectNextAndExecuteRunTheUpdaterOnTheSelectedPort) {
    auto dialog = WithFakePort({{"ttyUSB0", "/dev/ttyUSB0"}, {"ttyUSB1", "/dev/ttyUSB1"}});
    auto* ports = Find<QComboBox>(*dialog, "CB_Com");
    EXPECT_EQ(ports->currentText(), "ttyUSB0");

    Click(*dialog, "LbButton1");
    EXPECT_EQ(log, (std::vector<std::string>{"close", "name /dev/ttyUSB0", "open", "dtr on"}));
    EXPECT_TRUE(dialog->PortConnected());

    ports->setCurrentIndex(1);  // changed after Connect: the updater gets it although Connect never opened it
    Click(*dialog, "LbButton2");
    EXPECT_EQ(log.back(), "close");
    EXPECT_TRUE(Find<QFrame>(*dialog, "Panel1")->isVisible());
    EXPECT_FALSE(Find<QLabel>(*dialog, "Label1")->isVisible());
    EXPECT_FALSE(Find<QPushButton>(*dialog, "LbButton5")->isVisible());

    // The command line shown follows the boxes before anything runs.
    QTest::mouseClick(Find<QCheckBox>(*dialog, "CB_RFirm"), Qt::LeftButton, {}, QPoint(4, 8));
    const std::string sim = ws.MasterDir + S + "sim48210.sim";
    const std::string bin = ws.ProjectDir + S + "bin" + S;
    EXPECT_EQ(Find<QLineEdit>(*dialog, "E_Command")->text().toStdString(),
              "/dev/ttyUSB1 FW NO PW PR \"" + sim + "\" \"" + bin + "\"");

    WriteUpdater("exit 0");
    Click(*dialog, "LbButton4");
    EXPECT_EQ(app.Read("args.txt"), "/dev/ttyUSB1\nFW\nNO\nPW\nPR\n" + sim + "\n" + bin + "\n");
    EXPECT_EQ(messages.entries(),
              (std::vector<MessageRecorder::Entry>{{Kind::Message, "The updater ended with exit code 0."}}));
    EXPECT_FALSE(Find<QProgressBar>(*dialog, "PB_Busy")->isVisible());

    // Shown again: page 1, no port connected, the option boxes as the user left them.
    dialog->reject();
    dialog->show();
    EXPECT_FALSE(Find<QFrame>(*dialog, "Panel1")->isVisible());
    EXPECT_TRUE(Find<QLabel>(*dialog, "Label1")->isVisible());
    EXPECT_FALSE(dialog->PortConnected());
    EXPECT_FALSE(Find<QCheckBox>(*dialog, "CB_RFirm")->isChecked());
    EXPECT_TRUE(Find<QCheckBox>(*dialog, "CB_Firm")->isChecked());
}

// A device path the system does not enumerate is typed in and opened as typed: here a pseudo-terminal, which
// opens but refuses DTR.
TEST_F(BootSerTest, ATypedDevicePathIsOpened) {
    PseudoTerminal pty;
    auto comm = std::make_unique<TComm>();
    const TComm* port = comm.get();
    TFBootSer dialog(ws, std::move(comm), std::make_unique<FixedPorts>(std::vector<ComPort>{{"ttyS0", "/dev/ttyS0"}}));
    dialog.show();
    auto* field = Find<QComboBox>(dialog, "CB_Com");
    field->clearEditText();
    QTest::keyClicks(field->lineEdit(), pty.Path());
    Click(dialog, "LbButton1");
    EXPECT_EQ(port->DeviceName(), pty.Path());
    EXPECT_TRUE(port->IsOpen());
    EXPECT_EQ(messages.texts(), std::vector<std::string>{"Error!! Com Port cannot be open."});
    EXPECT_EQ(ws.ReadSetting(Workspace::kPortSection, Workspace::kPortKey), "");  // only a port that connected
}

// The port of the last successful Connect is kept in the settings file and offered first at the next showing,
// by its stable name when it is listed, as typed when it is not.
TEST_F(BootSerTest, TheLastConnectedPortIsOfferedFirst) {
    const QString stable = "/dev/serial/by-id/usb-FTDI_FT232R_A50285BI-if00-port0";
    auto dialog = WithFakePort({{"ttyS0", "/dev/ttyS0"}, {"usb-FTDI_FT232R_A50285BI-if00-port0 (ttyUSB0)", stable}});
    auto* field = Find<QComboBox>(*dialog, "CB_Com");
    EXPECT_EQ(field->currentText(), "ttyS0");  // nothing remembered yet: the first port
    field->setCurrentIndex(1);
    Click(*dialog, "LbButton1");
    EXPECT_EQ(log, (std::vector<std::string>{"close", "name " + stable.toStdString(), "open", "dtr on"}));
    EXPECT_EQ(ws.ReadSetting(Workspace::kPortSection, Workspace::kPortKey), stable.toStdString());

    dialog->reject();
    dialog->show();
    EXPECT_EQ(field->currentIndex(), 1);

    field->clearEditText();
    QTest::keyClicks(field->lineEdit(), "/dev/ttyUSB9");
    Click(*dialog, "LbButton1");
    dialog->reject();
    dialog->show();
    EXPECT_EQ(field->currentText(), "/dev/ttyUSB9");
    EXPECT_EQ(log.back(), "close");
}

// A window restored by the window system is shown again without the program: page 2 and the connection stay.
TEST_F(BootSerTest, ARestoredWindowKeepsItsPage) {
    auto dialog = WithFakePort({{"ttyUSB0", "/dev/ttyUSB0"}});
    Click(*dialog, "LbButton1");
    Click(*dialog, "LbButton2");
    dialog->setWindowState(Qt::WindowMinimized);
    dialog->setWindowState(Qt::WindowNoState);
    EXPECT_TRUE(Find<QFrame>(*dialog, "Panel1")->isVisible());
    EXPECT_TRUE(dialog->PortConnected());

    dialog->reject();
    dialog->show();  // shown by the program: page 1 again
    EXPECT_FALSE(Find<QFrame>(*dialog, "Panel1")->isVisible());
}

// The whole step as a user meets it: the image of the example project, the dialog, and the stand-in updater
// built beside the tool, which opens the port (a pseudo-terminal here) and decodes the image.
TEST_F(BootSerTest, ExecuteRunsTheStandInUpdaterOnTheExampleImage) {
    std::filesystem::copy(FixturePath("../../examples/Plant1"), ws.ProjectDir,
                          std::filesystem::copy_options::recursive);
    WriteBankFile(ws.ProjectDir, BuildBankImage(ws.ProjectDir));
    ws.ProgramDir = QDir(QCoreApplication::applicationDirPath() + "/..").canonicalPath().toStdString();
    PseudoTerminal pty;
    auto dialog = WithFakePort({{"pts", pty.Path()}});
    Click(*dialog, "LbButton1");
    Click(*dialog, "LbButton2");
    Click(*dialog, "LbButton4");
    EXPECT_EQ(messages.entries(),
              (std::vector<MessageRecorder::Entry>{{Kind::Message, "The updater ended with exit code 0."}}));
}

TEST_F(BootSerTest, AnUpdaterThatFailsOrCannotStartIsToldInWords) {
    auto dialog = WithFakePort({{"ttyUSB0", "/dev/ttyUSB0"}});
    Click(*dialog, "LbButton1");
    Click(*dialog, "LbButton2");

    Click(*dialog, "LbButton4");  // no updater installed
    ASSERT_EQ(messages.entries().size(), 1u);
    EXPECT_EQ(messages.entries()[0].kind, Kind::Error);
    EXPECT_EQ(messages.entries()[0].text.rfind("Error!! The updater cannot be started: ", 0), 0u);

    messages.clear();
    WriteUpdater("exit 3");
    Click(*dialog, "LbButton4");
    EXPECT_EQ(messages.entries(),
              (std::vector<MessageRecorder::Entry>{{Kind::Error, "Error!! The updater ended with exit code 3."}}));
    EXPECT_EQ(Find<QLabel>(*dialog, "L_Status")->text(), "Error!! The updater ended with exit code 3.");
}

// While the updater runs the dialog still repaints: the busy bar shows and the elapsed time counts.
TEST_F(BootSerTest, WhileTheUpdaterRunsTheDialogShowsItIsBusy) {
    auto dialog = WithFakePort({{"ttyUSB0", "/dev/ttyUSB0"}});
    Click(*dialog, "LbButton1");
    Click(*dialog, "LbButton2");
    WriteUpdater("sleep 1");

    bool busyShown = false;
    QString status;
    QTimer::singleShot(400, [&] {
        busyShown = Find<QProgressBar>(*dialog, "PB_Busy")->isVisible();
        status = Find<QLabel>(*dialog, "L_Status")->text();
    });
    Click(*dialog, "LbButton4");
    EXPECT_TRUE(busyShown);
    EXPECT_EQ(status, "Updater running: 0 s");
    EXPECT_FALSE(Find<QProgressBar>(*dialog, "PB_Busy")->isVisible());
    EXPECT_EQ(messages.texts(), std::vector<std::string>{"The updater ended with exit code 0."});
}

}  // namespace
