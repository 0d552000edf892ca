#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QColor>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QSplitter>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <filesystem>

#include "app/main_window.h"
#include "base/file_system.h"
#include "check/check_report_html.h"
#include "check/project_address_map.h"
#include "check/ui/check_dialog.h"
#include "check/ui/findings_model.h"
#include "check/ui/io_map_model.h"
#include "documents/plc_map_document.h"
#include "documents/ui/comm_settings_dialog.h"
#include "documents/ui/def_byte_dialog.h"
#include "documents/ui/dnet_network_dialog.h"
#include "plc/address_map_export.h"
#include "plc/tag_moves.h"
#include "plc/ui/address_map_model.h"
#include "plc/ui/slot_table_model.h"
#include "support/temp_dir.h"
#include "support/ui/message_recorder.h"
#include "support/ui/scripted_file_dialogs.h"
#include "ui/area_bar_widget.h"
#include "update/ui/boot_ser_dialog.h"

using namespace tessara::base;
using namespace tessara::documents;
using namespace tessara::check;
using namespace tessara::plc;
using namespace tessara::update;
using namespace tessara::ui;
using namespace tessara::app;

namespace {

const std::string S(1, kPathSeparator);
using Kind = MessageRecorder::Kind;

QString Cell(const QTableView* table, int row, int column) {
    return table->model()->index(row, column).data().toString();
}

// Waits until the window shows the result of the check it runs beside it.
void WaitForCheck(TFCheck& dialog) {
    if (!dialog.Checking()) return;
    QSignalSpy checked(&dialog, &TFCheck::Checked);
    ASSERT_TRUE(checked.wait(60000));
}

// The main window on a project holding the documents of a fixture.
class CheckWindowTest : public ::testing::Test {
protected:
    TempDir app;
    MessageRecorder messages;
    ScriptedFileDialogs dialogs;
    std::unique_ptr<TFTessaraFirmWare> window;
    std::string project;

    void Open(const std::string& fixture) {
        app.Write("Tessara_DNETM2PROFI.ini", "[lastproj]\nprojectname=Plant1\n");
        project = app.MakeDir("PROJECTS" + S + "Plant1");
        app.MakeDir("PROJECTS" + S + "Plant1" + S + "bin");
        for (const char* name : {"pargen.xml", "DNET_Net.xml", "DefByte.xml"}) {
            app.Write("PROJECTS" + S + "Plant1" + S + name, ReadFixture(fixture + "/" + name));
        }
        if (FileExists(FixturePath(fixture + "/PlcMap.xml")))
            app.Write("PROJECTS" + S + "Plant1" + S + "PlcMap.xml", ReadFixture(fixture + "/PlcMap.xml"));
        window = std::make_unique<TFTessaraFirmWare>(app.path());
    }
    void Click(QWidget& parent, const char* name) {
        auto* button = parent.findChild<QPushButton*>(name);
        ASSERT_NE(button, nullptr) << name;
        QTest::mouseClick(button, Qt::LeftButton);
    }
    // Runs `inspect` on the check window while the button's modal showing is open, then closes it.
    void WithCheckWindow(const std::function<void(TFCheck&)>& inspect) {
        bool shown = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = window->findChild<TFCheck*>();
            shown = dialog->isVisible();
            WaitForCheck(*dialog);
            inspect(*dialog);
            Click(*dialog, "btn_Close");
        });
        Click(*window, "btn_Check");
        EXPECT_TRUE(shown);
    }
};

TEST_F(CheckWindowTest, ButtonSitsBesideGsdFileAndFollowsItInKeyboardOrder) {
    Open("check_clean");
    auto* check = window->findChild<QPushButton*>("btn_Check");
    ASSERT_NE(check, nullptr);
    EXPECT_EQ(check->text(), "Check Project");
    EXPECT_EQ(check->geometry(), QRect(232, 168, 145, 26));
    EXPECT_EQ(window->findChild<QPushButton*>("btn_Gds")->nextInFocusChain(), check);
    EXPECT_EQ(check->nextInFocusChain(), window->findChild<QPushButton*>("Btn_DNET"));

    window->workspace().ProjectDir.clear();
    Click(*window, "btn_Check");
    EXPECT_EQ(messages.texts(), std::vector<std::string>{"Project not valid"});
}

TEST_F(CheckWindowTest, ShowsTheRowsTheBarsAndTheFindings) {
    Open("check_overflow");
    WithCheckWindow([&](TFCheck& dialog) {
        const auto* map = dialog.findChild<QTableView*>("IoMap");
        ASSERT_EQ(map->model()->rowCount(), 3);
        EXPECT_EQ(Cell(map, 0, 2), "Valve <A&B>");
        EXPECT_EQ(Cell(map, 0, 4), "3");
        EXPECT_EQ(Cell(map, 1, 7), "in 1 Speed; out 1 Setpoint");
        const auto* input = dialog.findChild<AreaBarWidget*>("InputBar");
        EXPECT_TRUE(input->isVisible());
        EXPECT_EQ(input->Fit().selected, 4u);
        EXPECT_EQ(input->Fit().area, 3);
        EXPECT_EQ(dialog.findChild<QLabel*>("InputBarText")->text(), "4 bytes selected for 3: 1 too many");
        EXPECT_EQ(dialog.findChild<AreaBarWidget*>("OutputBar")->Fit().area, 1);
        const auto* findings = dialog.findChild<QTableView*>("Findings");
        ASSERT_EQ(findings->model()->rowCount(), 4);
        EXPECT_EQ(Cell(findings, 0, 0), "error");
        EXPECT_EQ(Cell(findings, 0, 1), "node 2 (ID 7)");
        EXPECT_EQ(dialog.findChild<QLabel*>("Summary")->text(), "Project Plant1: 4 errors, 0 warnings.");
    });
    EXPECT_TRUE(messages.entries().empty());
}

