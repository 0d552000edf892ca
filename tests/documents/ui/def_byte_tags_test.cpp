#include <gtest/gtest.h>

#include <QApplication>
#include <QColor>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <filesystem>

#include "documents/ui/address_moves.h"
#include "documents/ui/def_byte_fixture.h"
#include "plc/export_move_question.h"

using namespace tessara::documents;

namespace {

std::string Row(bool selected, const std::string& mnemonic = "") {
    return std::string("<row Select=\"") + (selected ? "Y" : "N") + "\" Mnemonic=\"" + mnemonic + "\"/>";
}

// Node 1 (ID 5) has 90 input bytes, all selected but byte 5, so byte b > 5 lands at offset b - 2 of the input area
// of 80 bytes: slot 1 (offsets 0 to 63) at IB 12, slot 2 (64 to 79) apart at IB 200. Node 2 (ID 7) has 4 output
// bytes, all selected. PlcMap.xml holds the starts, an element of a newer tool, and the tag Speed over bytes 3-4.
class DefByteTags : public DefByteEditing {
protected:
    void SetUp() override {
        dir.Write("pargen.xml", "<Par_Gen><PROFI_NB_IN>80</PROFI_NB_IN><PROFI_NB_OUT>4</PROFI_NB_OUT></Par_Gen>");
        std::string in;
        for (int byte = 1; byte <= 90; ++byte) {
            in += Row(byte != 5, byte == 1 ? "Status word" : byte == 7 ? "7 up" : "");
        }
        const std::string out = Row(true) + Row(true) + Row(true) + Row(true);
        dir.Write("DefByte.xml", "<DefBytes><Nodo_DNET><ByteIN>" + in + "</ByteIN><ByteOUT/></Nodo_DNET><Nodo_DNET>" +
                                     "<ByteIN/><ByteOUT>" + out + "</ByteOUT></Nodo_DNET></DefBytes>");
        dir.Write("PlcMap.xml", kPlcMap);
        Network(NetRow(5, 90, 0, "Drive") + NetRow(7, 0, 4, "Valves"));
        Show();  // shown as the editing fixture shows its own project
        QApplication::setActiveWindow(dialog.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
        In()->setFocus();
    }

    // Chooses rows `first` to `last` of the grid by their numbers, as a click and a shift-click do.
    static void ChooseRows(QTableView* grid, int first, int last) {
        const auto click = [&](int row, Qt::KeyboardModifiers modifiers) {
            const QModelIndex cell = Cell(grid, row, ColNumber);
            grid->scrollTo(cell);
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, modifiers, grid->visualRect(cell).center());
        };
        click(first, Qt::NoModifier);
        if (last != first) click(last, Qt::ShiftModifier);
    }

    QDialog* MakeTagWindow() const { return dialog->findChild<QDialog*>("FMakeTag"); }

    // "Make tag..." over the rows chosen; the name and type typed in, when given, then OK.
    void MakeTag(const QString& name = {}, const QString& type = {}) {
        Click("btn_MakeTag");
        QDialog* window = MakeTagWindow();
        ASSERT_NE(window, nullptr);
        ASSERT_TRUE(window->isVisible());
        if (!name.isEmpty()) {
            auto* edit = window->findChild<QLineEdit*>("E_TagName");
            edit->selectAll();
            QTest::keyClicks(edit, name);
        }
        if (!type.isEmpty()) {
            auto* types = window->findChild<QComboBox*>("CB_TagType");
            types->setCurrentIndex(types->findText(type, Qt::MatchStartsWith));
        }
        QTest::mouseClick(window->findChild<QPushButton*>("btn_TagOK"), Qt::LeftButton);
    }

    static std::string Texts(QTableView* grid, int row) {
        return (Text(grid, row, ColAddress) + " | " + Text(grid, row, ColTag)).toStdString();
    }

