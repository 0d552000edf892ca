#include "documents/ui/def_byte_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <memory>

#include "base/workspace.h"
#include "documents/def_byte.h"
#include "documents/ui/def_byte_fixture.h"
#include "support/temp_dir.h"
#include "support/ui/message_recorder.h"

using namespace tessara::documents;

namespace {

TEST_F(DefByteDialog, ShowsTheFirstNodeInGridsAsDesigned) {
    dir.Write("DNET_Net.xml", ReadFixture("defbyte_example/DNET_Net.xml"));
    Show();
    EXPECT_EQ(dialog->windowTitle(), "FDefByte");
    ASSERT_EQ(CB()->count(), 2);
    EXPECT_EQ(CB()->itemText(0), "5 ;4 ;2 ;Valve 3  (selected: 0 in, 0 out)");
    EXPECT_EQ(CB()->itemText(1), "12 ;10 ;0 ;  (selected: 0 in, 0 out)");
    EXPECT_EQ(CB()->currentIndex(), 0);
    EXPECT_EQ(dialog->CurrentNode(), 0);
    EXPECT_EQ(dialog->findChild<QLabel*>()->buddy(), CB());

    ASSERT_EQ(In()->model()->rowCount(), 4);
    ASSERT_EQ(Out()->model()->rowCount(), 2);
    EXPECT_EQ(Text(In(), 3, ColNumber), "4");
    EXPECT_EQ(Text(In(), 3, ColSelect), "N");
    EXPECT_EQ(Cell(In(), 3, ColSelect).data(Qt::CheckStateRole).toInt(), Qt::Unchecked);
    EXPECT_EQ(In()->model()->headerData(ColSelect, Qt::Horizontal).toString(), "Select");
    EXPECT_EQ(In()->rowHeight(3), 21);
    EXPECT_EQ(In()->verticalHeader()->sectionResizeMode(0), QHeaderView::Fixed);
    EXPECT_EQ(In()->columnWidth(ColNumber), 55);
    EXPECT_EQ(In()->columnWidth(ColSelect), 75);
    EXPECT_EQ(In()->columnWidth(ColMnemonic), 160);  // the designed 320 shared with the address and the tag
    EXPECT_EQ(Out()->columnWidth(ColMnemonic), 159);
    EXPECT_EQ(In()->columnWidth(ColAddress), 70);
    EXPECT_GE(In()->columnWidth(ColTag), 90);
    EXPECT_EQ(In()->horizontalScrollBar()->maximum(), 0);  // every column in view, the tag too
    EXPECT_FALSE(Cell(In(), 0, ColNumber).flags().testFlag(Qt::ItemIsEditable));
    EXPECT_TRUE(messages.entries().empty());
}

TEST_F(DefByteDialog, EditsSurviveSwitchingNodesAndOkWritesThem) {
    dir.Write("DNET_Net.xml", ReadFixture("defbyte_example/DNET_Net.xml"));
    Show();
    ClickSelect(In(), 0);
    SpaceOnSelect(In(), 2);
    ClickSelect(In(), 3);
    ClickSelect(In(), 3);  // a second click takes it back
    SpaceOnSelect(Out(), 1);
    TypeMnemonic(In(), 0, QString::fromUtf8("A&B <\"q\"> \xC3\xA9"));

    CB()->setCurrentIndex(1);
    EXPECT_EQ(dialog->CurrentNode(), 1);
    ASSERT_EQ(In()->model()->rowCount(), 10);
    EXPECT_EQ(Text(In(), 0, ColSelect), "N");
    EXPECT_EQ(Text(In(), 0, ColMnemonic), "");

    CB()->setCurrentIndex(0);
    EXPECT_EQ(Text(In(), 0, ColSelect), "Y");
    EXPECT_EQ(Text(In(), 2, ColSelect), "Y");
    EXPECT_EQ(Text(In(), 3, ColSelect), "N");
    EXPECT_EQ(Cell(In(), 2, ColSelect).data(Qt::CheckStateRole).toInt(), Qt::Checked);
    EXPECT_EQ(Text(In(), 0, ColMnemonic), QString::fromUtf8("A&B <\"q\"> \xC3\xA9"));

    TypeMnemonic(Out(), 1, "Pump");  // still being typed when OK is pressed
    QTest::mouseClick(dialog->findChild<QPushButton*>("bitbtn1"), Qt::LeftButton);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(dir.Read("DefByte.xml"), ReadFixture("defbyte_example/DefByte.xml"));
    EXPECT_TRUE(messages.entries().empty());
}

TEST_F(DefByteDialog, NodeWithoutInputBytesShowsOneBlankRowAndWritesAnEmptyGroup) {
    Network(NetRow(7, 0, 1));
    Show();
    ASSERT_EQ(In()->model()->rowCount(), 1);
    EXPECT_EQ(Text(In(), 0, ColNumber), "");
    EXPECT_FALSE(Cell(In(), 0, ColSelect).data(Qt::CheckStateRole).isValid());
    ClickSelect(In(), 0);
    EXPECT_FALSE(Cell(In(), 0, ColMnemonic).flags().testFlag(Qt::ItemIsEditable));
    dialog->bitbtn1Click();
    EXPECT_EQ(dir.Read("DefByte.xml"),
              "<DefBytes><Nodo_DNET><ByteIN/><ByteOUT>" + kRowN + "</ByteOUT></Nodo_DNET></DefBytes>");
}

TEST_F(DefByteDialog, CancelLeavesBothDocumentsUnchanged) {
    const std::string network = "<DNET_Net>\r\n  " + NetRow(1, 2, 0, "n") + "\r\n</DNET_Net>\r\n";
    const std::string bytes = "<!-- kept --><DefBytes><Nodo_DNET><ByteIN><row Select=\"y\" Mnemonic=\"m\"/>" + kRowN +
                              "</ByteIN><ByteOUT/></Nodo_DNET></DefBytes>";
    dir.Write("DNET_Net.xml", network);
    dir.Write("DefByte.xml", bytes);
    Show();
    EXPECT_EQ(Text(In(), 0, ColSelect), "Y");
    ClickSelect(In(), 0);
    ClickSelect(In(), 1);
    TypeMnemonic(In(), 0, "changed");
    QTest::mouseClick(dialog->findChild<QPushButton*>("bitbtn2"), Qt::LeftButton);
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_EQ(dir.Read("DNET_Net.xml"), network);
    EXPECT_EQ(dir.Read("DefByte.xml"), bytes);

    Show();
    EXPECT_EQ(Text(In(), 0, ColSelect), "Y");
    EXPECT_EQ(Text(In(), 1, ColSelect), "N");
    EXPECT_EQ(Text(In(), 0, ColMnemonic), "m");
}

// Selections belong to nodes by position: after another program rewrote the network, OK asks before saving them
// for whatever nodes now stand there; No keeps the stored selections.
TEST_F(DefByteDialog, OkAsksWhenAnotherProgramChangedTheNetworkSinceTheEditorOpened) {
    Network(NetRow(1, 2, 0) + NetRow(2, 1, 0));
    dir.Write("DefByte.xml", "<DefBytes/>");
    for (const bool yes : {false, true}) {
        messages.clear();
        Show();
        ClickSelect(In(), 0);
        Network(NetRow(yes ? 3 : 2, 1, 0) + NetRow(1, 2, 0));
        messages.Answer(yes);
        dialog->bitbtn1Click();
        EXPECT_EQ(messages.entries(),
                  (std::vector<MessageRecorder::Entry>{
                      {MessageRecorder::Kind::Question,
                       "DNET_Net.xml was changed by another program since it was opened: its nodes may have moved, "
                       "and the selections would go to the nodes now at their positions. Save anyway?"}}));
        EXPECT_EQ(dialog->isVisible(), !yes);
        EXPECT_EQ(dir.Read("DefByte.xml") == "<DefBytes/>", !yes);
    }
    messages.clear();
    Show();
    dialog->bitbtn1Click();
    EXPECT_TRUE(messages.entries().empty());
}

TEST_F(DefByteDialog, WithoutNetworkOkWritesTheRootAlone) {
    dir.Write("DefByte.xml", "<DefBytes><Nodo_DNET><ByteIN/><ByteOUT/></Nodo_DNET></DefBytes>");
    Show();
    EXPECT_EQ(CB()->count(), 0);
    EXPECT_EQ(dialog->CurrentNode(), -1);
    EXPECT_EQ(In()->model()->rowCount(), 0);
    dialog->bitbtn1Click();
    EXPECT_EQ(dir.Read("DefByte.xml"), "<DefBytes/>");
}

TEST_F(DefByteDialog, NetworkErrorListsTheNodesReadAndOkRefusesToDropTheStoredSelections) {
    Network(NetRow(1, 1, 0) + "<row ID=\"2\" NB_IN=\"3\" NB_OUT=\"0\"/>" + NetRow(3, 2, 0));
    const std::string stored =
        "<DefBytes><Nodo_DNET><ByteIN><row Select=\"Y\" Mnemonic=\"\"/></ByteIN><ByteOUT/></Nodo_DNET></DefBytes>";
    dir.Write("DefByte.xml", stored);
    Show();
    ASSERT_EQ(messages.entries().size(), 1u);
    EXPECT_EQ(messages.entries()[0].kind, MessageRecorder::Kind::Unhandled);
    EXPECT_NE(messages.entries()[0].text.find("\"Mnemonic\" is missing"), std::string::npos);
    ASSERT_EQ(CB()->count(), 1);
    EXPECT_EQ(CB()->currentIndex(), -1);
    EXPECT_EQ(dialog->CurrentNode(), -1);
    EXPECT_EQ(In()->model()->rowCount(), 0);

    CB()->setCurrentIndex(0);  // the byte document was not read, so nothing is selected
    EXPECT_EQ(dialog->CurrentNode(), 0);
    EXPECT_EQ(Text(In(), 0, ColSelect), "N");
    messages.clear();
    dialog->bitbtn1Click();
    ASSERT_EQ(messages.entries().size(), 1u);
    EXPECT_EQ(messages.entries()[0].kind, MessageRecorder::Kind::Error);
    EXPECT_EQ(messages.entries()[0].text.rfind("Error!! DNET_Net.xml could not be read", 0), 0u);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dir.Read("DefByte.xml"), stored);
}

