#include <gtest/gtest.h>

#include <QAction>
#include <QTableView>

#include "base/file_system.h"
#include "base/workspace.h"
#include "check/project_address_map.h"
#include "documents/ui/address_moves.h"
#include "documents/ui/dnet_network_dialog.h"
#include "support/temp_dir.h"
#include "support/ui/message_recorder.h"
#include "support/ui/scripted_file_dialogs.h"

using namespace tessara::base;
using namespace tessara::documents;

namespace {

using Kind = MessageRecorder::Kind;

// Valve 3 (ID 5, 3 in, 2 out) and the conveyor drive (ID 12, 10 in), with a tag on each and a slot start that
// the network editor knows nothing of.
constexpr char kPlcMap[] =
    "<PlcMap><Slot Area=\"input\" Position=\"1\" Start=\"20\"/><TypedTag Name=\"Valve_position\" Area=\"output\" "
    "Node=\"1\" Byte=\"1\" Type=\"INT\" ByteOrder=\"little\"/><TypedTag Name=\"Belt_speed\" Area=\"input\" Node=\"2\" "
    "Byte=\"8\" Type=\"WORD\" ByteOrder=\"big\"/></PlcMap>";

class TFDNetTagsTest : public testing::Test {
protected:
    TFDNetTagsTest() {
        ws.ProjectDir = dir.path();
        ws.BuildDocumentPaths();
        dir.Write("DNET_Net.xml", ReadFixture("image_worked_example/DNET_Net.xml"));
        dir.Write("DefByte.xml", ReadFixture("image_worked_example/DefByte.xml"));
        dir.Write("PlcMap.xml", kPlcMap);
        dialog.show();
    }
    void Select(int row) {
        auto* grid = dialog.findChild<QTableView*>();
        const QModelIndex cell = grid->model()->index(row, 1);
        grid->setCurrentIndex(cell);
        grid->selectionModel()->select(cell, QItemSelectionModel::ClearAndSelect);
    }
    void SetCell(int row, int column, const char* text) {
        auto* grid = dialog.findChild<QTableView*>();
        grid->model()->setData(grid->model()->index(row, column), QString::fromUtf8(text));
    }
    void Import(int row, const std::string& path) {
        ScriptedFileDialogs files;
        files.Answer(QString::fromStdString(path));
        Select(row);
        dialog.ImportEdsClick();
    }
    // The documents the editor writes, to see that a refused OK leaves them all as they were.
    ~TFDNetTagsTest() override { SetExportMoves({}); }
    std::string Documents() const {
        return dir.Read("DNET_Net.xml") + dir.Read("DefByte.xml") + dir.Read("PlcMap.xml");
    }

