#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QColor>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>

#include "documents/ui/def_byte_fixture.h"
#include "ui/area_bar_widget.h"

using namespace tessara::ui;

namespace {

// Node 0 (4 in, 2 out) is shown; node 1 (3 in, 0 out) has its first input byte selected in DefByte.xml, so the
// areas count the whole project from the start. The PROFIBUS areas are 3 bytes in and 2 out.
class DefByteAreaFit : public DefByteEditing {
protected:
    void SetUp() override {
        dir.Write("pargen.xml", "<Par_Gen><PROFI_NB_IN>3</PROFI_NB_IN><PROFI_NB_OUT>2</PROFI_NB_OUT></Par_Gen>");
        dir.Write("DefByte.xml", "<DefBytes><Nodo_DNET><ByteIN>" + kRowN + kRowN + kRowN + kRowN +
                                     "</ByteIN><ByteOUT>" + kRowN + kRowN +
                                     "</ByteOUT></Nodo_DNET><Nodo_DNET><ByteIN><row Select=\"y\" Mnemonic=\"\"/>" +
                                     kRowN + kRowN + "</ByteIN><ByteOUT/></Nodo_DNET></DefBytes>");
        DefByteEditing::SetUp();
    }

    // "text | selected/area | overflow colour" of one direction, as the user reads it.
    std::string Fit(const char* bar) const {
        const auto* widget = dialog->findChild<AreaBarWidget*>(bar);
        const auto* text = dialog->findChild<QLabel*>(QString::fromLatin1(bar) + "Text");
        const bool over = text->palette().color(QPalette::WindowText) == AreaOverflowColour();
        return text->text().toStdString() + " | " + std::to_string(widget->Fit().selected) + "/" +
               std::to_string(widget->Fit().area) + (over ? " | over" : "");
    }
};

TEST_F(DefByteAreaFit, TheAreasFollowEveryEditOfTheWholeProjectAndSayHowFarTheyOverflow) {
    EXPECT_EQ(Fit("InputBar"), "1 of 3 bytes used | 1/3");
    EXPECT_EQ(Fit("OutputBar"), "0 of 2 bytes used | 0/2");

    ClickSelect(In(), 0);
    EXPECT_EQ(Fit("InputBar"), "2 of 3 bytes used | 2/3");
    Click("btn_SelectAll");
    EXPECT_EQ(Fit("InputBar"), "5 bytes selected for 3: 2 too many | 5/3 | over");
    EXPECT_EQ(CB()->itemText(0), "5 ;4 ;2 ;Valve 3  (selected: 4 in, 0 out)");
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Fit("InputBar"), "2 of 3 bytes used | 2/3");
    Click("btn_Invert");
    EXPECT_EQ(Fit("InputBar"), "4 bytes selected for 3: 1 too many | 4/3 | over");
    Click("btn_SelectNone");
    EXPECT_EQ(Fit("InputBar"), "1 of 3 bytes used | 1/3");

    dialog->findChild<QTabWidget*>()->setCurrentIndex(1);
    Out()->setFocus();
    QApplication::clipboard()->setText("Y\nY\n");
    Out()->setCurrentIndex(Cell(Out(), 0, ColSelect));
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Fit("OutputBar"), "2 of 2 bytes used | 2/2");
    ClickSelect(Out(), 1);
    EXPECT_EQ(Fit("OutputBar"), "1 of 2 bytes used | 1/2");

    // An undo that changes another node first shows it, and the areas still count every node.
    CB()->setCurrentIndex(1);
    Key(Qt::Key_Z, Qt::ControlModifier);
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(CB()->currentIndex(), 0);
    EXPECT_EQ(Fit("OutputBar"), "0 of 2 bytes used | 0/2");
    EXPECT_EQ(Fit("InputBar"), "1 of 3 bytes used | 1/3");
}

// Another project's pargen.xml never lingers: the areas are read at every showing.
TEST_F(DefByteAreaFit, EveryShowingReadsTheAreasAndTheSelectionsAfresh) {
    ClickSelect(In(), 0);
    messages.Answer(true);  // discard it
    dialog->reject();
    dir.Write("pargen.xml", "<Par_Gen><PROFI_NB_IN>0</PROFI_NB_IN><PROFI_NB_OUT>20</PROFI_NB_OUT></Par_Gen>");
    Show();
    EXPECT_EQ(Fit("InputBar"), "1 bytes selected for 0: 1 too many | 1/0 | over");
    EXPECT_EQ(Fit("OutputBar"), "0 of 20 bytes used | 0/20");
}