    static inline const std::string kSlots =
        "<Slot Area=\"input\" Position=\"1\" Start=\"12\"/><Slot Area=\"input\" Position=\"2\" Start=\"200\"/>";
    static inline const std::string kSpeed =
        "<TypedTag Name=\"Speed\" Area=\"input\" Node=\"1\" Byte=\"3\" Type=\"INT\" ByteOrder=\"little\"/>";
    static inline const std::string kPlcMap = "<PlcMap>" + kSlots + kSpeed + "<Newer Kept=\"yes\"/></PlcMap>";
};

TEST_F(DefByteTags, MakeTagOverChosenRowsShowsTheTagAndItsAddressInEitherSlot) {
    EXPECT_EQ(Texts(In(), 1), "IB 13 | ");
    EXPECT_EQ(Texts(In(), 2), "IW 14 | Speed (INT)");
    EXPECT_EQ(Texts(In(), 3), "  +1 | Speed (INT)");
    EXPECT_EQ(Cell(In(), 2, ColTag).data(Qt::ToolTipRole).toString(),
              "Speed (INT, node 1 byte 3 of the input area), sent little-endian");
    EXPECT_EQ(In()->model()->headerData(ColTag, Qt::Horizontal).toString(), "Tag");
    EXPECT_EQ(dialog->findChild<QPushButton*>("btn_MakeTag")->accessibleName(), "Make tag");
    EXPECT_TRUE(dialog->findChild<QPushButton*>("bitbtn1")->isDefault());  // Enter is still OK

    ChooseRows(In(), 0, 1);
    MakeTag();  // the defaults: the first byte's mnemonic made a symbol, the unsigned type of the run's size
    EXPECT_EQ(Texts(In(), 0), "IW 12 | Status_word (WORD)");
    EXPECT_EQ(Texts(In(), 1), "  +1 | Status_word (WORD)");
    EXPECT_EQ(Cell(In(), 1, ColAddress).data(Qt::ToolTipRole).toString(),
              "Byte 2 of the WORD Status_word at IW 12: slot 1, byte 1 of its module");

    ChooseRows(In(), 5, 8);  // bytes 6 to 9: offsets 4 to 7
    MakeTag("Position", "DINT");
    EXPECT_EQ(Texts(In(), 5), "ID 16 | Position (DINT)");
    EXPECT_EQ(Texts(In(), 8), "  +3 | Position (DINT)");

    ChooseRows(In(), 65, 66);  // bytes 66 and 67: offsets 64 and 65, the second slot's first bytes
    MakeTag("Flow");
    EXPECT_EQ(Texts(In(), 65), "IW 200 | Flow (WORD)");
    EXPECT_EQ(Texts(In(), 67), "IB 202 | ");

    dialog->findChild<QTabWidget*>()->setCurrentIndex(1);
    CB()->setCurrentIndex(1);
    ChooseRows(Out(), 0, 3);
    MakeTag("Setpoint", "REAL");
    EXPECT_EQ(Texts(Out(), 0), "QD 0 | Setpoint (REAL)");

    ASSERT_EQ(dialog->Tags().size(), 5u);
    EXPECT_EQ(dialog->Tags()[1],
              (TypedTag{"Status_word", AreaDirection::Input, 1, 1, TagType::Word, ByteOrder::Little}));
    EXPECT_TRUE(messages.entries().empty());
}

TEST_F(DefByteTags, MakeTagRefusesWhatCannotBeOneValueAndKeepsTheDialogOpen) {
    struct Case {
        int first;
        int last;
        const char* name;
        const char* type;
        std::string message;
    };
    const std::string speed = "Speed (INT, node 1 byte 3 of the input area)";
    for (const Case& c : {
             Case{3, 4, "Level", "WORD",
                  "The tag Level (WORD, node 1 byte 4 of the input area) cannot be made: byte 5 of the node is not "
                  "selected, so the 2 bytes of the WORD are not consecutive in the area"},
             Case{64, 65, "Across", "WORD",
                  "The tag Across (WORD, node 1 byte 65 of the input area) cannot be made: its bytes lie in slots 1 "
                  "and 2, which the master may place apart"},
             Case{80, 81, "Late", "WORD",
                  "The tag Late (WORD, node 1 byte 81 of the input area) cannot be made: its bytes do not all fit: "
                  "past the 80 bytes of pargen.xml"},
             Case{
                 1, 2, "Other", "WORD",
                 "The tag Other (WORD, node 1 byte 2 of the input area) cannot be made: it shares bytes with " + speed},
             Case{
                 6, 7, "speed", "WORD",
                 "The tag speed (WORD, node 1 byte 7 of the input area) cannot be made: its name is taken by " + speed},
             Case{6, 7, "_Up", "WORD", ""},
             Case{6, 8, "Three", "DINT", "DINT takes 4 bytes, and 3 are chosen"},
         }) {
        SCOPED_TRACE(c.name);
        messages.clear();
        ChooseRows(In(), c.first, c.last);
        MakeTag(c.name, c.type);
        ASSERT_EQ(messages.entries().size(), 1u);
        EXPECT_EQ(messages.entries()[0].kind, MessageRecorder::Kind::Error);
        if (!c.message.empty()) {
            EXPECT_EQ(messages.entries()[0].text, c.message);
        }
        EXPECT_EQ(messages.entries()[0].text.rfind("The tag _Up", 0) == 0, std::string(c.name) == "_Up");
        EXPECT_TRUE(MakeTagWindow()->isVisible());
        QTest::mouseClick(MakeTagWindow()->findChild<QPushButton*>("btn_TagCancel"), Qt::LeftButton);
        EXPECT_EQ(dialog->Tags().size(), 1u);
    }

    // Rows with a gap, and no bytes at all, are refused before anything is asked.
    messages.clear();
    SelectCells(In(), 6, ColNumber, 6, ColTag);
    In()->selectionModel()->select(Cell(In(), 8, ColNumber), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    Click("btn_MakeTag");
    CB()->setCurrentIndex(1);  // no input bytes
    Click("btn_MakeTag");
    EXPECT_EQ(messages.texts(),
              (std::vector<std::string>{"The rows chosen for a tag must follow each other: rows 7 to 9 have gaps.",
                                        "Choose the bytes of the tag first: a run of consecutive rows of the node."}));
    EXPECT_FALSE(MakeTagWindow()->isVisible());
}

TEST_F(DefByteTags, UndoAndRedoTakeBackAndRedoMakingAndRemovingATag) {
    ChooseRows(In(), 0, 1);
    MakeTag("Status");
    EXPECT_EQ(Texts(In(), 0), "IW 12 | Status (WORD)");
    ChooseRows(In(), 3, 3);  // one byte of Speed is enough to remove it
    Click("btn_RemoveTag");
    EXPECT_EQ(Texts(In(), 2), "IB 14 | ");
    EXPECT_EQ(Texts(In(), 3), "IB 15 | ");

    CB()->setCurrentIndex(1);
    In()->setFocus();
    Key(Qt::Key_Z, Qt::ControlModifier);  // brings node 1 back into view and Speed with it
    EXPECT_EQ(CB()->currentIndex(), 0);
    EXPECT_EQ(Texts(In(), 2), "IW 14 | Speed (INT)");
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Texts(In(), 0), "IB 12 | ");
    Key(Qt::Key_Y, Qt::ControlModifier);
    Key(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(Texts(In(), 0), "IW 12 | Status (WORD)");
    EXPECT_EQ(Texts(In(), 2), "IB 14 | ");
    ASSERT_EQ(dialog->Tags().size(), 1u);
    EXPECT_EQ(dialog->Tags()[0].name, "Status");

    // The context menu offers "Remove tag" on a tagged row only.
    const auto removal = [&] {
        for (QAction* action : In()->actions()) {
            if (action->text() == "Remove tag") return action;
        }
        return static_cast<QAction*>(nullptr);
    };
    ChooseRows(In(), 4, 6);
    EXPECT_FALSE(removal()->isEnabled());
    ChooseRows(In(), 1, 1);
    EXPECT_TRUE(removal()->isEnabled());
    EXPECT_TRUE(messages.entries().empty());
}

TEST_F(DefByteTags, OkSavesTheTagsIntoPlcMapKeepingTheRestAndCancelSavesNothing) {
    const std::string defBytes = dir.Read("DefByte.xml");
    ChooseRows(In(), 0, 1);
    MakeTag("Status");
    messages.Answer(true);  // discard
    Click("bitbtn2");
    EXPECT_EQ(dir.Read("PlcMap.xml"), kPlcMap);
    EXPECT_EQ(dir.Read("DefByte.xml"), defBytes);

    Show();
    ASSERT_EQ(dialog->Tags().size(), 1u);
    ChooseRows(In(), 0, 1);
    MakeTag("Status");
    ChooseRows(In(), 2, 2);
    Click("btn_RemoveTag");
    dialog->findChild<QTabWidget*>()->setCurrentIndex(1);
    CB()->setCurrentIndex(1);
    ChooseRows(Out(), 0, 3);
    MakeTag("Setpoint", "REAL");
    messages.clear();
    Click("bitbtn1");
    EXPECT_TRUE(messages.entries().empty());
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    // Elements of a newer tool come first, as the document keeps them.
    EXPECT_EQ(dir.Read("PlcMap.xml"),
              "<PlcMap><Newer Kept=\"yes\"/>" + kSlots +
                  "<TypedTag Name=\"Status\" Area=\"input\" Node=\"1\" Byte=\"1\" Type=\"WORD\" ByteOrder=\"little\"/>"
                  "<TypedTag Name=\"Setpoint\" Area=\"output\" Node=\"2\" Byte=\"1\" Type=\"REAL\" "
                  "ByteOrder=\"little\"/></PlcMap>");
    EXPECT_EQ(dir.Read("DefByte.xml"), defBytes);
}

// A project without PlcMap.xml keeps none when no tag was made.
TEST_F(DefByteDialog, OkWritesNoPlcMapWhenTheTagsAreUnchanged) {
    Network(NetRow(1, 2, 0));
    Show();
    ClickSelect(In(), 0);
    dialog->bitbtn1Click();
    EXPECT_TRUE(messages.entries().empty());
    EXPECT_FALSE(std::filesystem::exists(dir.File("PlcMap.xml")));
}

TEST_F(DefByteTags, OkAsksBeforeADeselectionBreaksATagAndRemovesItOnYes) {
    ClickSelect(In(), 3);  // byte 4, the second byte of Speed
    EXPECT_EQ(Text(In(), 2, ColTag), "Speed (INT)");
    EXPECT_EQ(Cell(In(), 2, ColTag).data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::red));
    EXPECT_EQ(Cell(In(), 2, ColTag).data(Qt::ToolTipRole).toString(),
              "Speed (INT, node 1 byte 3 of the input area) is not one value: byte 4 of the node is not selected, "
              "so the 2 bytes of the INT are not consecutive in the area");
    EXPECT_EQ(Text(In(), 2, ColAddress), "IB 14");  // its bytes are bytes again

    const std::string question =
        "1 typed tag loses bytes: Speed (INT, node 1 byte 3 of the input area) loses byte 4.\n\nRemove this tag and "
        "save?";
    const std::string defBytes = dir.Read("DefByte.xml");
    Click("bitbtn1");  // No by default: nothing is saved, the editor stays
    EXPECT_EQ(messages.entries(), (std::vector<MessageRecorder::Entry>{{MessageRecorder::Kind::Question, question}}));
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dir.Read("DefByte.xml"), defBytes);
    EXPECT_EQ(dir.Read("PlcMap.xml"), kPlcMap);
    EXPECT_EQ(dialog->Tags().size(), 1u);

