#include "documents/ui/dnet_network_dialog.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <tuple>

#include "base/file_system.h"
#include "base/workspace.h"
#include "documents/ui/dnet_table_model.h"
#include "support/temp_dir.h"
#include "support/ui/message_recorder.h"
#include "support/ui/scripted_file_dialogs.h"

using namespace tessara::base;
using namespace tessara::documents;

namespace {

using Kind = MessageRecorder::Kind;

class TFDNetTest : public testing::Test {
protected:
    TFDNetTest() {
        ws.ProjectDir = dir.path();
        ws.BuildDocumentPaths();
    }

    QTableView* Grid() { return dialog.findChild<QTableView*>(); }
    QPushButton* Button(const char* name) { return dialog.findChild<QPushButton*>(QString::fromLatin1(name)); }
    std::string Cell(int row, int column) {
        return Grid()->model()->index(row, column).data().toString().toStdString();
    }
    void SetCell(int row, int column, const char* text) {
        Grid()->model()->setData(Grid()->model()->index(row, column), QString::fromUtf8(text));
    }
    void ClickOk() { QTest::mouseClick(Button("bitbtn1"), Qt::LeftButton); }
    std::string Network() const { return dir.Read("DNET_Net.xml"); }

    MessageRecorder messages;
    TempDir dir;
    Workspace ws;
    TFDNet dialog{ws};
};

TEST_F(TFDNetTest, WindowAndGridHaveTheDesignedShape) {
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), "DeviceNet Network");
    EXPECT_EQ(dialog.size(), QSize(625, 554));
    EXPECT_NE(dialog.minimumSize(), dialog.maximumSize());
    QTableView* grid = Grid();
    ASSERT_TRUE(grid);
    EXPECT_EQ(grid->geometry(), QRect(0, 0, 625, 554 - 39));
    EXPECT_EQ(Button("bitbtn1")->geometry(), QRect(12, 10, 93, 23));
    EXPECT_EQ(Button("bitbtn1")->text(), "OK");
    EXPECT_EQ(Button("bitbtn2")->geometry(), QRect(116, 10, 93, 23));
    EXPECT_EQ(Button("bitbtn2")->text(), "Cancel");

    QAbstractItemModel* model = grid->model();
    ASSERT_EQ(model->rowCount(), 64);
    ASSERT_EQ(model->columnCount(), 5);
    const char* const headers[] = {"N", "ID", "N BYTE IN", "N BYTE OUT", "MNEMONIC"};
    const int widths[] = {45, 65, 75, 75, 255};
    for (int column = 0; column < 5; ++column) {
        EXPECT_EQ(model->headerData(column, Qt::Horizontal).toString(), headers[column]);
        EXPECT_EQ(grid->columnWidth(column), widths[column]);
    }
    EXPECT_EQ(grid->rowHeight(0), 21);
    EXPECT_EQ(grid->rowHeight(63), 21);
    EXPECT_EQ(Cell(0, 0), "1");
    EXPECT_EQ(Cell(63, 0), "64");
    EXPECT_FALSE(model->flags(model->index(5, 0)) & Qt::ItemIsEditable);
    for (int column = 1; column < 5; ++column) {
        EXPECT_TRUE(model->flags(model->index(63, column)) & Qt::ItemIsEditable);
    }
    EXPECT_FALSE(model->setData(model->index(0, 0), "9"));
    EXPECT_EQ(Cell(0, 0), "1");
}

TEST_F(TFDNetTest, ShowsTheDocumentAndOkWritesItBack) {
    const std::string document = ReadFixture("dnet_two_nodes/DNET_Net.xml");
    dir.Write("DNET_Net.xml", document);
    dialog.show();
    EXPECT_EQ(Cell(0, 1) + "|" + Cell(0, 2) + "|" + Cell(0, 3) + "|" + Cell(0, 4), "5|4|2|Valve 3");
    EXPECT_EQ(Cell(1, 1) + "|" + Cell(1, 4), "12|");
    EXPECT_EQ(Cell(2, 1), "");
    ClickOk();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(Network(), document);
    EXPECT_TRUE(messages.entries().empty());
}