TEST_F(DefByteDialog, ByteDocumentErrorLeavesNoNodeCurrentUntilOneIsPicked) {
    Network(NetRow(1, 2, 0) + NetRow(2, 1, 0));
    dir.Write("DefByte.xml",
              "<DefBytes><Nodo_DNET><ByteIN><row Select=\"Y\" Mnemonic=\"a\"/></ByteIN></Nodo_DNET>"
              "</DefBytes>");
    Show();
    ASSERT_EQ(messages.entries().size(), 1u);
    EXPECT_EQ(messages.entries()[0].kind, MessageRecorder::Kind::Unhandled);
    EXPECT_EQ(CB()->count(), 2);
    EXPECT_EQ(CB()->currentIndex(), -1);
    EXPECT_EQ(In()->model()->rowCount(), 0);

    CB()->setCurrentIndex(0);
    EXPECT_EQ(Text(In(), 0, ColSelect), "Y");
    EXPECT_EQ(Text(In(), 0, ColMnemonic), "a");
}

TEST_F(DefByteDialog, FailedSaveIsReportedAndTheDialogStaysOpen) {
    Network(NetRow(1, 1, 0));
    ws.DefByteFile = dir.File("gone") + "/DefByte.xml";
    Show();
    ClickSelect(In(), 0);
    dialog->bitbtn1Click();
    ASSERT_EQ(messages.entries().size(), 1u);
    EXPECT_EQ(messages.entries()[0].kind, MessageRecorder::Kind::Unhandled);
    EXPECT_NE(messages.entries()[0].text.find("DefByte.xml"), std::string::npos);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(Text(In(), 0, ColSelect), "Y");
}

