#include "documents/def_byte_dialog.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <memory>

#include "app/workspace.h"
#include "documents/def_byte.h"
#include "support/message_recorder.h"
#include "support/temp_dir.h"

namespace {

enum Column { ColNumber, ColSelect, ColMnemonic };

const std::string kRowN = "<row Select=\"N\" Mnemonic=\"\"/>";

std::string NetRow(int id, int in, int out, const std::string& mnemonic = "") {
    return "<row ID=\"" + std::to_string(id) + "\" NB_IN=\"" + std::to_string(in) + "\" NB_OUT=\"" +
           std::to_string(out) + "\" Mnemonic=\"" + mnemonic + "\"/>";
}

class DefByteDialog : public ::testing::Test {
protected:
    DefByteDialog() {
        ws.ProjectDir = dir.path();
        ws.BuildDocumentPaths();
        dialog = std::make_unique<TFDefByte>(ws);
    }

    void Network(const std::string& rows) { dir.Write("DNET_Net.xml", "<DNET_Net>" + rows + "</DNET_Net>"); }

    // Every showing reloads, as when the main window runs the dialog again.
    void Show() {
        dialog->hide();
        dialog->show();
    }

    QComboBox* CB() const { return dialog->findChild<QComboBox*>("CB"); }
    QTableView* Grid(const char* name) const { return dialog->findChild<QTableView*>(name); }
    QTableView* In() const { return Grid("ASG_IN"); }
    QTableView* Out() const { return Grid("ASG_OUT"); }

    static QModelIndex Cell(QTableView* grid, int row, int column) { return grid->model()->index(row, column); }
    static QString Text(QTableView* grid, int row, int column) { return Cell(grid, row, column).data().toString(); }

    static void ClickSelect(QTableView* grid, int row) {
        const QModelIndex index = Cell(grid, row, ColSelect);
        grid->scrollTo(index);
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(index).center());
    }

    static void SpaceOnSelect(QTableView* grid, int row) {
        grid->setCurrentIndex(Cell(grid, row, ColSelect));
        QTest::keyClick(grid, Qt::Key_Space);
    }

    // Leaves the editor open, as a user who switches nodes in the middle of typing would.
    static void TypeMnemonic(QTableView* grid, int row, const QString& text) {
        const QModelIndex index = Cell(grid, row, ColMnemonic);
        grid->scrollTo(index);
        grid->setCurrentIndex(index);
        grid->edit(index);
        auto* editor = qobject_cast<QLineEdit*>(grid->indexWidget(index));
        ASSERT_NE(editor, nullptr);
        editor->setText(text);
    }

    TempDir dir;
    Workspace ws;
    MessageRecorder messages;
    std::unique_ptr<TFDefByte> dialog;
};

TEST_F(DefByteDialog, ShowsTheFirstNodeInGridsAsDesigned) {
    dir.Write("DNET_Net.xml", ReadFixture("defbyte_example/DNET_Net.xml"));
    Show();
    EXPECT_EQ(dialog->windowTitle(), "FDefByte");
    ASSERT_EQ(CB()->count(), 2);
    EXPECT_EQ(CB()->itemText(0), "5 ;4 ;2 ;Valve 3");
    EXPECT_EQ(CB()->itemText(1), "12 ;10 ;0 ;");
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
    EXPECT_EQ(In()->columnWidth(ColMnemonic), 320);
    EXPECT_EQ(Out()->columnWidth(ColMnemonic), 319);
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

}  // namespace