TEST_F(TFDNetTest, RowsBelowAnEmptyIdAreSavedOnlyWhenTheUserAgreesToDropThem) {
    dialog.show();
    for (int row : {0, 1, 2}) {
        SetCell(row, 1, "3");
        SetCell(row, 2, "1");
        SetCell(row, 3, "1");
    }
    SetCell(24, 4, "only a mnemonic");
    const MessageRecorder::Entry question{
        Kind::Question, "Row 25 and the rows after it stand below an empty row and will not be saved. Save anyway?"};
    ClickOk();
    EXPECT_EQ(messages.entries(), std::vector<MessageRecorder::Entry>{question});
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_FALSE(FileExists(ws.DNetNetFile));

    messages.clear();
    messages.Answer(true);
    ClickOk();
    EXPECT_EQ(messages.entries(), std::vector<MessageRecorder::Entry>{question});
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    dialog.show();
    EXPECT_EQ(Cell(2, 1), "3");
    EXPECT_EQ(Cell(24, 4), "");
}

// A row whose ID was forgotten ended the list in silence: it and every row after it were lost.
TEST_F(TFDNetTest, ARowWithoutItsIdIsAskedAboutLikeTheRowsBelowTheList) {
    dialog.show();
    SetCell(0, 1, "3");
    SetCell(0, 2, "1");
    SetCell(0, 3, "1");
    SetCell(1, 2, "4");
    SetCell(1, 4, "Valve");
    ClickOk();
    EXPECT_EQ(messages.entries(),
              (std::vector<MessageRecorder::Entry>{
                  {Kind::Question, "Row 2 has no ID, so it and the rows after it will not be saved. Save anyway?"}}));
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_FALSE(FileExists(ws.DNetNetFile));
}

// 70 rows loaded, 64 written and not a word: the 6 beyond the grid are named, and No, the default, keeps them.
TEST_F(TFDNetTest, RowsBeyondTheGridAreDroppedOnlyWhenTheUserAgrees) {
    std::string first64;
    std::string last6;
    for (int i = 0; i < 70; ++i) {
        (i < 64 ? first64 : last6) +=
            "<row ID=\"" + std::to_string(i % 64) + "\" NB_IN=\"1\" NB_OUT=\"1\" Mnemonic=\"\"/>";
    }
    const std::string document = "<DNET_Net>" + first64 + last6 + "</DNET_Net>";
    dir.Write("DNET_Net.xml", document);
    dialog.show();
    EXPECT_TRUE(messages.entries().empty());
    const MessageRecorder::Entry question{
        Kind::Question,
        "DNET_Net.xml holds 70 rows and the grid shows the first 64: saving drops the last 6. Replace it?"};
    ClickOk();
    EXPECT_EQ(messages.entries(), std::vector<MessageRecorder::Entry>{question});
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(Network(), document);

    messages.clear();
    messages.Answer(true);
    ClickOk();
    EXPECT_EQ(messages.entries(), std::vector<MessageRecorder::Entry>{question});
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(Network(), "<DNET_Net>" + first64 + "</DNET_Net>");
}

TEST_F(TFDNetTest, RefusedOkKeepsTheGridAndWritesNothing) {
    dialog.show();
    SetCell(0, 1, "1");
    SetCell(0, 2, "1");
    SetCell(0, 3, "1");
    SetCell(1, 1, " ");
    SetCell(1, 4, "kept");
    ClickOk();
    EXPECT_EQ(messages.entries(),
              (std::vector<MessageRecorder::Entry>{{Kind::Error, "Error in row 2!! ID must be between 0 and 63. "}}));
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(Cell(1, 4), "kept");
    EXPECT_FALSE(FileExists(ws.DNetNetFile));
}