TEST_F(DefByteDialog, LargestNodeKeepsAnEditAtItsLastByteAcrossSwitchingAndWriting) {
    Network(NetRow(1, 65535, 65535, "big") + NetRow(2, 1, 1));
    Show();
    ASSERT_EQ(In()->model()->rowCount(), 65535);
    ASSERT_EQ(Out()->model()->rowCount(), 65535);
    EXPECT_EQ(Text(In(), 65534, ColNumber), "65535");
    ClickSelect(In(), 65534);
    TypeMnemonic(In(), 65534, "last in");
    SpaceOnSelect(Out(), 65534);
    TypeMnemonic(Out(), 65534, "last out");

    CB()->setCurrentIndex(1);
    EXPECT_EQ(In()->model()->rowCount(), 1);
    CB()->setCurrentIndex(0);
    EXPECT_EQ(Text(In(), 65534, ColSelect), "Y");
    EXPECT_EQ(Text(In(), 65534, ColMnemonic), "last in");
    EXPECT_EQ(Text(Out(), 65534, ColMnemonic), "last out");
    dialog->bitbtn1Click();
    EXPECT_TRUE(messages.entries().empty());

    XmlDocument xml;
    DefByteTable table;
    size_t nodesRead = 0;
    ReadDNetNodes(xml, ws.DNetNetFile, table, nodesRead);
    ReadDefBytes(xml, ws.DefByteFile, table);
    ASSERT_EQ(ChildCount(ChildAt(ChildAt(xml.FirstTopLevelNode(), 0), 0)), 65535u);
    EXPECT_TRUE(table[0].InSelect[65534] && table[0].OutSelect[65534]);
    EXPECT_FALSE(table[0].InSelect[65533] || table[0].OutSelect[65533]);
    EXPECT_EQ(table[0].InMnemonic[65534], "last in");
    EXPECT_EQ(table[0].OutMnemonic[65534], "last out");
}