// Runs `inspect` on the editor of type Editor once it is shown modally over the check window, then cancels it.
template <class Editor>
void WhenShown(QWidget& owner, const std::function<void(Editor&)>& inspect) {
    QTimer::singleShot(0, [&owner, inspect] {
        auto* editor = owner.findChild<Editor*>();
        ASSERT_TRUE(editor && editor->isVisible());
        inspect(*editor);
        if (editor->isVisible()) editor->reject();
    });
}

void DoubleClick(QTableView* table, int row, int column) {
    const QModelIndex index = table->model()->index(row, column);
    const QPoint at = table->visualRect(index).center();
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, at);
}

TEST_F(CheckWindowTest, AFindingOpensItsEditorAtItsPlaceAndTheCheckRunsAgainWhenItCloses) {
    Open("check_overflow");
    WithCheckWindow([&](TFCheck& dialog) {
        auto* findings = dialog.findChild<QTableView*>("Findings");
        ASSERT_EQ(Cell(findings, 1, 1), "node 3 (ID 5)");  // "Address 5 is also used by node 1"
        bool opened = false;
        WhenShown<TFDNet>(*window, [&](TFDNet& editor) {
            auto* grid = editor.findChild<QTableView*>("StringGrid1");
            EXPECT_EQ(grid->currentIndex(), grid->model()->index(2, 1));
            grid->model()->setData(grid->currentIndex(), QStringLiteral("9"));
            editor.bitbtn1Click();
            opened = true;
        });
        DoubleClick(findings, 1, 2);
        EXPECT_TRUE(opened);
        WaitForCheck(dialog);
        EXPECT_EQ(findings->model()->rowCount(), 3);
        EXPECT_EQ(Cell(findings, 0, 1), "node 2 (ID 7)");
        EXPECT_EQ(Cell(findings, 1, 1), "PROFIBUS input");
        EXPECT_EQ(dialog.findChild<QLabel*>("Summary")->text(), "Project Plant1: 3 errors, 0 warnings.");

        WhenShown<TFpargen>(*window, [](TFpargen& editor) {
            EXPECT_EQ(editor.focusWidget(), editor.findChild<QLineEdit*>("E_Pro_IN"));
        });
        findings->setFocus();
        findings->setCurrentIndex(findings->model()->index(1, 0));
        QTest::keyClick(findings, Qt::Key_Return);
    });
    EXPECT_TRUE(messages.entries().empty());
}

TEST_F(CheckWindowTest, ANodeOfTheIoMapOpensItsByteSelectionAtTheDirectionOfTheColumn) {
    Open("check_overflow");
    WithCheckWindow([&](TFCheck& dialog) {
        auto* map = dialog.findChild<QTableView*>("IoMap");
        int node = -1;
        int page = -1;
        WhenShown<TFDefByte>(*window, [&](TFDefByte& editor) {
            node = editor.CurrentNode();
            page = editor.findChild<QTabWidget*>()->currentIndex();
        });
        DoubleClick(map, 1, 6);  // "Selected output" of node 2
        EXPECT_EQ(node, 1);
        EXPECT_EQ(page, 1);
    });
}

TEST_F(CheckWindowTest, ANodeAppendedToTheNetworkIsNamedAsHavingNoSelectionYet) {
    Open("check_clean");
    const std::string network = app.Read("PROJECTS" + S + "Plant1" + S + "DNET_Net.xml");
    app.Write("PROJECTS" + S + "Plant1" + S + "DNET_Net.xml",
              network.substr(0, network.find("</DNET_Net>")) +
                  "<row ID=\"20\" NB_IN=\"1\" NB_OUT=\"0\" Mnemonic=\"\"/></DNET_Net>");
    WithCheckWindow([&](TFCheck& dialog) {
        const auto* findings = dialog.findChild<QTableView*>("Findings");
        ASSERT_EQ(findings->model()->rowCount(), 1);
        EXPECT_EQ(Cell(findings, 0, 0), "warning");
        EXPECT_EQ(Cell(findings, 0, 2),
                  "DefByte.xml has no byte selection yet for node 3 (ID 20): open Define Byte and press OK");
    });
}

// FormShow returns at once: the window says it is checking and writes nothing until the result is shown, and a
// showing meanwhile (an editor closed) checks the project again as it then is.
TEST_F(CheckWindowTest, TheCheckRunsBesideTheWindowAndAShowingMeanwhileChecksAgain) {
    Open("check_overflow");
    WithCheckWindow([&](TFCheck& dialog) {
        const auto* progress = dialog.findChild<QProgressBar*>("CheckProgress");
        const auto* save = dialog.findChild<QPushButton*>("btn_SaveReport");
        const auto* exportTags = dialog.findChild<QPushButton*>("btn_ExportTags");
        EXPECT_FALSE(progress->isVisible());
        dialog.FormShow();
        EXPECT_TRUE(dialog.Checking());
        EXPECT_TRUE(progress->isVisible());
        EXPECT_FALSE(save->isEnabled());
        EXPECT_FALSE(exportTags->isEnabled());
        EXPECT_EQ(dialog.findChild<QLabel*>("Summary")->text(), "Checking project Plant1...");
        app.Write("PROJECTS" + S + "Plant1" + S + "DNET_Net.xml", "<DNET_Net/>");
        dialog.FormShow();
        WaitForCheck(dialog);
        EXPECT_FALSE(dialog.Checking());
        EXPECT_TRUE(dialog.Check().nodes.empty());
        EXPECT_EQ(dialog.findChild<QTableView*>("IoMap")->model()->rowCount(), 0);
        EXPECT_FALSE(progress->isVisible());
        EXPECT_TRUE(save->isEnabled());
        EXPECT_TRUE(exportTags->isEnabled());
    });
}

TEST_F(CheckWindowTest, EachShowingReadsTheProjectAfresh) {
    Open("check_overflow");
    WithCheckWindow([](TFCheck& dialog) { EXPECT_EQ(dialog.Check().nodes.size(), 3u); });
    app.Write("PROJECTS" + S + "Plant1" + S + "DNET_Net.xml", "<DNET_Net/>");
    WithCheckWindow([](TFCheck& dialog) { EXPECT_TRUE(dialog.Check().nodes.empty()); });
}