TEST_F(TFDNetTest, CancelWritesNothingAndTheNextShowingForgetsTheEdits) {
    const std::string document = "<DNET_Net>\n  <row Mnemonic=\"m\" NB_OUT=\"1\" NB_IN=\"2\" ID=\"3\"/>\n</DNET_Net>\n";
    dir.Write("DNET_Net.xml", document);
    dialog.show();
    SetCell(0, 1, "60");
    SetCell(1, 1, "61");
    messages.Answer(true);  // discard the edits
    QTest::mouseClick(Button("bitbtn2"), Qt::LeftButton);
    EXPECT_EQ(messages.texts(), std::vector<std::string>{"Discard your changes?"});
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(Network(), document);
    dialog.show();
    EXPECT_EQ(Cell(0, 1), "3");
    EXPECT_EQ(Cell(1, 1), "");
}

TEST_F(TFDNetTest, FailedLoadIsReportedAndTheRowsReadSoFarStay) {
    dir.Write("DNET_Net.xml",
              "<DNET_Net><row ID=\"5\" NB_IN=\"1\" NB_OUT=\"2\" Mnemonic=\"a\"/>"
              "<row ID=\"6\" NB_IN=\"3\"/><row ID=\"7\" NB_IN=\"1\" NB_OUT=\"1\" Mnemonic=\"\"/></DNET_Net>");
    dialog.show();
    EXPECT_EQ(
        messages.entries(),
        (std::vector<MessageRecorder::Entry>{
            {Kind::Unhandled, "Attribute \"NB_OUT\" is missing in element \"row\" (in " + ws.DNetNetFile + ")"}}));
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(Cell(0, 4), "a");
    EXPECT_EQ(Cell(1, 1) + "|" + Cell(1, 2) + "|" + Cell(1, 3), "6|3|");
    EXPECT_EQ(Cell(2, 1), "");

    // The rest of the file is not in the grid: No, the default, keeps the file and the dialog.
    const std::string document = Network();
    const MessageRecorder::Entry question{Kind::Question,
                                          "DNET_Net.xml could not be read whole; saving now keeps only the 2 rows "
                                          "shown and drops the rest of the file. Replace it?"};
    messages.clear();
    SetCell(1, 3, "0");
    ClickOk();
    EXPECT_EQ(messages.entries(), std::vector<MessageRecorder::Entry>{question});
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(Network(), document);

    messages.clear();
    messages.Answer(true);
    ClickOk();
    EXPECT_EQ(messages.entries(), std::vector<MessageRecorder::Entry>{question});
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(Network(),
              "<DNET_Net><row ID=\"5\" NB_IN=\"1\" NB_OUT=\"2\" Mnemonic=\"a\"/>"
              "<row ID=\"6\" NB_IN=\"3\" NB_OUT=\"0\" Mnemonic=\"\"/></DNET_Net>");
}

TEST_F(TFDNetTest, FailedSaveIsReportedAndKeepsTheDialogOpen) {
    dir.Write("DNET_Net.xml/keep.txt", "x");
    dialog.show();
    EXPECT_EQ(messages.entries(), (std::vector<MessageRecorder::Entry>{
                                      {Kind::Unhandled, "Cannot read \"" + ws.DNetNetFile + "\": it is a folder."}}));
    messages.clear();
    SetCell(0, 1, "1");
    SetCell(0, 2, "1");
    SetCell(0, 3, "1");
    messages.Answer(true);  // replace what could not be read
    ClickOk();
    ASSERT_EQ(messages.entries().size(), 2u);
    EXPECT_EQ(messages.entries()[0].kind, Kind::Question);
    EXPECT_EQ(messages.entries()[1].kind, Kind::Unhandled);
    EXPECT_NE(messages.entries()[1].text.find(ws.DNetNetFile), std::string::npos);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(Cell(0, 1), "1");
    EXPECT_EQ(dir.Read("DNET_Net.xml/keep.txt"), "x");
}