    MessageRecorder messages;
    TempDir dir;
    Workspace ws;
    TFDNet dialog{ws};
};

TEST_F(TFDNetTagsTest, ImportingADescribedDeviceOffersItsTagsAndOkSavesThemWithTheBytes) {
    SetCell(2, 1, "20");
    Import(2, FixturePath("eds_assembly/drive.eds"));
    ASSERT_EQ(messages.entries().size(), 1u);
    EXPECT_EQ(messages.entries()[0].kind, Kind::Question);
    EXPECT_NE(messages.entries()[0].text.find("\n\nStatus_word (WORD, input byte 1)\nSpeed (INT, input byte 3)\n"
                                              "Position (DINT, input byte 5)\nControl_word (WORD, output byte 1)\n"
                                              "Speed_reference (INT, output byte 3)\n\nA typed tag is a run of "
                                              "selected bytes"),
              std::string::npos)
        << messages.entries()[0].text;
    messages.clear();
    dialog.bitbtn1Click();
    EXPECT_TRUE(messages.entries().empty());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dir.Read("PlcMap.xml"),
              "<PlcMap><Slot Area=\"input\" Position=\"1\" Start=\"20\"/><TypedTag Name=\"Valve_position\" "
              "Area=\"output\" Node=\"1\" Byte=\"1\" Type=\"INT\" ByteOrder=\"little\"/><TypedTag Name=\"Belt_speed\" "
              "Area=\"input\" Node=\"2\" Byte=\"8\" Type=\"WORD\" ByteOrder=\"big\"/><TypedTag Name=\"Status_word\" "
              "Area=\"input\" Node=\"3\" Byte=\"1\" Type=\"WORD\" ByteOrder=\"little\"/><TypedTag Name=\"Speed\" "
              "Area=\"input\" Node=\"3\" Byte=\"3\" Type=\"INT\" ByteOrder=\"little\"/><TypedTag Name=\"Position\" "
              "Area=\"input\" Node=\"3\" Byte=\"5\" Type=\"DINT\" ByteOrder=\"little\"/><TypedTag "
              "Name=\"Control_word\" Area=\"output\" Node=\"3\" Byte=\"1\" Type=\"WORD\" ByteOrder=\"little\"/>"
              "<TypedTag Name=\"Speed_reference\" Area=\"output\" Node=\"3\" Byte=\"3\" Type=\"INT\" "
              "ByteOrder=\"little\"/></PlcMap>");
    const std::string bytes = dir.Read("DefByte.xml");
    EXPECT_EQ(bytes.find(ReadFixture("image_worked_example/DefByte.xml").substr(0, 200)), 0u);
    EXPECT_NE(bytes.find("<Nodo_DNET><ByteIN><row Select=\"Y\" Mnemonic=\"Status word\"/><row Select=\"Y\" "
                         "Mnemonic=\"Status word byte 2\"/><row Select=\"Y\" Mnemonic=\"Speed\"/>"),
              std::string::npos);
    EXPECT_NE(bytes.find("<row Select=\"Y\" Mnemonic=\"Mode\"/><row Select=\"Y\" Mnemonic=\"Ready, Fault\"/></ByteIN>"
                         "<ByteOUT><row Select=\"Y\" Mnemonic=\"Control word\"/>"),
              std::string::npos);
    EXPECT_NE(dir.Read("DNET_Net.xml").find("<row ID=\"20\" NB_IN=\"10\" NB_OUT=\"4\" Mnemonic=\"Drive D-10\"/>"),
              std::string::npos);
    // Each new tag is one value of the map; only the valve's tag, whose first byte is not selected, is not.
    dir.Write("pargen.xml", ReadFixture("image_worked_example/pargen.xml"));
    const tessara::check::ProjectCheck check = tessara::check::CheckProject(dir.path());
    const tessara::plc::AddressMap map = tessara::check::ProjectAddressMap(check, tessara::check::ProjectLayout(check));
    ASSERT_EQ(map.unmadeTags.size(), 1u);
    EXPECT_EQ(map.unmadeTags[0].tag.name, "Valve_position");
    std::string tagged;
    for (const auto& row : map.input) tagged += row.tagged ? row.symbol + "@" + std::to_string(row.address) + " " : "";
    EXPECT_EQ(tagged, "Belt_speed@23 Status_word@25 Speed@27 Position@29 ");
}

TEST_F(TFDNetTagsTest, DecliningTheTagsOrCancellingTakesTheCountsAlone) {
    messages.Answer(false);
    Import(1, FixturePath("eds_assembly/drive.eds"));
    dialog.bitbtn1Click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_NE(dir.Read("DNET_Net.xml").find("NB_IN=\"10\" NB_OUT=\"4\" Mnemonic=\"Drive D-10\""), std::string::npos);
    EXPECT_EQ(dir.Read("DefByte.xml"), ReadFixture("image_worked_example/DefByte.xml"));
    EXPECT_EQ(dir.Read("PlcMap.xml"), kPlcMap);

    dialog.show();
    Import(1, FixturePath("eds_assembly/drive.eds"));  // Yes, the default
    dialog.reject();
    EXPECT_EQ(dir.Read("DefByte.xml"), ReadFixture("image_worked_example/DefByte.xml"));
    EXPECT_EQ(dir.Read("PlcMap.xml"), kPlcMap);

    // Undo takes back the counts and the values at once.
    dialog.show();
    Import(1, FixturePath("eds_assembly/drive.eds"));
    int undone = 0;
    for (QAction* action : dialog.findChildren<QAction*>()) {
        if (action->text() == "Undo Import EDS") undone += (action->trigger(), 1);
    }
    ASSERT_EQ(undone, 1);
    dialog.bitbtn1Click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dir.Read("DefByte.xml"), ReadFixture("image_worked_example/DefByte.xml"));
    EXPECT_EQ(dir.Read("PlcMap.xml"), kPlcMap);
}