    messages.clear();
    messages.Answer(true);
    Click("bitbtn1");
    EXPECT_EQ(messages.texts(), std::vector<std::string>{question});
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(dir.Read("PlcMap.xml"), "<PlcMap><Newer Kept=\"yes\"/>" + kSlots + "</PlcMap>");
    EXPECT_NE(dir.Read("DefByte.xml").find(Row(true) + Row(true) + Row(false) + Row(false)), std::string::npos);
}

// A tag made in this showing is asked about too, though its bytes were not selected in the saved document.
TEST_F(DefByteTags, OkAsksWhenATagMadeSinceTheShowingLosesABytesSelection) {
    ChooseRows(In(), 5, 6);
    MakeTag("Fresh");
    ClickSelect(In(), 6);
    Click("bitbtn1");
    EXPECT_EQ(messages.texts(), std::vector<std::string>{
                                    "1 typed tag loses bytes: Fresh (WORD, node 1 byte 6 of the input area) loses byte "
                                    "7.\n\nRemove this tag and save?"});
    EXPECT_TRUE(dialog->isVisible());
}

// The network's byte counts are the network editor's: a count that now cuts a tag is told at the byte editor's OK,
// and a tag that was broken when it was saved is left as it is.
TEST_F(DefByteTags, OkAsksWhenTheNodesByteCountCutsATag) {
    dir.Write("PlcMap.xml",
              "<PlcMap>" + kSlots +
                  "<TypedTag Name=\"Total\" Area=\"input\" Node=\"1\" Byte=\"88\" Type=\"DINT\" ByteOrder=\"big\"/>"
                  "<TypedTag Name=\"Gap\" Area=\"input\" Node=\"1\" Byte=\"5\" Type=\"WORD\" ByteOrder=\"big\"/>"
                  "<TypedTag Name=\"Gone\" Area=\"output\" Node=\"3\" Byte=\"1\" Type=\"WORD\" ByteOrder=\"big\"/>"
                  "</PlcMap>");
    Show();
    messages.clear();
    Click("bitbtn1");
    EXPECT_EQ(messages.texts(),
              std::vector<std::string>{
                  "2 typed tags lose bytes: Total (DINT, node 1 byte 88 of the input area) loses byte 91: "
                  "the node has 90 input bytes; Gone (WORD, node 3 byte 1 of the output area) loses its bytes: the "
                  "network has no node 3.\n\nRemove these tags and save?"});
    EXPECT_TRUE(dialog->isVisible());
}