class TFDNetKeysTest : public TFDNetTest {
protected:
    void SetUp() override {
        dialog.show();
        QApplication::setActiveWindow(&dialog);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
        Grid()->setFocus();
    }
    // Keys go where the user's would: to whichever widget has the focus, the grid or its cell editor.
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
    }
    void Type(const char* text) {
        for (const char* c = text; *c; ++c) QTest::keyClick(QApplication::focusWidget(), *c);
    }
    void Select(int row, int column) { Grid()->setCurrentIndex(Grid()->model()->index(row, column)); }
    std::pair<int, int> Current() { return {Grid()->currentIndex().row(), Grid()->currentIndex().column()}; }
};

TEST_F(TFDNetKeysTest, TypingReplacesTheCellAndTabMovesRightThenToTheNextRow) {
    SetCell(0, 1, "55");
    Select(0, 1);
    Type("12");
    Key(Qt::Key_Tab);
    EXPECT_EQ(Cell(0, 1), "12");
    EXPECT_EQ(Current(), std::make_pair(0, 2));
    Key(Qt::Key_Escape);  // leave the editor Tab opened
    Select(0, 4);
    Type("m");
    Key(Qt::Key_Tab);
    EXPECT_EQ(Cell(0, 4), "m");
    EXPECT_EQ(Current(), std::make_pair(1, 1));
}

TEST_F(TFDNetKeysTest, EnterCommitsAndMovesDownWithoutConfirmingTheDialog) {
    Select(0, 2);
    Type("4");
    Key(Qt::Key_Return);
    QApplication::processEvents();  // the editor commits after the key
    EXPECT_EQ(Cell(0, 2), "4");
    EXPECT_EQ(Current(), std::make_pair(1, 2));
    Key(Qt::Key_Return);
    EXPECT_EQ(Current(), std::make_pair(2, 2));
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_FALSE(FileExists(ws.DNetNetFile));
}

TEST_F(TFDNetKeysTest, DeleteEmptiesEverySelectedCell) {
    for (int row : {0, 1}) {
        for (int column = 1; column < 5; ++column) SetCell(row, column, "9");
    }
    QItemSelectionModel* selection = Grid()->selectionModel();
    selection->select(QItemSelection(Grid()->model()->index(0, 0), Grid()->model()->index(1, 2)),
                      QItemSelectionModel::ClearAndSelect);
    Key(Qt::Key_Delete);
    EXPECT_EQ(Cell(0, 0), "1");
    EXPECT_EQ(Cell(0, 1) + Cell(0, 2) + Cell(1, 1) + Cell(1, 2), "");
    EXPECT_EQ(Cell(0, 3) + Cell(1, 4), "99");
}

// The list column by column: "ID|NB_IN|NB_OUT|Mnemonic" of every node, blank-separated.
std::string ListOf(const QAbstractItemModel& model) {
    std::string list;
    for (int row = 0; !model.index(row, 1).data().toString().isEmpty(); ++row) {
        for (int column = 1; column < 5; ++column) {
            list += model.index(row, column).data().toString().toStdString() + (column < 4 ? "|" : " ");
        }
    }
    return list;
}

class TFDNetRowsTest : public TFDNetKeysTest {
protected:
    void SetUp() override {
        dir.Write("DNET_Net.xml", ReadFixture("image_worked_example/DNET_Net.xml"));
        dir.Write("DefByte.xml", ReadFixture("image_worked_example/DefByte.xml"));
        TFDNetKeysTest::SetUp();
    }
    std::string List() { return ListOf(*Grid()->model()); }
    QAction* Action(const QString& text) {
        for (QAction* action : Grid()->actions()) {
            if (action->text() == text) return action;
        }
        return nullptr;
    }
};