TEST_F(CheckWindowTest, SaveReportWritesWhatTheWindowShows) {
    Open("check_overflow");
    dialogs.Answer(QString::fromStdString(project + S + "commissioning"));
    dialogs.Answer(QString::fromStdString(project + S + "missing" + S + "report.html"));
    dialogs.Answer(QString());
    WithCheckWindow([&](TFCheck& dialog) {
        Click(dialog, "btn_SaveReport");
        EXPECT_EQ(app.Read("PROJECTS" + S + "Plant1" + S + "commissioning.html"),
                  CheckReportHtml(dialog.Check(), TodayText()));
        Click(dialog, "btn_SaveReport");  // a folder that does not exist: told, the window stays
        Click(dialog, "btn_SaveReport");  // cancelled: nothing
        EXPECT_TRUE(dialog.isVisible());
    });
    EXPECT_EQ(dialogs.filters.value(0), "HTML report (*.html)");
    EXPECT_EQ(dialogs.startDirs.value(0).toStdString(), project);
    ASSERT_EQ(messages.entries().size(), 1u);
    EXPECT_EQ(messages.entries()[0].kind, Kind::Error);
    EXPECT_NE(messages.entries()[0].text.find("report.html"), std::string::npos) << messages.entries()[0].text;
}

TEST_F(CheckWindowTest, UpdateDeviceAsksAfterAnErrorAndStopsByDefault) {
    Open("check_overflow");
    Click(*window, "CreateBin");  // no answer scripted: the default, No
    ASSERT_EQ(messages.entries().size(), 1u);
    EXPECT_EQ(messages.entries()[0].kind, Kind::Question);
    const std::string& question = messages.entries()[0].text;
    EXPECT_NE(question.find("error - node 2 (ID 7): Address 7 is the gateway's own DeviceNet ID"), std::string::npos)
        << question;
    EXPECT_NE(question.find("error - node 3 (ID 5): Address 5 is also used by node 1"), std::string::npos);
    EXPECT_NE(question.find("Update the device anyway?"), std::string::npos);
    EXPECT_FALSE(FileExists(project + S + "bin" + S + "bank.bin"));

    messages.Answer(true);
    bool updateShown = false;
    QTimer::singleShot(0, [&] {
        auto* boot = window->findChild<TFBootSer*>();
        updateShown = boot->isVisible();
        boot->reject();
    });
    Click(*window, "CreateBin");
    EXPECT_TRUE(updateShown);
    EXPECT_TRUE(FileExists(project + S + "bin" + S + "bank.bin"));
}

// The address map page of the check window, brought to the front.
QTableView* ShowAddressMap(TFCheck& dialog) {
    dialog.findChild<QTabWidget*>("Maps")->setCurrentIndex(1);
    return dialog.findChild<QTableView*>("AddressMap");
}

// Types a slot's start into the slot table as a user does: the cell's editor, the text, Enter.
void TypeStart(TFCheck& dialog, int slotRow, const QString& text) {
    auto* slotTable = dialog.findChild<QTableView*>("Slots");
    const QModelIndex cell = slotTable->model()->index(slotRow, SlotTableModel::ColStart);
    slotTable->setFocus();
    slotTable->setCurrentIndex(cell);
    slotTable->edit(cell);
    auto* editor = qobject_cast<QLineEdit*>(slotTable->indexWidget(cell));
    ASSERT_NE(editor, nullptr);
    editor->setText(text);
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();  // the view commits and closes the editor in a queued call
}

// "SLOT|DIRECTION|SIZE|START" of every slot, "*" after a start kept in PlcMap.xml.
std::vector<std::string> Slots(TFCheck& dialog) {
    const QAbstractItemModel* slotModel = dialog.findChild<QTableView*>("Slots")->model();
    std::vector<std::string> rows;
    for (int row = 0; row < slotModel->rowCount(); ++row) {
        std::string text;
        for (int column = 0; column < SlotTableModel::ColumnCount; ++column)
            text += (column ? "|" : "") + slotModel->index(row, column).data().toString().toStdString();
        const bool kept = slotModel->index(row, SlotTableModel::ColStart).data(Qt::ForegroundRole).isNull();
        rows.push_back(text + (kept ? "*" : ""));
    }
    return rows;
}

// "IB 0 Position" per row shown, "red" for a row past its area.
std::vector<std::string> Rows(const QTableView* map) {
    std::vector<std::string> rows;
    for (int row = 0; row < map->model()->rowCount(); ++row) {
        const QModelIndex address = map->model()->index(row, AddressMapModel::ColAddress);
        const bool red = address.data(Qt::ForegroundRole).value<QColor>() == QColor(Qt::red);
        rows.push_back((red ? std::string("red") : address.data().toString().toStdString()) + " " +
                       Cell(map, row, AddressMapModel::ColSymbol).toStdString());
    }
    return rows;
}

TEST_F(CheckWindowTest, TheAddressMapShowsItsRuleFiltersByNodeAndTextAndFollowsTheStarts) {
    Open("check_overflow");
    WithCheckWindow([&](TFCheck& dialog) {
        const QTableView* map = ShowAddressMap(dialog);
        EXPECT_EQ(dialog.findChild<QLabel*>("AddressMapRule")->text().toStdString(), kAddressMapRule);
        using R = std::vector<std::string>;
        EXPECT_EQ(Rows(map),
                  (R{"IB 0 Position", "IB 1 N5_I2", "IB 2 Status_alarm", "red Speed", "QB 0 Command", "red Setpoint"}));
        EXPECT_EQ(Cell(map, 3, AddressMapModel::ColOffset), "3");

        EXPECT_EQ(Slots(dialog), (R{"1|input|3|IB 0", "2|output|1|QB 0"}));
        TypeStart(dialog, 0, "10");
        TypeStart(dialog, 1, "4");
        EXPECT_EQ(Slots(dialog), (R{"1|input|3|IB 10*", "2|output|1|QB 4*"}));
        EXPECT_EQ(Rows(map), (R{"IB 10 Position", "IB 11 N5_I2", "IB 12 Status_alarm", "red Speed", "QB 4 Command",
                                "red Setpoint"}));

        auto* nodes = dialog.findChild<QComboBox*>("NodeFilter");
        ASSERT_EQ(nodes->count(), 3);
        EXPECT_EQ(nodes->itemText(2), "2 (ID 7) Drive");
        nodes->setCurrentIndex(2);
        EXPECT_EQ(Rows(map), (R{"red Speed", "red Setpoint"}));
        nodes->setCurrentIndex(0);
        QTest::keyClicks(dialog.findChild<QLineEdit*>("TextFilter"), "ALARM");
        EXPECT_EQ(Rows(map), (R{"IB 12 Status_alarm"}));

        // A fresh check keeps the filters, and the starts the user set, which the project keeps.
        dialog.FormShow();
        WaitForCheck(dialog);
        EXPECT_EQ(Rows(map), (R{"IB 12 Status_alarm"}));
    });
}

