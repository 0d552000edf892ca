#include "documents/ui/comm_settings_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <optional>

#include "base/file_system.h"
#include "base/workspace.h"
#include "support/temp_dir.h"
#include "support/ui/message_recorder.h"

using namespace tessara::base;
using namespace tessara::documents;

namespace {

using Kind = MessageRecorder::Kind;

class TFpargenTest : public testing::Test {
protected:
    TFpargenTest() {
        ws.ProjectDir = dir.path();
        ws.BuildDocumentPaths();
    }

    template <class T>
    T* Find(const char* name) {
        T* widget = dialog.findChild<T*>(QString::fromLatin1(name));
        if (!widget) ADD_FAILURE() << "no control " << name;
        return widget;
    }
    QLineEdit* Edit(const char* name) { return Find<QLineEdit>(name); }
    void SetText(const char* name, const char* text) { Edit(name)->setText(QString::fromUtf8(text)); }
    std::string Text(const char* name) { return Edit(name)->text().toStdString(); }
    void ClickOk() { QTest::mouseClick(Find<QPushButton>("bitbtn1"), Qt::LeftButton); }
    std::string Pargen() const { return dir.Read("pargen.xml"); }

    MessageRecorder messages;
    TempDir dir;
    Workspace ws;
    TFpargen dialog{ws};
};

TEST_F(TFpargenTest, OkWithoutDocumentWritesTheDefaultDocument) {
    dialog.show();
    EXPECT_EQ(Find<QComboBox>("CB_Pro_Baud")->currentText(), "Auto Baudrate");
    EXPECT_EQ(Find<QComboBox>("CB_DNET_Baud")->currentText(), "500K");
    ClickOk();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(Pargen(), ReadFixture("comm_default/pargen.xml"));
    EXPECT_TRUE(messages.entries().empty());
}

// Two tools on one project: what the other saved since this editor loaded is replaced only when the user says
// so. No is the default and keeps the dialog open; the same content written again is no change.
TEST_F(TFpargenTest, OkAsksBeforeReplacingADocumentChangedSinceItWasOpened) {
    const std::string loaded = ReadFixture("comm_default/pargen.xml");
    struct Case {
        const char* name;
        std::optional<std::string> theirs;  // what the other tool left, none for a deleted file
        std::vector<bool> answers;
        bool asked;
        bool saved;
    };
    const Case cases[] = {
        {"changed, No", "<Par_Gen><PROFI_ID>7</PROFI_ID></Par_Gen>", {false}, true, false},
        {"changed, Yes", "<Par_Gen><PROFI_ID>7</PROFI_ID></Par_Gen>", {true}, true, true},
        {"rewritten unchanged", loaded, {}, false, true},
        {"deleted", std::nullopt, {}, false, true},
    };
    for (const Case& c : cases) {
        dir.Write("pargen.xml", loaded);
        dialog.show();
        SetText("E_Pro_ID", "9");
        if (c.theirs) dir.Write("pargen.xml", *c.theirs);
        if (!c.theirs) std::filesystem::remove(ws.PargenFile);
        for (const bool answer : c.answers) messages.Answer(answer);
        ClickOk();
        const bool asked = !messages.entries().empty() && messages.entries()[0].kind == Kind::Question;
        EXPECT_EQ(asked, c.asked) << c.name;
        EXPECT_EQ(dialog.isVisible(), !c.saved) << c.name;
        EXPECT_EQ(Pargen().find("<PROFI_ID>9</PROFI_ID>") != std::string::npos, c.saved) << c.name;
        dialog.hide();
        messages.clear();
    }
}

TEST_F(TFpargenTest, WindowHasTheDesignedControls) {
    EXPECT_EQ(dialog.windowTitle(), "SET COMMUNICATION");
    EXPECT_EQ(dialog.minimumSize(), QSize(250, 325));
    EXPECT_EQ(dialog.maximumSize(), QSize(250, 325));
    EXPECT_FALSE(dialog.windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_EQ(Find<QGroupBox>("GroupBox2")->title(), " PROFIBUS ");
    EXPECT_EQ(Find<QGroupBox>("GroupBox2")->geometry(), QRect(8, 10, 233, 152));
    EXPECT_EQ(Find<QGroupBox>("GroupBox1")->title(), " DeviceNet Master ");
    EXPECT_EQ(Find<QGroupBox>("GroupBox1")->geometry(), QRect(8, 168, 233, 104));

    struct Field {
        const char* name;
        const char* frame;
        const char* label;
        int top;
    };
    for (const Field& f :
         {Field{"E_Pro_ID", "GroupBox2", "ID Dev.", 21}, Field{"CB_Pro_Baud", "GroupBox2", "Baud rate", 45},
          Field{"E_Pro_IN", "GroupBox2", "N Byte IN", 69}, Field{"E_Pro_Out", "GroupBox2", "N Byte OUT", 93},
          Field{"E_DNET_ID", "GroupBox1", "ID Dev.", 21}, Field{"CB_DNET_Baud", "GroupBox1", "Baud rate", 45}}) {
        QWidget* field = Find<QWidget>(f.name);
        ASSERT_TRUE(field);
        EXPECT_EQ(field->parent()->objectName(), f.frame) << f.name;
        EXPECT_EQ(field->geometry().topLeft(), QPoint(80, f.top)) << f.name;
        EXPECT_EQ(field->width(), 145) << f.name;
        const auto labels = field->parentWidget()->findChildren<QLabel*>();
        const auto label = std::find_if(labels.begin(), labels.end(), [&](QLabel* l) { return l->buddy() == field; });
        ASSERT_NE(label, labels.end()) << f.name;
        EXPECT_EQ((*label)->text(), f.label);
        EXPECT_EQ((*label)->x(), 8);
    }
    EXPECT_EQ(Find<QCheckBox>("CB_Pro_CancelData")->text(), "Cancel Data on DeviceNet Error");
    EXPECT_EQ(Find<QCheckBox>("CB_Pro_CancelData")->pos(), QPoint(8, 120));
    EXPECT_EQ(Find<QCheckBox>("CB_DNET_CancelData")->text(), "Cancel Data on PROFIBUS Error");
    EXPECT_EQ(Find<QCheckBox>("CB_DNET_CancelData")->pos(), QPoint(8, 72));
    EXPECT_EQ(Find<QPushButton>("bitbtn1")->geometry(), QRect(36, 283, 77, 23));
    EXPECT_EQ(Find<QPushButton>("bitbtn1")->text(), "OK");
    EXPECT_EQ(Find<QPushButton>("bitbtn2")->geometry(), QRect(140, 283, 77, 23));
    EXPECT_EQ(Find<QPushButton>("bitbtn2")->text(), "Cancel");
}

TEST_F(TFpargenTest, BaudRateListsHoldTheirItemsAndOnlyTheDeviceNetOneTakesInput) {
    auto items = [](QComboBox* list) {
        QStringList texts;
        for (int i = 0; i < list->count(); ++i) texts << list->itemText(i);
        return texts.join('|').toStdString();
    };
    QComboBox* profibus = Find<QComboBox>("CB_Pro_Baud");
    QComboBox* deviceNet = Find<QComboBox>("CB_DNET_Baud");
    EXPECT_EQ(items(profibus), "9600|19200|45.45K|93.75K|187.5K|500K|1.5M|3.0M|6.0M|12M|Auto Baudrate");
    EXPECT_EQ(items(deviceNet), "125K|250K|500K");
    EXPECT_FALSE(profibus->isEnabled());
    EXPECT_FALSE(profibus->isEditable());
    EXPECT_TRUE(deviceNet->isEditable());
}

TEST_F(TFpargenTest, RefusedOkKeepsTheDialogOpenAndReportsOnlyTheFirstFailure) {
    dialog.show();
    SetText("E_Pro_ID", "0");
    SetText("E_Pro_IN", "129");
    SetText("E_DNET_ID", "64");
    ClickOk();
    EXPECT_EQ(messages.entries(), (std::vector<MessageRecorder::Entry>{
                                      {Kind::Error, "Error!! The PROFIBUS Device ID must be between 1 and 125. "}}));
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(Text("E_Pro_ID"), "0");
    EXPECT_EQ(Text("E_Pro_IN"), "129");
    EXPECT_FALSE(FileExists(ws.PargenFile));

    messages.clear();
    SetText("E_Pro_ID", "$7D");
    ClickOk();
    EXPECT_EQ(messages.texts(), std::vector<std::string>{"Error!! The PROFIBUS Byte IN must be between 0 and 128. "});
    messages.clear();
    SetText("E_Pro_IN", " 20");
    ClickOk();
    EXPECT_EQ(messages.texts(), std::vector<std::string>{"Error!! The DeviceNet Device ID must be between 0 and 63. "});
    messages.clear();
    SetText("E_DNET_ID", "63");
    ClickOk();
    EXPECT_TRUE(messages.entries().empty());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_NE(Pargen().find("<PROFI_ID>$7D</PROFI_ID><PROFI_BAUD>10</PROFI_BAUD><PROFI_NB_IN> 20</PROFI_NB_IN>"),
              std::string::npos);
}

TEST_F(TFpargenTest, CheckBoxesKeepTheirStateWhenThereIsNoDocument) {
    dialog.show();
    Find<QCheckBox>("CB_Pro_CancelData")->setChecked(true);
    QTest::mouseClick(Find<QPushButton>("bitbtn2"), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_FALSE(FileExists(ws.PargenFile));

    dialog.show();
    EXPECT_TRUE(Find<QCheckBox>("CB_Pro_CancelData")->isChecked());
    EXPECT_FALSE(Find<QCheckBox>("CB_DNET_CancelData")->isChecked());
    ClickOk();
    EXPECT_NE(Pargen().find("<PROFI_CANCEL_DATA>1</PROFI_CANCEL_DATA>"), std::string::npos);

    // A document decides the boxes: without the elements both read unchecked.
    dir.Write("pargen.xml",
              "<Par_Gen><PROFI_ID>1</PROFI_ID><PROFI_BAUD>1</PROFI_BAUD><PROFI_NB_IN>1</PROFI_NB_IN>"
              "<PROFI_NB_OUT>1</PROFI_NB_OUT><DNET_DEV_ID>1</DNET_DEV_ID><DNET_BAUD>1</DNET_BAUD></Par_Gen>");
    dialog.show();
    EXPECT_FALSE(Find<QCheckBox>("CB_Pro_CancelData")->isChecked());
    EXPECT_TRUE(messages.entries().empty());
}

TEST_F(TFpargenTest, EveryShowingReloadsAndCancelLeavesTheDocumentByteForByte) {
    const std::string original =
        "<!-- kept --><Par_Gen>\n <PROFI_ID>9</PROFI_ID><PROFI_BAUD>3</PROFI_BAUD><PROFI_NB_IN>1</PROFI_NB_IN>"
        "<PROFI_NB_OUT>2</PROFI_NB_OUT><PROFI_CANCEL_DATA>1</PROFI_CANCEL_DATA><DNET_DEV_ID>4</DNET_DEV_ID>"
        "<DNET_BAUD>0</DNET_BAUD><Unknown/></Par_Gen>\n";
    dir.Write("pargen.xml", original);
    dialog.show();
    EXPECT_EQ(Text("E_Pro_ID"), "9");
    EXPECT_EQ(Find<QComboBox>("CB_Pro_Baud")->currentText(), "93.75K");
    EXPECT_EQ(Find<QComboBox>("CB_DNET_Baud")->currentText(), "125K");
    SetText("E_Pro_ID", "100");
    Find<QCheckBox>("CB_DNET_CancelData")->setChecked(true);
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(Pargen(), original);

    dialog.show();
    EXPECT_EQ(Text("E_Pro_ID"), "9");
    EXPECT_FALSE(Find<QCheckBox>("CB_DNET_CancelData")->isChecked());
    ClickOk();
    // The loaded PROFIBUS rate is written back as loaded; the comment and the unknown element are dropped.
    EXPECT_EQ(Pargen(),
              "<Par_Gen><PROFI_ID>9</PROFI_ID><PROFI_BAUD>3</PROFI_BAUD><PROFI_NB_IN>1</PROFI_NB_IN>"
              "<PROFI_NB_OUT>2</PROFI_NB_OUT><PROFI_CANCEL_DATA>1</PROFI_CANCEL_DATA><DNET_DEV_ID>4</DNET_DEV_ID>"
              "<DNET_BAUD>0</DNET_BAUD><DNET_CANCEL_DATA>0</DNET_CANCEL_DATA></Par_Gen>");
}

TEST_F(TFpargenTest, UnknownBaudCodesShowAutoAndNoSelection) {
    dir.Write("pargen.xml",
              "<Par_Gen><PROFI_ID>1</PROFI_ID><PROFI_BAUD>-1</PROFI_BAUD><PROFI_NB_IN>1</PROFI_NB_IN>"
              "<PROFI_NB_OUT>1</PROFI_NB_OUT><DNET_DEV_ID>1</DNET_DEV_ID><DNET_BAUD>5</DNET_BAUD></Par_Gen>");
    dialog.show();
    EXPECT_EQ(Find<QComboBox>("CB_Pro_Baud")->currentText(), "Auto Baudrate");
    EXPECT_EQ(Find<QComboBox>("CB_DNET_Baud")->currentIndex(), -1);
    EXPECT_EQ(Find<QComboBox>("CB_DNET_Baud")->currentText(), "");
    ClickOk();
    EXPECT_EQ(messages.texts(), std::vector<std::string>{"Error!! Select a DeviceNet baud rate. "});
    EXPECT_TRUE(dialog.isVisible());
    Find<QComboBox>("CB_DNET_Baud")->setCurrentIndex(0);
    ClickOk();
    EXPECT_NE(Pargen().find("<PROFI_BAUD>10</PROFI_BAUD>"), std::string::npos);
    EXPECT_NE(Pargen().find("<DNET_BAUD>0</DNET_BAUD>"), std::string::npos);
}

TEST_F(TFpargenTest, TypedDeviceNetRateSelectsTheItemOfThatText) {
    struct Case {
        const char* typed;
        const char* written;
    };
    for (const Case& c : {Case{"250k", "<DNET_BAUD>1</DNET_BAUD>"}, Case{"125K", "<DNET_BAUD>0</DNET_BAUD>"}}) {
        dialog.show();
        QComboBox* list = Find<QComboBox>("CB_DNET_Baud");
        list->setEditText(QString::fromLatin1(c.typed));
        ClickOk();
        EXPECT_NE(Pargen().find(c.written), std::string::npos) << c.typed;
    }
}

// A text that names no rate would be stored as -1, which the device does not know: refused after the fields
// above it, with the user's text kept.
TEST_F(TFpargenTest, TypedDeviceNetRateThatNamesNoItemIsRefusedInItsTurn) {
    dialog.show();
    QComboBox* list = Find<QComboBox>("CB_DNET_Baud");
    list->setEditText(QStringLiteral("1M"));
    SetText("E_DNET_ID", "64");
    ClickOk();
    EXPECT_EQ(messages.texts(), std::vector<std::string>{"Error!! The DeviceNet Device ID must be between 0 and 63. "});
    messages.clear();
    SetText("E_DNET_ID", "1");
    ClickOk();
    EXPECT_EQ(messages.entries(),
              (std::vector<MessageRecorder::Entry>{{Kind::Error, "Error!! Select a DeviceNet baud rate. "}}));
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(list->currentText(), "1M");
    EXPECT_FALSE(FileExists(ws.PargenFile));
}

TEST_F(TFpargenTest, FailedLoadIsReportedAndShowsWhatWasReadWithDefaultsForTheRest) {
    dir.Write("pargen.xml",
              "<Par_Gen><PROFI_ID>7</PROFI_ID><PROFI_BAUD>4</PROFI_BAUD><PROFI_NB_OUT>9</PROFI_NB_OUT>"
              "<DNET_DEV_ID>5</DNET_DEV_ID><DNET_BAUD>1</DNET_BAUD></Par_Gen>");
    dialog.show();
    EXPECT_EQ(messages.entries(),
              (std::vector<MessageRecorder::Entry>{
                  {Kind::Unhandled,
                   "Element \"PROFI_NB_IN\" is missing in element \"Par_Gen\" (in " + ws.PargenFile + ")"}}));
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(Text("E_Pro_ID"), "7");
    EXPECT_EQ(Find<QComboBox>("CB_Pro_Baud")->currentIndex(), 4);
    EXPECT_EQ(Text("E_Pro_IN"), "20");
    EXPECT_EQ(Text("E_Pro_Out"), "20");
    EXPECT_EQ(Text("E_DNET_ID"), "10");
    EXPECT_EQ(Find<QComboBox>("CB_DNET_Baud")->currentIndex(), 2);
    ClickOk();
    EXPECT_EQ(Pargen(),
              "<Par_Gen><PROFI_ID>7</PROFI_ID><PROFI_BAUD>4</PROFI_BAUD><PROFI_NB_IN>20</PROFI_NB_IN>"
              "<PROFI_NB_OUT>20</PROFI_NB_OUT><PROFI_CANCEL_DATA>0</PROFI_CANCEL_DATA><DNET_DEV_ID>10</DNET_DEV_ID>"
              "<DNET_BAUD>2</DNET_BAUD><DNET_CANCEL_DATA>0</DNET_CANCEL_DATA></Par_Gen>");
}

TEST_F(TFpargenTest, FailedSaveIsReportedAndKeepsTheDialogOpen) {
    // A directory where the document should be, and then a project folder that has vanished.
    dir.Write("pargen.xml/keep.txt", "x");
    dialog.show();
    EXPECT_EQ(messages.texts(), std::vector<std::string>{"Cannot read \"" + ws.PargenFile + "\": it is a folder."});
    messages.clear();
    SetText("E_Pro_ID", "42");
    ClickOk();
    ASSERT_EQ(messages.entries().size(), 1u);
    EXPECT_EQ(messages.entries()[0].kind, Kind::Unhandled);
    EXPECT_NE(messages.entries()[0].text.find(ws.PargenFile), std::string::npos);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(Text("E_Pro_ID"), "42");
    EXPECT_EQ(dir.Read("pargen.xml/keep.txt"), "x");

    messages.clear();
    ws.ProjectDir = dir.File("gone");
    ws.BuildDocumentPaths();
    ClickOk();
    ASSERT_EQ(messages.entries().size(), 1u);
    EXPECT_NE(messages.entries()[0].text.find("No such file or directory"), std::string::npos);
    EXPECT_TRUE(dialog.isVisible());
}

// Keys go to whichever control has the focus, as the user's would.
TEST_F(TFpargenTest, CtrlZAndCtrlYStepThroughTheEditsOfEveryControl) {
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    Edit("E_Pro_ID")->setFocus();
    Edit("E_Pro_ID")->selectAll();
    QTest::keyClicks(Edit("E_Pro_ID"), "42");  // one typed word, one step
    QTest::mouseClick(Find<QCheckBox>("CB_DNET_CancelData"), Qt::LeftButton);
    Edit("E_DNET_ID")->setFocus();
    QTest::keyClicks(Edit("E_DNET_ID"), "7");
    auto key = [](Qt::Key k) { QTest::keyClick(QApplication::focusWidget(), k, Qt::ControlModifier); };

    key(Qt::Key_Z);
    EXPECT_EQ(Text("E_DNET_ID"), "10");
    key(Qt::Key_Z);
    EXPECT_FALSE(Find<QCheckBox>("CB_DNET_CancelData")->isChecked());
    key(Qt::Key_Z);
    EXPECT_EQ(Text("E_Pro_ID"), "20");
    key(Qt::Key_Y);
    key(Qt::Key_Y);
    EXPECT_EQ(Text("E_Pro_ID"), "42");
    EXPECT_TRUE(Find<QCheckBox>("CB_DNET_CancelData")->isChecked());
    EXPECT_EQ(Text("E_DNET_ID"), "10");

    ClickOk();
    EXPECT_NE(Pargen().find("<PROFI_ID>42</PROFI_ID>"), std::string::npos);
    EXPECT_NE(Pargen().find("<DNET_CANCEL_DATA>1</DNET_CANCEL_DATA>"), std::string::npos);
}

}  // namespace