// The output assembly's description is broken: it is told, and the input's values are still offered. The
// conveyor's own WORD at bytes 8 and 9 stays, so the drive's DINT at bytes 5 to 8 gets no tag.
TEST_F(TFDNetTagsTest, ABrokenDescriptionSaysWhyAndTheRestIsStillOffered) {
    std::string eds = ReadFixture("eds_assembly/drive.eds");
    eds.replace(eds.find("16, Param8"), 10, "16, Param9");
    dir.Write("broken.eds", eds);
    Import(1, dir.File("broken.eds"));
    ASSERT_EQ(messages.entries().size(), 2u);
    EXPECT_EQ(messages.entries()[0],
              (MessageRecorder::Entry{Kind::Message,
                                      "The byte counts are taken from the EDS file, but not its "
                                      "description of the device's values, so no tags are made: " +
                                          dir.File("broken.eds") +
                                          ", line 36: Assem150 member 2 names Param9, which [Params] "
                                          "does not define"}));
    EXPECT_NE(messages.entries()[1].text.find("make these typed tags?\n\nStatus_word (WORD, input byte 1)\nSpeed "
                                              "(INT, input byte 3)\n\n"),
              std::string::npos)
        << messages.entries()[1].text;
    messages.clear();
    dialog.bitbtn1Click();
    EXPECT_TRUE(messages.entries().empty());
    EXPECT_EQ(dir.Read("PlcMap.xml"),
              "<PlcMap><Slot Area=\"input\" Position=\"1\" Start=\"20\"/><TypedTag Name=\"Valve_position\" "
              "Area=\"output\" Node=\"1\" Byte=\"1\" Type=\"INT\" ByteOrder=\"little\"/><TypedTag Name=\"Belt_speed\" "
              "Area=\"input\" Node=\"2\" Byte=\"8\" Type=\"WORD\" ByteOrder=\"big\"/><TypedTag Name=\"Status_word\" "
              "Area=\"input\" Node=\"2\" Byte=\"1\" Type=\"WORD\" ByteOrder=\"little\"/><TypedTag Name=\"Speed\" "
              "Area=\"input\" Node=\"2\" Byte=\"3\" Type=\"INT\" ByteOrder=\"little\"/></PlcMap>");
    EXPECT_NE(dir.Read("DNET_Net.xml").find("NB_IN=\"10\" NB_OUT=\"4\""), std::string::npos);
}

TEST_F(TFDNetTagsTest, MovedNodesTakeTheirTagsWithThem) {
    std::vector<std::vector<TypedTag>> tagsAsked;
    SetExportMoves([&](const std::vector<NodeIo>&, ProfibusAreas, const std::vector<TypedTag>* tags) {
        if (tags) tagsAsked.push_back(*tags);
        return std::string();
    });
    Select(1);
    dialog.MoveUpClick();
    dialog.bitbtn1Click();
    ASSERT_EQ(messages.entries().size(), 1u);  // that DefByte.xml follows the rows, as without tags
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    // The addresses asked about are those of the tags at their nodes' new places.
    ASSERT_EQ(tagsAsked.size(), 1u);
    EXPECT_EQ(tagsAsked[0].at(1).node, 1u);
    EXPECT_EQ(tagsAsked[0].at(1).name, "Belt_speed");
    EXPECT_EQ(dir.Read("PlcMap.xml"),
              "<PlcMap><Slot Area=\"input\" Position=\"1\" Start=\"20\"/><TypedTag Name=\"Valve_position\" "
              "Area=\"output\" Node=\"2\" Byte=\"1\" Type=\"INT\" ByteOrder=\"little\"/><TypedTag Name=\"Belt_speed\" "
              "Area=\"input\" Node=\"1\" Byte=\"8\" Type=\"WORD\" ByteOrder=\"big\"/></PlcMap>");
}