TEST_F(CheckWindowTest, ARowOfTheAddressMapOpensTheByteEditorAtItsNodeDirectionAndByte) {
    Open("check_overflow");
    WithCheckWindow([&](TFCheck& dialog) {
        QTableView* map = ShowAddressMap(dialog);
        struct Opened {
            int node = -1, page = -1, byte = -1;
        } opened;
        const auto expectEditor = [&] {
            opened = {};
            WhenShown<TFDefByte>(*window, [&](TFDefByte& editor) {
                opened.node = editor.CurrentNode();
                opened.page = editor.findChild<QTabWidget*>()->currentIndex();
                const char* grid = opened.page == 1 ? "ASG_OUT" : "ASG_IN";
                opened.byte = editor.findChild<QTableView*>(grid)->currentIndex().row();
            });
        };
        expectEditor();
        DoubleClick(map, 2, AddressMapModel::ColSymbol);  // node 1, input byte 3
        EXPECT_EQ(std::tie(opened.node, opened.page, opened.byte), std::make_tuple(0, 0, 2));
        WaitForCheck(dialog);

        QTest::keyClicks(dialog.findChild<QLineEdit*>("TextFilter"), "setpoint");
        map = ShowAddressMap(dialog);
        map->setFocus();
        map->setCurrentIndex(map->model()->index(0, 0));
        expectEditor();
        QTest::keyClick(map, Qt::Key_Return);  // node 2, output byte 1, through the filter
        EXPECT_EQ(std::tie(opened.node, opened.page, opened.byte), std::make_tuple(1, 1, 0));
        EXPECT_TRUE(dialog.isVisible());
    });
}

// A typed tag whose second byte is no longer selected: its finding opens the byte editor at the tag's first byte.
TEST_F(CheckWindowTest, ATypedTagsFindingOpensTheByteEditorAtTheTagsFirstByte) {
    Open("check_typed_tags");
    WithCheckWindow([&](TFCheck& dialog) {
        auto* findings = dialog.findChild<QTableView*>("Findings");
        int row = 0;
        while (row < findings->model()->rowCount() && !Cell(findings, row, 2).startsWith("Typed tag Gap ")) ++row;
        ASSERT_LT(row, findings->model()->rowCount());
        EXPECT_EQ(Cell(findings, row, 1), "PlcMap.xml");
        int node = -1, page = -1, byte = -1;
        WhenShown<TFDefByte>(*window, [&](TFDefByte& editor) {
            node = editor.CurrentNode();
            page = editor.findChild<QTabWidget*>()->currentIndex();
            byte = editor.findChild<QTableView*>("ASG_IN")->currentIndex().row();
        });
        DoubleClick(findings, row, 2);
        EXPECT_EQ(std::tie(node, page, byte), std::make_tuple(1, 0, 61));  // node 2, input byte 62
        WaitForCheck(dialog);
    });
}

TEST_F(CheckWindowTest, ExportTagsWritesTheFormatOfTheNameAtTheStartsShownAndSaysWhatIsLeftOut) {
    Open("check_overflow");
    const std::string tags = project + S + "tags";
    dialogs.Answer(QString::fromStdString(tags));  // no extension: the STEP 7 symbol table
    dialogs.Answer(QString::fromStdString(tags + ".csv"));
    dialogs.Answer(QString::fromStdString(tags + ".dat"));
    dialogs.Answer(QString::fromStdString(project + S + "missing" + S + "tags.xml"));
    dialogs.Answer(QString());
    WithCheckWindow([&](TFCheck& dialog) {
        ShowAddressMap(dialog);
        TypeStart(dialog, 0, "12");
        const AddressMap map = ProjectAddressMap(
            dialog.Check(), ProjectLayout(dialog.Check(), {{tessara::documents::AreaDirection::Input, 1, 12}}));
        for (int i = 0; i < 5; ++i) Click(dialog, "btn_ExportTags");
        EXPECT_EQ(app.Read("PROJECTS" + S + "Plant1" + S + "tags.sdf"), FormatAddressMap(map, MapFormat::Sdf));
        EXPECT_EQ(app.Read("PROJECTS" + S + "Plant1" + S + "tags.csv"), FormatAddressMap(map, MapFormat::Csv));
        EXPECT_FALSE(FileExists(tags + ".dat"));
    });
    EXPECT_EQ(dialogs.filters.value(0),
              "STEP 7 symbol table (*.sdf);;PLCopen XML (*.xml);;CSV (*.csv);;JSON (*.json);;Text (*.txt)");
    EXPECT_EQ(dialogs.startDirs.value(0).toStdString(), project);
    std::vector<Kind> kinds;
    for (const auto& entry : messages.entries()) kinds.push_back(entry.kind);
    EXPECT_EQ(kinds, (std::vector<Kind>{Kind::Message, Kind::Message, Kind::Error, Kind::Error}));
    ASSERT_EQ(messages.entries().size(), 4u);
    EXPECT_NE(messages.entries()[0].text.find("2 of the selected bytes do not fit"), std::string::npos);
    EXPECT_NE(messages.entries()[2].text.find("tags.dat"), std::string::npos) << messages.entries()[2].text;
    EXPECT_NE(messages.entries()[3].text.find("tags.xml"), std::string::npos) << messages.entries()[3].text;
}