TEST_F(TFDNetRowsTest, ShortcutsInsertDeleteAndMoveRowsAndUndoRedoThem) {
    EXPECT_EQ(List(), "5|3|2|Valve 3 12|10|0|Conveyor drive ");
    Select(1, 1);
    Key(Qt::Key_I, Qt::ControlModifier);
    EXPECT_EQ(Cell(1, 1), "");
    EXPECT_EQ(Cell(2, 1), "12");
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(List(), "5|3|2|Valve 3 12|10|0|Conveyor drive ");
    Key(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(Cell(2, 1), "12");
    Key(Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(List(), "5|3|2|Valve 3 12|10|0|Conveyor drive ");
    Select(1, 4);
    Key(Qt::Key_Up, Qt::AltModifier);
    EXPECT_EQ(List(), "12|10|0|Conveyor drive 5|3|2|Valve 3 ");
    EXPECT_EQ(Current(), std::make_pair(0, 4));  // the cursor went with its row
    Key(Qt::Key_Down, Qt::AltModifier);
    EXPECT_EQ(List(), "5|3|2|Valve 3 12|10|0|Conveyor drive ");
    EXPECT_TRUE(messages.entries().empty());
}

TEST_F(TFDNetRowsTest, ContextMenuOffersTheRowOperationsAndInsertingOnAFullGridIsRefused) {
    for (const char* text : {"Copy", "Paste", "Insert row above", "Delete rows", "Move up", "Move down",
                             "Import EDS...", "Undo", "Redo"}) {
        EXPECT_TRUE(Action(QString::fromLatin1(text))) << text;
    }
    EXPECT_EQ(Grid()->contextMenuPolicy(), Qt::ActionsContextMenu);
    SetCell(63, 4, "last row in use");
    Select(0, 1);
    Action(QStringLiteral("Insert row above"))->trigger();
    EXPECT_EQ(messages.texts(),
              std::vector<std::string>{"Error!! Row 64 is not empty: delete a row before inserting one. "});
    EXPECT_EQ(Cell(0, 1), "5");
}

TEST_F(TFDNetRowsTest, OkAfterARowOperationSaysSoAndMovesTheSelections) {
    Select(1, 1);
    Key(Qt::Key_Up, Qt::AltModifier);
    ClickOk();
    ASSERT_EQ(messages.entries().size(), 1u);
    EXPECT_EQ(messages.entries()[0].kind, Kind::Message);
    EXPECT_NE(messages.entries()[0].text.find("DefByte.xml is rewritten"), std::string::npos);
    EXPECT_NE(messages.entries()[0].text.find("the PLC addresses of the selected bytes from the first changed row on "
                                              "move"),
              std::string::npos);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    // The conveyor's ten input bytes now come first.
    EXPECT_EQ(dir.Read("DefByte.xml")
                  .find("<DefBytes><Nodo_DNET><ByteIN><row Select=\"N\" Mnemonic=\"\"/><row "
                        "Select=\"Y\""),
              0u);
}

// Another tool saved the byte selections while this editor was open: the rewrite after a row operation asks
// first, and No keeps the dialog open with both documents as they are.
TEST_F(TFDNetRowsTest, ARewriteOfAByteDocumentChangedSinceItWasOpenedAsksFirst) {
    Select(1, 1);
    Key(Qt::Key_Up, Qt::AltModifier);
    dir.Write("DefByte.xml", "<DefBytes/>");
    const std::string network = Network();
    ClickOk();
    EXPECT_EQ(messages.entries(),
              (std::vector<MessageRecorder::Entry>{
                  {Kind::Question, "DefByte.xml was changed by another program since it was opened. Replace it?"}}));
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dir.Read("DefByte.xml"), "<DefBytes/>");
    EXPECT_EQ(Network(), network);
}

// A lowered byte count drops the selected bytes beyond it: OK asks first, one question for every such node, No
// (the default) keeps the dialog open and both documents as they are. Unselected bytes ask nothing.
TEST_F(TFDNetRowsTest, LoweringAByteCountBelowSelectedBytesAsksFirst) {
    struct Case {
        std::vector<std::tuple<int, int, const char*>> edits;
        bool moveSecondUp;
        const char* question;
    };
    const Case cases[] = {
        {{{1, 2, "7"}}, false, "Node 2 (ID 12) loses 2 selected input bytes. Continue?"},
        {{{0, 2, "7"}}, true, "Node 1 (ID 12) loses 2 selected input bytes. Continue?"},
        {{{0, 2, "2"}, {0, 3, "1"}, {1, 2, "8"}},
         false,
         "Node 1 (ID 5) loses 1 selected input byte and 1 selected output byte.\nNode 2 (ID 12) loses 1 selected "
         "input byte.\n\nContinue?"},
    };
    const std::string network = Network();
    for (const Case& c : cases) {
        messages.clear();
        dialog.hide();
        dialog.show();
        if (c.moveSecondUp) {
            Select(1, 1);
            dialog.MoveUpClick();
            ASSERT_EQ(Cell(0, 1), "12");
        }
        for (const auto& [row, column, text] : c.edits) SetCell(row, column, text);
        ClickOk();
        EXPECT_EQ(messages.entries(), (std::vector<MessageRecorder::Entry>{{Kind::Question, c.question}}));
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(Network(), network);
    }
    messages.clear();
    messages.Answer(true);
    ClickOk();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_NE(Network().find("NB_IN=\"8\""), std::string::npos);

    messages.clear();
    dialog.show();
    SetCell(1, 2, "9");  // byte 10 is not selected
    ClickOk();
    EXPECT_TRUE(messages.entries().empty());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST_F(TFDNetRowsTest, TypingAloneLeavesTheByteDocumentAlone) {
    SetCell(0, 2, "4");
    Select(1, 1);
    Key(Qt::Key_I, Qt::ControlModifier);
    Key(Qt::Key_Z, Qt::ControlModifier);  // an operation undone leaves the rows where they were loaded
    ClickOk();
    EXPECT_TRUE(messages.entries().empty());
    EXPECT_EQ(dir.Read("DefByte.xml"), ReadFixture("image_worked_example/DefByte.xml"));
}

TEST_F(TFDNetRowsTest, CopyGivesSpreadsheetTextAndPasteStopsAtTheGridsEdge) {
    Grid()->selectionModel()->select(QItemSelection(Grid()->model()->index(0, 1), Grid()->model()->index(1, 2)),
                                     QItemSelectionModel::ClearAndSelect);
    Key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), "5\t3\n12\t10\n");

    QApplication::clipboard()->setText("1\t2\t3\tA\textra\r\n4\t5\t6\tB\r\n7\t8\t9\tC\r\n");
    Select(62, 1);
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Cell(62, 1) + Cell(62, 4) + Cell(63, 1) + Cell(63, 4), "1A4B");
    EXPECT_EQ(messages.texts(), std::vector<std::string>{"1 row and 1 column did not fit in the grid."});
    Key(Qt::Key_Z, Qt::ControlModifier);  // the whole paste is one step
    EXPECT_EQ(Cell(62, 1) + Cell(63, 4), "");
}