// A tag is never dropped in silence: OK names it and why, No (the default) keeps the editor open and every
// document as it was, Yes saves without it.
TEST_F(TFDNetTagsTest, DeletingANodeOrCuttingATagsBytesAsksBeforeTheTagGoes) {
    const std::string before = Documents();
    const std::string deleted =
        "Saving removes a typed tag:\n\nValve_position (INT, node 1 byte 1 of the output area) is "
        "removed: its node is deleted\n\nSave and remove it?";
    Select(0);
    dialog.DeleteRowsClick();
    dialog.bitbtn1Click();
    EXPECT_EQ(messages.entries(), (std::vector<MessageRecorder::Entry>{{Kind::Question, deleted}}));
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(Documents(), before);

    dialog.hide();
    dialog.show();
    messages.clear();
    SetCell(1, 2, "8");
    messages.Answer(true);  // the selected byte 9 that goes with it
    dialog.bitbtn1Click();
    const std::string cut =
        "Saving removes a typed tag:\n\nBelt_speed (WORD, node 2 byte 8 of the input area) is "
        "removed: node 2 now has 8 input bytes\n\nSave and remove it?";
    EXPECT_EQ(messages.entries(),
              (std::vector<MessageRecorder::Entry>{
                  {Kind::Question, "Node 2 (ID 12) loses 1 selected input byte. Continue?"}, {Kind::Question, cut}}));
    EXPECT_EQ(Documents(), before);

    messages.clear();
    messages.Answer(true);
    messages.Answer(true);
    dialog.bitbtn1Click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dir.Read("PlcMap.xml"),
              "<PlcMap><Slot Area=\"input\" Position=\"1\" Start=\"20\"/><TypedTag Name=\"Valve_position\" "
              "Area=\"output\" Node=\"1\" Byte=\"1\" Type=\"INT\" ByteOrder=\"little\"/></PlcMap>");
}

// PlcMap.xml that is not XML cannot take new tags: the save stops with its fault and nothing is written. Nodes moved
// over it are asked about, as its tags cannot follow them.
TEST_F(TFDNetTagsTest, AnUnreadablePlcMapStopsTheSaveOfNewTagsAndIsAskedAboutForMoves) {
    dir.Write("PlcMap.xml", "<PlcMap><TypedTag");
    dialog.hide();
    dialog.show();
    const std::string before = Documents();
    Import(1, FixturePath("eds_assembly/drive.eds"));
    messages.clear();
    dialog.bitbtn1Click();
    ASSERT_EQ(messages.entries().size(), 1u);
    EXPECT_EQ(messages.entries()[0].kind, Kind::Unhandled);
    EXPECT_NE(messages.entries()[0].text.find("PlcMap.xml"), std::string::npos) << messages.entries()[0].text;
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(Documents(), before);

    dialog.hide();
    dialog.show();
    messages.clear();
    Select(1);
    dialog.MoveUpClick();
    dialog.bitbtn1Click();
    ASSERT_EQ(messages.entries().size(), 1u);
    EXPECT_EQ(messages.entries()[0].kind, Kind::Question);
    EXPECT_NE(messages.entries()[0].text.find("The typed tags of PlcMap.xml cannot follow the nodes that moved"),
              std::string::npos);
    EXPECT_EQ(Documents(), before);
}

}  // namespace