// The project keeps the addresses handed to the PLC; a CSV for a spreadsheet can start with a byte-order mark.
TEST_F(CheckWindowTest, ExportTagsRecordsTheAddressesItWroteAndCanMarkTheCsv) {
    Open("check_overflow");
    const std::string csv = project + S + "tags.csv";
    dialogs.Answer(QString::fromStdString(csv));
    WithCheckWindow([&](TFCheck& dialog) {
        ShowAddressMap(dialog);
        dialog.findChild<QCheckBox*>("CsvByteOrderMark")->setChecked(true);
        Click(dialog, "btn_ExportTags");
        const AddressMap map = ProjectAddressMap(dialog.Check(), ProjectLayout(dialog.Check()));
        EXPECT_EQ(ReadWholeFile(csv), FormatAddressMap(map, MapFormat::Csv, {true}));
        EXPECT_EQ(ReadWholeFile(csv).rfind("\xEF\xBB\xBF", 0), 0u);
        const PlcMapDocument stored = LoadPlcMap(project);
        ASSERT_TRUE(stored.lastExport.has_value());
        EXPECT_EQ(stored.lastExport->tags, ExportedTags(map));
        EXPECT_EQ(stored.lastExport->tags.size(), 4u);  // the bytes that have an address
    });
}

// Tags exported, then byte 1 of node 1 unselected in the byte editor: the OK says that the addresses after it move,
// and names them; No keeps the editor open with nothing saved, and the default answer saves. A second OK on the
// saved state asks nothing more.
TEST_F(CheckWindowTest, AnEditorWhoseOkMovesExportedAddressesSaysSoFirst) {
    Open("check_clean");
    dialogs.Answer(QString::fromStdString(project + S + "tags.csv"));
    WithCheckWindow([&](TFCheck& dialog) {
        ShowAddressMap(dialog);
        Click(dialog, "btn_ExportTags");
    });
    ASSERT_TRUE(LoadPlcMap(project).lastExport.has_value());
    const std::string defByte = project + S + "DefByte.xml";
    const std::string before = ReadWholeFile(defByte);
    messages.clear();
    messages.Answer(false);
    QTimer::singleShot(0, [&] {
        auto* editor = window->findChild<TFDefByte*>();
        auto* grid = editor->findChild<QTableView*>("ASG_IN");
        grid->model()->setData(grid->model()->index(0, 1), Qt::Unchecked, Qt::CheckStateRole);
        editor->bitbtn1Click();
        EXPECT_TRUE(editor->isVisible());
        EXPECT_EQ(ReadWholeFile(defByte), before);
        editor->bitbtn1Click();
    });
    Click(*window, "btn_DefByte");
    EXPECT_NE(ReadWholeFile(defByte), before);
    ASSERT_EQ(messages.entries().size(), 2u) << messages.entries()[0];
    for (const auto& question : messages.entries()) {
        EXPECT_EQ(question.kind, Kind::Question);
        EXPECT_EQ(question.text.rfind("Saving this change moves PLC addresses: 5 PLC addresses moved since tags were "
                                      "exported on ",
                                      0),
                  0u)
            << question.text;
        EXPECT_NE(question.text.find("Status: IB 1 -> IB 0"), std::string::npos) << question.text;
    }

    messages.clear();
    QTimer::singleShot(0, [&] { window->findChild<TFDefByte*>()->bitbtn1Click(); });
    Click(*window, "btn_DefByte");
    EXPECT_TRUE(messages.entries().empty()) << messages.entries()[0];
}

// The conveyor moved above the valve in the network editor: its OK names the moved addresses before the note
// that DefByte.xml is rewritten; No saves nothing.
TEST_F(CheckWindowTest, TheNetworkEditorsOkNamesTheAddressesAReorderMoves) {
    Open("check_clean");
    dialogs.Answer(QString::fromStdString(project + S + "tags.csv"));
    WithCheckWindow([&](TFCheck& dialog) {
        ShowAddressMap(dialog);
        Click(dialog, "btn_ExportTags");
    });
    const std::string network = ReadWholeFile(project + S + "DNET_Net.xml");
    messages.clear();
    messages.Answer(false);  // the moves: not saved
    messages.Answer(true);   // "Discard your changes?"
    QTimer::singleShot(0, [&] {
        auto* editor = window->findChild<TFDNet*>();
        auto* grid = editor->findChild<QTableView*>("StringGrid1");
        grid->setCurrentIndex(grid->model()->index(1, 1));
        grid->selectionModel()->select(grid->currentIndex(), QItemSelectionModel::ClearAndSelect);
        editor->MoveUpClick();
        editor->bitbtn1Click();
        EXPECT_TRUE(editor->isVisible());
        editor->reject();
    });
    Click(*window, "Btn_DNET");
    EXPECT_EQ(ReadWholeFile(project + S + "DNET_Net.xml"), network);
    ASSERT_FALSE(messages.entries().empty());
    const std::string& question = messages.entries()[0].text;
    EXPECT_EQ(messages.entries()[0].kind, Kind::Question);
    EXPECT_NE(question.find("PLC addresses moved since tags were exported on "), std::string::npos) << question;
    EXPECT_NE(question.find("Position: IB 0 -> IB 3"), std::string::npos) << question;
}