TEST_F(DefByteEditing, AllNoneAndInvertActOnTheNodeAndPageShownAndTheListCountsThem) {
    ClickSelect(In(), 1);
    Click("btn_Invert");
    EXPECT_EQ(Selections(In()), "YNYY");
    EXPECT_EQ(Selections(Out()), "NN");  // the other direction is left alone
    EXPECT_EQ(CB()->itemText(0), "5 ;4 ;2 ;Valve 3  (selected: 3 in, 0 out)");
    dialog->findChild<QTabWidget*>()->setCurrentIndex(1);
    Click("btn_SelectAll");
    EXPECT_EQ(Selections(Out()), "YY");
    EXPECT_EQ(CB()->itemText(0), "5 ;4 ;2 ;Valve 3  (selected: 3 in, 2 out)");
    dialog->findChild<QTabWidget*>()->setCurrentIndex(0);
    Click("btn_SelectNone");
    EXPECT_EQ(Selections(In()), "NNNN");
    EXPECT_EQ(CB()->itemText(1), "12 ;3 ;0 ;  (selected: 0 in, 0 out)");
}

TEST_F(DefByteEditing, SpaceTogglesEverySelectedSelectCellAsOneStep) {
    ClickSelect(In(), 0);
    SelectCells(In(), 0, ColSelect, 2, ColMnemonic);
    Key(Qt::Key_Space);
    EXPECT_EQ(Selections(In()), "NYYN");
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Selections(In()), "YNNN");
    Key(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(Selections(In()), "NYYN");
}