// A tag made over exported bytes replaces their symbols: OK says so as it says of moved addresses.
TEST_F(DefByteTags, OkTellsWhichExportedAddressesANewTagTakesAway) {
    SetExportMoves([&](const std::vector<NodeIo>& nodes, ProfibusAreas areas, const std::vector<TypedTag>* tags) {
        return tessara::plc::ExportMovesOf(dir.path(), nodes, areas, tags);
    });
    dir.Write("PlcMap.xml", "<PlcMap>" + kSlots + kSpeed +
                                "<Export Date=\"2026-12-11T06:00:00Z\" Symbols=\"byte\"><Tag Symbol=\"Status_word\" "
                                "Area=\"input\" Address=\"12\"/><Tag Symbol=\"N5_I2\" Area=\"input\" "
                                "Address=\"13\"/></Export></PlcMap>");
    Show();
    ChooseRows(In(), 0, 1);
    MakeTag();
    messages.Answer(false);
    Click("bitbtn1");
    SetExportMoves({});
    ASSERT_EQ(messages.entries().size(), 1u);
    EXPECT_EQ(messages.entries()[0].text.rfind("Saving this change moves PLC addresses: 1 PLC address", 0), 0u)
        << messages.entries()[0].text;
    EXPECT_NE(messages.entries()[0].text.find("N5_I2"), std::string::npos) << messages.entries()[0].text;
    EXPECT_TRUE(dialog->isVisible());
}