// The second symbol style names whose byte a tag is; the export keeps it, and the next run starts with it.
TEST_F(CheckWindowTest, TheSymbolStyleChosenNamesTheTagsAndIsKeptWithTheExport) {
    Open("check_clean");
    dialogs.Answer(QString::fromStdString(project + S + "tags.csv"));
    WithCheckWindow([&](TFCheck& dialog) {
        QTableView* map = ShowAddressMap(dialog);
        EXPECT_EQ(Cell(map, 0, AddressMapModel::ColSymbol), "Position");
        auto* style = dialog.findChild<QComboBox*>("SymbolStyle");
        style->setCurrentIndex(style->findData(static_cast<int>(SymbolStyle::Node)));
        WaitForCheck(dialog);
        EXPECT_EQ(Cell(map, 0, AddressMapModel::ColSymbol), "Valve_3_Position");
        Click(dialog, "btn_ExportTags");
    });
    EXPECT_EQ(LoadPlcMap(project).lastExport->symbols, "node");
    window = std::make_unique<TFTessaraFirmWare>(app.path());
    WithCheckWindow([&](TFCheck& dialog) {
        QTableView* map = ShowAddressMap(dialog);
        EXPECT_EQ(dialog.findChild<QComboBox*>("SymbolStyle")->currentData().toInt(),
                  static_cast<int>(SymbolStyle::Node));
        EXPECT_EQ(Cell(map, 0, AddressMapModel::ColSymbol), "Valve_3_Position");
    });
}

// The worked example's WORD and INT are one row each at their word address, swapped for a big-endian PLC; the
// PLC's byte order chosen on the tab is kept in PlcMap.xml at once, and the PLCopen export can add the swap
// program.
TEST_F(CheckWindowTest, TypedTagsShowTheirWidthAndSwapAndExportWithTheSwapProgram) {
    Open("typed_worked_example");
    app.Write("PROJECTS" + S + "Plant1" + S + "PlcMap.xml", ReadFixture("typed_worked_example/PlcMap.xml"));
    const std::string xml = project + S + "tags.xml";
    dialogs.Answer(QString::fromStdString(xml));
    WithCheckWindow([&](TFCheck& dialog) {
        QTableView* map = ShowAddressMap(dialog);
        ASSERT_EQ(map->model()->rowCount(), 2);
        std::vector<std::string> shown;
        for (int row = 0; row < 2; ++row) {
            std::string line;
            for (const int column : {AddressMapModel::ColAddress, AddressMapModel::ColSymbol, AddressMapModel::ColType,
                                     AddressMapModel::ColSize, AddressMapModel::ColSwap})
                line += Cell(map, row, column).toStdString() + " ";
            shown.push_back(line);
        }
        EXPECT_EQ(shown, (std::vector<std::string>{"IW 0 Status WORD 2 yes ", "IW 2 Speed INT 2 yes "}));

        auto* order = dialog.findChild<QComboBox*>("PlcByteOrder");
        order->setCurrentIndex(order->findData(static_cast<int>(ByteOrder::Little)));
        EXPECT_EQ(Cell(map, 1, AddressMapModel::ColSwap), "no");
        EXPECT_EQ(LoadPlcMap(project).plcByteOrder, ByteOrder::Little);
        order->setCurrentIndex(order->findData(static_cast<int>(ByteOrder::Big)));
        EXPECT_EQ(Cell(map, 1, AddressMapModel::ColSwap), "yes");

        dialog.findChild<QCheckBox*>("PlcOpenSwapProgram")->setChecked(true);
        Click(dialog, "btn_ExportTags");
    });
    const std::string written = ReadWholeFile(xml);
    EXPECT_NE(written.find("Speed := WORD_TO_INT(ROL(Speed_RAW, 8));"), std::string::npos) << written;
    EXPECT_NE(written.find("<variable name=\"Speed_RAW\" address=\"%IW2\">"), std::string::npos) << written;
    EXPECT_EQ(LoadPlcMap(project).plcByteOrder, ByteOrder::Big);
    EXPECT_TRUE(messages.entries().empty()) << messages.entries()[0].text;
}

// An export says what it leaves out: a typed tag that is not one value (its bytes go as bytes).
TEST_F(CheckWindowTest, ExportTagsSaysWhichTypedTagsItCouldNotUse) {
    Open("typed_worked_example");
    app.Write("PROJECTS" + S + "Plant1" + S + "PlcMap.xml", ReadFixture("typed_worked_example/PlcMap.xml"));
    app.Write("PROJECTS" + S + "Plant1" + S + "DefByte.xml",
              "<DefBytes><Nodo_DNET><ByteIN><row Select=\"Y\" Mnemonic=\"Status\"/><row Select=\"Y\" "
              "Mnemonic=\"\"/><row Select=\"Y\" Mnemonic=\"Speed\"/><row Select=\"N\" Mnemonic=\"\"/></ByteIN>"
              "<ByteOUT/></Nodo_DNET></DefBytes>");
    dialogs.Answer(QString::fromStdString(project + S + "tags.sdf"));
    WithCheckWindow([&](TFCheck& dialog) {
        ShowAddressMap(dialog);
        Click(dialog, "btn_ExportTags");
    });
    EXPECT_EQ(messages.texts(),
              std::vector<std::string>{"Typed tag Speed (INT, node 1 byte 3 of the input area) is not "
                                       "used: byte 4 of the node is not selected, so the 2 bytes of "
                                       "the INT are not consecutive in the area"});
    EXPECT_NE(ReadWholeFile(project + S + "tags.sdf").find("\"IB 2        \",\"BYTE"), std::string::npos);
}

// A PLC has no byte address past 65535: the three input bytes that fit end there from 65533, and pass it from 65534.
// A start that is not a byte address is refused too, and nothing refused reaches PlcMap.xml.
TEST_F(CheckWindowTest, AStartThatPutsATagPastTheLastPlcByteIsRefused) {
    Open("check_overflow");
    const std::string plcMap = project + S + "PlcMap.xml";
    WithCheckWindow([&](TFCheck& dialog) {
        ShowAddressMap(dialog);
        TypeStart(dialog, 0, "65534");
        TypeStart(dialog, 0, "twelve");
        EXPECT_FALSE(FileExists(plcMap));
        EXPECT_EQ(Slots(dialog)[0], "1|input|3|IB 0");
        TypeStart(dialog, 0, "65533");
        EXPECT_EQ(Slots(dialog)[0], "1|input|3|IB 65533*");
    });
    EXPECT_TRUE(FileExists(plcMap));
    EXPECT_EQ(messages.entries(),
              (std::vector<MessageRecorder::Entry>{
                  {Kind::Error,
                   "Slot 1 starting at 65534 puts byte 2 of the input area at 65536, past the last PLC "
                   "byte address 65535"},
                  {Kind::Error,
                   "The start of slot 1 must be a PLC byte address from 0 to 65535, or empty to follow "
                   "the slot before: \"twelve\""}}));
}