// "IB 0 | no address red | -": each byte's PROFIBUS address as the grid shows it, "-" for a byte not selected.
std::string Addresses(QTableView* grid) {
    std::string text;
    for (int row = 0; row < grid->model()->rowCount(); ++row) {
        const QModelIndex cell = grid->model()->index(row, ColAddress);
        const QString address = cell.data().toString();
        const bool red = cell.data(Qt::ForegroundRole).value<QColor>() == QColor(Qt::red);
        text += (text.empty() ? "" : " | ") + (address.isEmpty() ? std::string("-") : address.toStdString());
        if (red) text += " red";
    }
    return text;
}

// Node 1's selected byte follows node 0's: every toggle, undo and choice of the shown node moves the addresses.
TEST_F(DefByteAreaFit, TheAddressColumnPlacesEachSelectedByteAfterTheNodesBeforeIt) {
    EXPECT_EQ(Addresses(In()), "- | - | - | -");
    ClickSelect(In(), 2);
    EXPECT_EQ(Addresses(In()), "- | - | IB 0 | -");
    Click("btn_SelectAll");
    EXPECT_EQ(Addresses(In()), "IB 0 | IB 1 | IB 2 | no address red");
    CB()->setCurrentIndex(1);
    EXPECT_EQ(Addresses(In()), "no address red | - | -");
    CB()->setCurrentIndex(0);
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Addresses(In()), "- | - | IB 0 | -");
    Click("btn_Invert");
    EXPECT_EQ(Addresses(In()), "IB 0 | IB 1 | - | IB 2");
    Key(Qt::Key_Z, Qt::ControlModifier);
    Key(Qt::Key_Z, Qt::ControlModifier);
    CB()->setCurrentIndex(1);
    EXPECT_EQ(Addresses(In()), "IB 0 | - | -");

    dialog->findChild<QTabWidget*>()->setCurrentIndex(1);
    ClickSelect(Out(), 1);
    EXPECT_EQ(Addresses(Out()), "-");  // node 1 has no output bytes: its one row belongs to no byte
    CB()->setCurrentIndex(0);
    ClickSelect(Out(), 1);
    EXPECT_EQ(Addresses(Out()), "- | QB 0");
}

// The slots' starts kept in PlcMap.xml place each module: slot 1 at 12, slot 2 apart at 200. The device fills 128
// bytes of the 200 that pargen.xml asks for, so byte 129 has no address, and says why.
TEST_F(DefByteDialog, TheAddressColumnPlacesEachSlotAtItsStoredStartAndSaysWhyAByteHasNone) {
    dir.Write("pargen.xml", "<Par_Gen><PROFI_NB_IN>200</PROFI_NB_IN><PROFI_NB_OUT>0</PROFI_NB_OUT></Par_Gen>");
    Network(NetRow(5, 130, 0));
    std::string rows;
    for (int byte = 0; byte < 130; ++byte) rows += "<row Select=\"Y\" Mnemonic=\"\"/>";
    dir.Write("DefByte.xml", "<DefBytes><Nodo_DNET><ByteIN>" + rows + "</ByteIN><ByteOUT/></Nodo_DNET></DefBytes>");
    const std::string stored =
        "<PlcMap><Slot Area=\"input\" Position=\"1\" Start=\"12\"/><Slot Area=\"input\" Position=\"2\" "
        "Start=\"200\"/></PlcMap>";
    dir.Write("PlcMap.xml", stored);
    Show();
    struct Case {
        int row;
        const char* text;
        const char* tip;
    };
    for (const Case& c :
         {Case{0, "IB 12", "Slot 1, byte 0 of its module"}, Case{63, "IB 75", "Slot 1, byte 63 of its module"},
          Case{64, "IB 200", "Slot 2, byte 0 of its module"}, Case{127, "IB 263", "Slot 2, byte 63 of its module"},
          Case{128, "no address", "No PLC address: past the device's 128 bytes"}}) {
        SCOPED_TRACE(c.row);
        const QModelIndex cell = Cell(In(), c.row, ColAddress);
        EXPECT_EQ(cell.data().toString(), c.text);
        EXPECT_EQ(cell.data(Qt::ToolTipRole).toString(), c.tip);
        EXPECT_EQ(cell.data(Qt::ForegroundRole).value<QColor>() == QColor(Qt::red), c.row == 128);
    }

    // A start is never guessed: a PlcMap.xml that cannot be read shows no address at all, and says why.
    dir.Write("PlcMap.xml", "<PlcMap><Slot Area=\"sideways\" Position=\"1\" Start=\"12\"/></PlcMap>");
    Show();
    EXPECT_EQ(Text(In(), 0, ColAddress), "");
    EXPECT_NE(Cell(In(), 0, ColAddress).data(Qt::ToolTipRole).toString().indexOf("PlcMap.xml"), -1)
        << Cell(In(), 0, ColAddress).data(Qt::ToolTipRole).toString().toStdString();
}

}  // namespace