// Six tags cut at once: the question names five, and its details list them all.
TEST_F(DefByteTags, TheQuestionNamesFiveBrokenTagsAndListsTheRestInItsDetails) {
    std::string tags;
    for (int byte = 1; byte <= 11; byte += 2) {
        tags += "<TypedTag Name=\"G" + std::to_string(byte) + "\" Area=\"output\" Node=\"3\" Byte=\"" +
                std::to_string(byte) + "\" Type=\"WORD\" ByteOrder=\"little\"/>";
    }
    dir.Write("PlcMap.xml", "<PlcMap>" + tags + "</PlcMap>");
    Show();
    messages.clear();
    Click("bitbtn1");
    ASSERT_EQ(messages.texts().size(), 1u);
    const std::string question = messages.texts()[0];
    EXPECT_EQ(question.rfind("6 typed tags lose bytes: G1 (WORD, node 3 byte 1 of the output area) loses its bytes", 0),
              0u);
    EXPECT_NE(question.find("G9 (WORD"), std::string::npos);
    EXPECT_EQ(question.find("G11 (WORD"), std::string::npos);
    EXPECT_NE(question.find("; and 1 more.\n\nRemove these tags and save?"), std::string::npos) << question;
    EXPECT_NE(messages.details().find("G11 (WORD, node 3 byte 11 of the output area) loses its bytes"),
              std::string::npos);
}

// A device sends its values in one byte order: a node with a big-endian tag offers big-endian for the next.
TEST_F(DefByteTags, MakeTagOffersTheByteOrderOfTheNodesOtherTags) {
    dir.Write("PlcMap.xml", "<PlcMap>" + kSlots +
                                "<TypedTag Name=\"Speed\" Area=\"input\" Node=\"1\" Byte=\"3\" Type=\"INT\" "
                                "ByteOrder=\"big\"/></PlcMap>");
    Show();
    ChooseRows(In(), 0, 1);
    MakeTag("Status");
    ASSERT_EQ(dialog->Tags().size(), 2u);
    EXPECT_EQ(dialog->Tags()[1].byteOrder, ByteOrder::Big);
    EXPECT_EQ(Cell(In(), 0, ColTag).data(Qt::ToolTipRole).toString(),
              "Status (WORD, node 1 byte 1 of the input area), sent big-endian");
}

TEST_F(DefByteTags, AnUnreadablePlcMapKeepsTheTagsAsTheyAre) {
    const std::string unreadable = "<PlcMap><TypedTag Name=\"X\" Area=\"input\" Node=\"1\" Byte=\"1\" Type=\"INT9\"/>";
    dir.Write("PlcMap.xml", unreadable);
    Show();
    ChooseRows(In(), 0, 1);
    Click("btn_MakeTag");
    ASSERT_EQ(messages.entries().size(), 1u);
    EXPECT_EQ(messages.entries()[0].kind, MessageRecorder::Kind::Error);
    EXPECT_EQ(messages.entries()[0].text.rfind("PlcMap.xml could not be read, so its typed tags are not shown and no "
                                               "tag can be made or removed until it is mended: ",
                                               0),
              0u);
    EXPECT_EQ(MakeTagWindow(), nullptr);
    messages.clear();
    Click("bitbtn1");
    EXPECT_TRUE(messages.entries().empty());
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(dir.Read("PlcMap.xml"), unreadable);
}

}  // namespace