// 100 input bytes make two slots (64 and 36) and 70 output bytes two more (64 and 6). Slot 2 placed apart at 200
// and slot 4 at 100 give every byte its slot's address, in the map, after a restart, and in the byte editor; a
// slot that would overlap another is refused, and clearing a start makes the slot follow again.
TEST_F(CheckWindowTest, EachSlotHasItsOwnStartKeptInTheProject) {
    Open("check_clean");
    std::string in;
    std::string out;
    for (int byte = 1; byte <= 100; ++byte) in += "<row Select=\"Y\" Mnemonic=\"In" + std::to_string(byte) + "\"/>";
    for (int byte = 1; byte <= 70; ++byte) out += "<row Select=\"Y\" Mnemonic=\"Out" + std::to_string(byte) + "\"/>";
    const std::string dir = "PROJECTS" + S + "Plant1" + S;
    std::string pargen = ReadFixture("check_clean/pargen.xml");
    pargen.replace(pargen.find(">5<"), 3, ">100<");
    pargen.replace(pargen.find(">1<"), 3, ">70<");
    app.Write(dir + "pargen.xml", pargen);
    app.Write(dir + "DNET_Net.xml",
              "<DNET_Net><row ID=\"5\" NB_IN=\"100\" NB_OUT=\"70\" Mnemonic=\"Press\"/></DNET_Net>");
    app.Write(dir + "DefByte.xml",
              "<DefBytes><Nodo_DNET><ByteIN>" + in + "</ByteIN><ByteOUT>" + out + "</ByteOUT></Nodo_DNET></DefBytes>");
    using R = std::vector<std::string>;
    // Map rows 0, 63, 64 and 99 are input bytes 1, 64, 65 and 100; rows 100, 163, 164 output bytes 1, 64, 65.
    const auto addresses = [](const QTableView* map) {
        R shown;
        for (int row : {0, 63, 64, 99, 100, 163, 164}) {
            shown.push_back(Cell(map, row, AddressMapModel::ColSlot).toStdString() + " " +
                            Cell(map, row, AddressMapModel::ColAddress).toStdString());
        }
        return shown;
    };
    WithCheckWindow([&](TFCheck& dialog) {
        const QTableView* map = ShowAddressMap(dialog);
        EXPECT_EQ(Slots(dialog), (R{"1|input|64|IB 0", "2|input|36|IB 64", "3|output|64|QB 0", "4|output|6|QB 64"}));
        EXPECT_EQ(addresses(map), (R{"1 IB 0", "1 IB 63", "2 IB 64", "2 IB 99", "3 QB 0", "3 QB 63", "4 QB 64"}));
        TypeStart(dialog, 1, "200");
        TypeStart(dialog, 3, "30");  // QB 30 to 35 lie inside slot 3's QB 0 to 63: refused
        TypeStart(dialog, 3, "100");
        TypeStart(dialog, 2, "56");  // slot 3 at QB 56 to 119 would cover slot 4 at QB 100
    });
    EXPECT_EQ(messages.texts(), (R{"The output slots overlap: slot 3 (QB 0 to 63) and slot 4 (QB 30 to 35)",
                                   "The output slots overlap: slot 3 (QB 56 to 119) and slot 4 (QB 100 to 105)"}));
    messages.clear();

    // Another run of the tool reads the starts from the project.
    window = std::make_unique<TFTessaraFirmWare>(app.path());
    WithCheckWindow([&](TFCheck& dialog) {
        QTableView* map = ShowAddressMap(dialog);
        EXPECT_EQ(Slots(dialog),
                  (R{"1|input|64|IB 0", "2|input|36|IB 200*", "3|output|64|QB 0", "4|output|6|QB 100*"}));
        EXPECT_EQ(addresses(map), (R{"1 IB 0", "1 IB 63", "2 IB 200", "2 IB 235", "3 QB 0", "3 QB 63", "4 QB 100"}));

        // The byte editor, opened at input byte 65, gives it the map's address.
        QString editorAddress;
        WhenShown<TFDefByte>(*window, [&](TFDefByte& editor) {
            const auto* grid = editor.findChild<QTableView*>("ASG_IN");
            editorAddress = grid->model()->index(grid->currentIndex().row(), 3).data().toString();
        });
        DoubleClick(map, 64, AddressMapModel::ColSymbol);
        EXPECT_EQ(editorAddress, "IB 200");
        WaitForCheck(dialog);

        TypeStart(dialog, 1, "");
        EXPECT_EQ(Slots(dialog)[1], "2|input|36|IB 64");
    });
    EXPECT_TRUE(messages.entries().empty()) << messages.entries()[0];
}