TEST_F(DefByteEditing, UndoGoesBackToTheNodeWhoseBytesItChanges) {
    TypeMnemonic(In(), 1, "Level");
    dialog->StoreNodeBytes();
    CB()->setCurrentIndex(1);
    ClickSelect(In(), 2);
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Selections(In()), "NNN");
    Key(Qt::Key_Z, Qt::ControlModifier);  // the mnemonic was typed on node 0: the editor shows it again
    EXPECT_EQ(CB()->currentIndex(), 0);
    EXPECT_EQ(dialog->CurrentNode(), 0);
    EXPECT_EQ(Text(In(), 1, ColMnemonic), "");
    Key(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(Text(In(), 1, ColMnemonic), "Level");
}

// Steps name their bytes by node index and row. After a reload those may name other bytes or none at all, so
// nothing done in the last showing can be redone into the new table.
TEST_F(DefByteEditing, AReloadDropsTheStepsOfTheLastShowing) {
    ClickSelect(In(), 0);
    CB()->setCurrentIndex(1);
    ClickSelect(In(), 2);
    Key(Qt::Key_Z, Qt::ControlModifier);
    Key(Qt::Key_Z, Qt::ControlModifier);
    dialog->reject();  // all undone: nothing to discard

    Network(NetRow(5, 4, 2, "Valve 3"));
    Show();
    QApplication::setActiveWindow(dialog.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    In()->setFocus();
    Key(Qt::Key_Y, Qt::ControlModifier);
    Key(Qt::Key_Y, Qt::ControlModifier);
    ASSERT_EQ(CB()->count(), 1);
    EXPECT_EQ(Selections(In()), "NNNN");
    EXPECT_EQ(CB()->itemText(0), "5 ;4 ;2 ;Valve 3  (selected: 0 in, 0 out)");
    EXPECT_TRUE(messages.entries().empty());
}

TEST_F(DefByteEditing, PasteTakesSpreadsheetSelectionsAndCopyGivesThemBack) {
    QApplication::clipboard()->setText("y\tFirst\n1\t\nx\tThird\nN\tFourth\n0\tFifth\n");
    In()->setCurrentIndex(Cell(In(), 0, ColNumber));  // the byte number is no data: the paste starts at "Select"
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Selections(In()), "YYYN");
    EXPECT_EQ(Text(In(), 3, ColMnemonic), "Fourth");
    EXPECT_EQ(messages.texts(), std::vector<std::string>{"1 row did not fit in the grid."});

    messages.clear();
    QApplication::clipboard()->setText("yes\tA\n\tB\n");
    In()->setCurrentIndex(Cell(In(), 0, ColSelect));
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Selections(In()), "YNYN");  // "yes" is not understood; a blank clears
    EXPECT_EQ(messages.texts(),
              std::vector<std::string>{"1 cell was not pasted: \"Select\" takes Y or N, 1 or 0, x or blank."});

    SelectCells(In(), 2, ColSelect, 3, ColMnemonic);
    Key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), "Y\tThird\nN\tFourth\n");

    Click("bitbtn1");
    EXPECT_NE(dir.Read("DefByte.xml").find("<row Select=\"N\" Mnemonic=\"B\"/><row Select=\"Y\" Mnemonic=\"Third\"/>"),
              std::string::npos);
}

// A click in the "N" column selects rows without toggling; Space then toggles each of their bytes once.
TEST_F(DefByteEditing, ClicksInTheNumberColumnSelectRowsForSpaceWithoutToggling) {
    const auto click = [&](int row, Qt::KeyboardModifiers modifiers) {
        QTest::mouseClick(In()->viewport(), Qt::LeftButton, modifiers,
                          In()->visualRect(Cell(In(), row, ColNumber)).center());
    };
    click(1, Qt::NoModifier);
    click(3, Qt::ShiftModifier);
    EXPECT_EQ(Selections(In()), "NNNN");
    Key(Qt::Key_Space);
    EXPECT_EQ(Selections(In()), "NYYY");
    click(0, Qt::NoModifier);
    click(2, Qt::ControlModifier);
    Key(Qt::Key_Space);
    EXPECT_EQ(Selections(In()), "YYNY");

    // Rows chosen so copy as their data, without the byte numbers (row 1 was not chosen).
    Key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), "Y\t\n\t\nN\t\n");
}

}  // namespace