TEST_F(TFDNetRowsTest, ImportEdsFillsTheRowOrNamesTheFaultInTheFile) {
    ScriptedFileDialogs files;
    files.Answer(QString::fromStdString(FixturePath("eds_good/valve_block.eds")));
    files.Answer(QString::fromStdString(FixturePath("eds_broken/bad_input_size.eds")));
    files.Answer(QString());
    Select(1, 1);
    // The button beside the grid is the context menu's action.
    auto* button = dialog.findChild<QPushButton*>(QStringLiteral("btn_Import_Eds"));
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->text(), "Import EDS...");
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(List(), "5|3|2|Valve 3 12|6|4|Valve block VB-8 ");
    Action(QStringLiteral("Import EDS..."))->trigger();
    ASSERT_EQ(messages.entries().size(), 1u);
    EXPECT_EQ(messages.entries()[0].kind, Kind::Error);
    EXPECT_EQ(
        messages.entries()[0].text.rfind("Error!! " + FixturePath("eds_broken/bad_input_size.eds") + ", line 6: ", 0),
        0u);
    Action(QStringLiteral("Import EDS..."))->trigger();  // cancelled: nothing changes
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(List(), "5|3|2|Valve 3 12|10|0|Conveyor drive ");
    EXPECT_EQ(files.startDirs.front().toStdString(), dir.path());
}

}  // namespace