// Both saves of the window refuse every file of the project, named directly, through ".." or through a link, in
// the command line's words, and leave it as it was.
TEST_F(CheckWindowTest, SaveReportAndExportTagsNeverReplaceAFileOfTheProject) {
    Open("check_overflow");
    const std::string bank = app.Write("PROJECTS" + S + "Plant1" + S + "bin" + S + "bank.bin", "image");
    struct Save {
        const char* button;
        const char* output;
    };
    const Save saves[] = {{"btn_SaveReport", "report"}, {"btn_ExportTags", "tag table"}};
    std::vector<std::pair<std::string, std::string>> names;  // what the chooser answers, the file it leads to
    for (const std::string& file :
         std::vector<std::string>{"pargen.xml", "DNET_Net.xml", "DefByte.xml", "bin" + S + "bank.bin"}) {
        const std::string target = project + S + file;
        const std::string link = project + S + "alias-" + std::to_string(names.size()) + ".xml";
        std::filesystem::create_symlink(target, link);
        names.push_back({target, target});
        names.push_back({project + S + "bin" + S + ".." + S + file, target});
        names.push_back({link, target});
    }
    for (const auto& [name, target] : names) {
        const std::string before = ReadWholeFile(target);
        for (const Save& save : saves) {
            SCOPED_TRACE(save.button + std::string(" ") + name);
            messages.clear();
            dialogs.Answer(QString::fromStdString(name));
            WithCheckWindow([&](TFCheck& dialog) {
                ShowAddressMap(dialog);
                Click(dialog, save.button);
            });
            const std::string shown = name.substr(name.find_last_of(kPathSeparator) + 1);
            EXPECT_EQ(
                messages.entries(),
                (std::vector<MessageRecorder::Entry>{{Kind::Error, "\"" + shown + "\" is a file of the project: the " +
                                                                       save.output + " needs another name"}}));
            EXPECT_EQ(ReadWholeFile(target), before);
        }
    }
    EXPECT_EQ(ReadWholeFile(bank), "image");
}

// Any other file is replaced only when the user says so; the question names the file that is written, extension
// included.
TEST_F(CheckWindowTest, SaveReportAndExportTagsAskBeforeReplacingAFile) {
    Open("check_overflow");
    for (const char* button : {"btn_SaveReport", "btn_ExportTags"}) {
        const std::string file = app.Write("PROJECTS" + S + "Plant1" + S + "notes.csv", "mine");
        const std::string chosen = button == std::string("btn_SaveReport") ? file : project + S + "notes";
        const std::string written =
            button == std::string("btn_SaveReport") ? file : file.substr(0, file.size() - 3) + "sdf";
        app.Write("PROJECTS" + S + "Plant1" + S + "notes.sdf", "mine");
        messages.clear();
        dialogs.Answer(QString::fromStdString(chosen));
        dialogs.Answer(QString::fromStdString(chosen));
        messages.Answer(false);
        messages.Answer(true);
        WithCheckWindow([&](TFCheck& dialog) {
            ShowAddressMap(dialog);
            Click(dialog, button);
            EXPECT_EQ(ReadWholeFile(written), "mine");
            Click(dialog, button);
            EXPECT_NE(ReadWholeFile(written), "mine");
        });
        ASSERT_GE(messages.entries().size(), 2u) << button;
        EXPECT_EQ(messages.entries()[0],
                  (MessageRecorder::Entry{Kind::Question, written + " already exists.\nDo you want to replace it?"}));
        EXPECT_EQ(messages.entries()[1].kind, Kind::Question);
    }
}

// How many whole rows a table shows in its viewport.
int RowsShown(const QTableView* table) {
    return table->viewport()->height() / table->verticalHeader()->defaultSectionSize();
}

// The maps and the findings both get room at the first showing (they had eight rows and two); the split the user
// drags to stays for the run.
TEST_F(CheckWindowTest, TheMapsAndTheFindingsShareASplitThatStays) {
    Open("check_overflow");
    QList<int> dragged;
    WithCheckWindow([&](TFCheck& dialog) {
        const QTableView* map = ShowAddressMap(dialog);
        const auto* findings = dialog.findChild<QTableView*>("Findings");
        EXPECT_GE(RowsShown(map), 11);
        EXPECT_GE(RowsShown(findings), 4);
        auto* panes = dialog.findChild<QSplitter*>("Panes");
        const QList<int> sizes = panes->sizes();
        panes->setSizes({sizes[0] + sizes[1] - 120, 120});
        dragged = panes->sizes();
    });
    WithCheckWindow([&](TFCheck& dialog) { EXPECT_EQ(dialog.findChild<QSplitter*>("Panes")->sizes(), dragged); });
}

// A node's list of a hundred bytes is cut on its line, whole in its tool tip; a finding's text likewise.
TEST_F(CheckWindowTest, LongListsAndFindingsAreReadWholeInTheirToolTips) {
    Open("check_overflow");
    std::string in;
    std::string expected = "in";
    for (int byte = 1; byte <= 100; ++byte) {
        in += "<row Select=\"Y\" Mnemonic=\"Temperature sensor " + std::to_string(byte) + "\"/>";
        expected += (byte > 1 ? ", " : " ") + std::to_string(byte) + " Temperature sensor " + std::to_string(byte);
    }
    app.Write("PROJECTS" + S + "Plant1" + S + "DNET_Net.xml",
              "<DNET_Net><row ID=\"5\" NB_IN=\"100\" NB_OUT=\"0\" Mnemonic=\"Furnace\"/></DNET_Net>");
    app.Write("PROJECTS" + S + "Plant1" + S + "DefByte.xml",
              "<DefBytes><Nodo_DNET><ByteIN>" + in + "</ByteIN><ByteOUT/></Nodo_DNET></DefBytes>");
    WithCheckWindow([&](TFCheck& dialog) {
        const QAbstractItemModel* ioMap = dialog.findChild<QTableView*>("IoMap")->model();
        const QModelIndex bytes = ioMap->index(0, IoMapModel::ColBytes);
        const QString line = bytes.data().toString();
        EXPECT_TRUE(QString::fromStdString(expected).startsWith(line.chopped(3))) << line.toStdString();
        EXPECT_LT(line.size(), static_cast<qsizetype>(expected.size()));
        EXPECT_EQ(bytes.data(Qt::ToolTipRole).toString().toStdString(), "<p>" + expected + "</p>");
        const QAbstractItemModel* findings = dialog.findChild<QTableView*>("Findings")->model();
        ASSERT_GT(findings->rowCount(), 0);
        const std::string& text = dialog.Check().findings[0].text;
        EXPECT_EQ(findings->index(0, FindingsModel::ColText).data(Qt::ToolTipRole).toString(),
                  "<p>" + QString::fromStdString(text).toHtmlEscaped() + "</p>");
    });
}

}  // namespace
