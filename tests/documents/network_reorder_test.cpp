#include "documents/network_reorder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <stdexcept>

#include "base/file_system.h"
#include "documents/document_error.h"
#include "documents/xml_document.h"
#include "image/bank_image.h"
#include "image/bank_image_decoder.h"
#include "image/node_table.h"
#include "support/file_size_limit.h"
#include "support/temp_dir.h"

using namespace tessara::base;
using namespace tessara::documents;
using namespace tessara::image;

namespace {

NetworkGrid Nodes(std::initializer_list<const char*> ids) {
    NetworkGrid grid;
    size_t i = 0;
    for (const char* id : ids) grid.rows[i++] = DNetRow{id, "1", "1", std::string("node ") + id};
    return grid;
}

std::string Ids(const NetworkGrid& grid) {
    std::string ids;
    for (size_t i = 0; i < DNetListLength(grid.rows); ++i)
        ids += grid.rows[i].ID + "@" + std::to_string(grid.origins[i]) + " ";
    return ids;
}

TEST(NetworkRowOperations, RowsCarryWhereTheyCameFrom) {
    NetworkGrid grid = Nodes({"A", "B", "C", "D"});
    ASSERT_TRUE(InsertRowAbove(grid, 1));
    grid.rows[1] = DNetRow{"X", "2", "0", ""};
    EXPECT_EQ(Ids(grid), "A@0 X@-1 B@1 C@2 D@3 ");
    DeleteRows(grid, 3, 1);
    EXPECT_EQ(Ids(grid), "A@0 X@-1 B@1 D@3 ");
    EXPECT_EQ(grid.origins.back(), kNewRow);  // the grid keeps 64 rows, the bottom one new
    ASSERT_TRUE(MoveRows(grid, 2, 2, -1));
    EXPECT_EQ(Ids(grid), "A@0 B@1 D@3 X@-1 ");
    ASSERT_TRUE(MoveRows(grid, 0, 1, +1));
    EXPECT_EQ(Ids(grid), "B@1 A@0 D@3 X@-1 ");
    EXPECT_TRUE(grid.NodesMoved());
    EXPECT_FALSE(MoveRows(grid, 0, 2, -1));
    EXPECT_FALSE(MoveRows(grid, 62, 2, +1));
}

TEST(NetworkRowOperations, InsertingNeverPushesAFilledRowOffTheGrid) {
    NetworkGrid grid = Nodes({"A"});
    grid.rows[63].Mnemonic = "kept";  // not part of the list, but still the user's text
    EXPECT_FALSE(InsertRowAbove(grid, 0));
    EXPECT_EQ(grid, [] {
        NetworkGrid expected = Nodes({"A"});
        expected.rows[63].Mnemonic = "kept";
        return expected;
    }());
}

// Three nodes with distinct selections; the network and the byte documents as the editors would write them.
class SaveKeepingSelectionsTest : public testing::Test {
protected:
    SaveKeepingSelectionsTest() {
        dir.Write("DNET_Net.xml", ReadFixture("image_worked_example/DNET_Net.xml"));
        dir.Write("DefByte.xml", ReadFixture("image_worked_example/DefByte.xml"));
        dir.Write("pargen.xml", ReadFixture("image_worked_example/pargen.xml"));
        grid.rows[0] = DNetRow{"5", "3", "2", "Valve 3"};
        grid.rows[1] = DNetRow{"12", "10", "0", "Conveyor drive"};
    }
    DefByteTable LoadDefByteTable() {
        DefByteTable table;
        size_t read = 0;
        XmlDocument doc;
        ReadDNetNodes(doc, dir.File("DNET_Net.xml"), table, read);
        ReadDefBytes(doc, dir.File("DefByte.xml"), table);
        return table;
    }
    void Save(const std::function<void()>& alsoSave = {}) {
        SaveNetworkKeepingSelections(xml, dir.File("DNET_Net.xml"), dir.File("DefByte.xml"), grid, alsoSave);
    }

    TempDir dir;
    XmlDocument xml;
    NetworkGrid grid;
};

TEST_F(SaveKeepingSelectionsTest, InsertingANodeAddsItsRecordAndKeepsEveryOtherNodesSelections) {
    const DecodedImage before = DecodeBankImage(BuildBankImage(dir.path()).bytes);
    ASSERT_TRUE(InsertRowAbove(grid, 1));
    grid.rows[1] = DNetRow{"7", "4", "1", "Sensor"};
    Save();
    const DecodedImage after = DecodeBankImage(BuildBankImage(dir.path()).bytes);

    ASSERT_EQ(after.nodes.size(), 3u);
    for (auto [old, now] : {std::pair(0, 0), std::pair(1, 2)}) {
        EXPECT_EQ(after.nodes[now].ID, before.nodes[old].ID);
        EXPECT_EQ(after.nodes[now].NB_IN, before.nodes[old].NB_IN);
        EXPECT_EQ(after.nodes[now].InSelected, before.nodes[old].InSelected);
        EXPECT_EQ(after.nodes[now].OutSelected, before.nodes[old].OutSelected);
    }
    EXPECT_EQ(after.nodes[1].ID, 7);
    EXPECT_EQ(after.nodes[1].NB_IN, 4);
    EXPECT_EQ(after.nodes[1].NB_OUT, 1);
    EXPECT_TRUE(after.nodes[1].InSelected.empty());
    EXPECT_TRUE(after.nodes[1].OutSelected.empty());
    EXPECT_EQ(after.length, before.length + 11 + 2);  // one record, one bitmap byte per direction
    EXPECT_EQ(after.parameters->NodeCount, 3);
    // The new node is written unselected, as the byte editor would write it.
    EXPECT_NE(dir.Read("DefByte.xml")
                  .find("<Nodo_DNET><ByteIN><row Select=\"N\" Mnemonic=\"\"/><row Select=\"N\" "
                        "Mnemonic=\"\"/><row Select=\"N\" Mnemonic=\"\"/><row Select=\"N\" "
                        "Mnemonic=\"\"/></ByteIN><ByteOUT><row Select=\"N\" Mnemonic=\"\"/>"),
              std::string::npos);
}

TEST_F(SaveKeepingSelectionsTest, DeletingANodeDropsItsSelections) {
    DeleteRows(grid, 0, 1);
    Save();
    const NodeTable nodes = LoadNodeTable(dir.path());
    ASSERT_EQ(nodes.size(), 1u);
    EXPECT_EQ(nodes[0].ID, 12);
    EXPECT_EQ(nodes[0].InSelect,
              (std::vector<bool>{false, true, false, false, false, false, false, true, true, false}));
    EXPECT_EQ(dir.Read("DefByte.xml").find("Position"), std::string::npos);
}

TEST_F(SaveKeepingSelectionsTest, WithoutRowOperationsOrByteDocumentOnlyTheNetworkIsWritten) {
    const std::string bytes = dir.Read("DefByte.xml");
    grid.rows[0].NB_IN = "4";  // typing alone never touches the byte document
    Save();
    EXPECT_EQ(dir.Read("DefByte.xml"), bytes);

    std::remove(dir.File("DefByte.xml").c_str());
    ASSERT_TRUE(MoveRows(grid, 0, 1, +1));
    Save();
    EXPECT_FALSE(FileExists(dir.File("DefByte.xml")));
    EXPECT_EQ(dir.Read("DNET_Net.xml").find("<DNET_Net><row ID=\"12\""), 0u);
}

// What an EDS import of the conveyor drive gives: two named input bytes, one of them past its 10 bytes.
DeviceImport DriveImport() {
    return {{{AreaDirection::Input, 3, "Speed"},
             {AreaDirection::Input, 4, "Speed byte 2"},
             {AreaDirection::Input, 11, "Beyond"}},
            {}};
}

TEST_F(SaveKeepingSelectionsTest, AnImportSelectsAndNamesItsBytesWhereverItsRowGoes) {
    grid.imports[1] = DriveImport();
    ASSERT_TRUE(MoveRows(grid, 1, 1, -1));
    const std::vector<NodeIo> proposed = NodesAfterSave(LoadDefByteTable(), grid);
    Save();
    const std::string conveyor =
        "<Nodo_DNET><ByteIN><row Select=\"N\" Mnemonic=\"\"/><row Select=\"Y\" Mnemonic=\"\"/><row Select=\"Y\" "
        "Mnemonic=\"Speed\"/><row Select=\"Y\" Mnemonic=\"Speed byte 2\"/><row Select=\"N\" Mnemonic=\"\"/><row "
        "Select=\"N\" Mnemonic=\"\"/><row Select=\"N\" Mnemonic=\"\"/><row Select=\"Y\" Mnemonic=\"\"/><row "
        "Select=\"Y\" Mnemonic=\"\"/><row Select=\"N\" Mnemonic=\"\"/></ByteIN><ByteOUT/></Nodo_DNET>";
    EXPECT_EQ(dir.Read("DefByte.xml")
                  .find("<DefBytes>" + conveyor +
                        "<Nodo_DNET><ByteIN><row Select=\"Y\" "
                        "Mnemonic=\"Position\"/>"),
              0u);
    // The addresses asked about before the save are those of the bytes saved.
    const std::vector<SelectedByte> selected = {{2, ""}, {3, "Speed"}, {4, "Speed byte 2"}, {8, ""}, {9, ""}};
    EXPECT_EQ(proposed.at(0).selectedIn, selected);
    EXPECT_EQ(NodesOf(LoadDefByteTable()).at(0).selectedIn, selected);
}

TEST_F(SaveKeepingSelectionsTest, AnImportMakesTheByteDocumentWhereThereIsNone) {
    std::remove(dir.File("DefByte.xml").c_str());
    grid.rows[1].NB_IN = "4";
    grid.imports[1] = DriveImport();
    Save();
    EXPECT_EQ(dir.Read("DefByte.xml"),
              "<DefBytes><Nodo_DNET><ByteIN><row Select=\"N\" Mnemonic=\"\"/><row Select=\"N\" Mnemonic=\"\"/><row "
              "Select=\"N\" Mnemonic=\"\"/></ByteIN><ByteOUT><row Select=\"N\" Mnemonic=\"\"/><row Select=\"N\" "
              "Mnemonic=\"\"/></ByteOUT></Nodo_DNET><Nodo_DNET><ByteIN><row Select=\"N\" Mnemonic=\"\"/><row "
              "Select=\"N\" Mnemonic=\"\"/><row Select=\"Y\" Mnemonic=\"Speed\"/><row Select=\"Y\" Mnemonic=\"Speed "
              "byte 2\"/></ByteIN><ByteOUT/></Nodo_DNET></DefBytes>");
}

TEST_F(SaveKeepingSelectionsTest, AFailedLaterSavePutsTheNetworkAndTheByteDocumentBack) {
    const std::string network = dir.Read("DNET_Net.xml");
    const std::string bytes = dir.Read("DefByte.xml");
    grid.imports[0] = DriveImport();
    ASSERT_TRUE(MoveRows(grid, 0, 1, +1));
    EXPECT_THROW(Save([] { throw std::runtime_error("PlcMap.xml cannot be written"); }), std::runtime_error);
    EXPECT_EQ(dir.Read("DNET_Net.xml"), network);
    EXPECT_EQ(dir.Read("DefByte.xml"), bytes);
}

TEST_F(SaveKeepingSelectionsTest, AnUnreadableByteDocumentStopsTheSaveBeforeAnythingIsWritten) {
    dir.Write("DefByte.xml", "<DefBytes><Nodo_DNET>");
    const std::string network = dir.Read("DNET_Net.xml");
    ASSERT_TRUE(MoveRows(grid, 0, 1, +1));
    EXPECT_THROW(Save(), ParseError);
    EXPECT_EQ(dir.Read("DNET_Net.xml"), network);
}

TEST_F(SaveKeepingSelectionsTest, AByteDocumentThatCannotBeWrittenPutsThePreviousNetworkBack) {
    if (!FileSizeLimit::kAvailable) GTEST_SKIP() << "no file size limit of a process to fill the disk with";
    const std::string network = dir.Read("DNET_Net.xml");
    const std::string bytes = dir.Read("DefByte.xml");
    ASSERT_TRUE(MoveRows(grid, 0, 1, +1));
    {
        // The network (under 400 bytes) is written, the byte document (over it) is not.
        FileSizeLimit limit(400);
        EXPECT_THROW(Save(), FileWriteError);
    }
    EXPECT_EQ(dir.Read("DNET_Net.xml"), network);
    EXPECT_EQ(dir.Read("DefByte.xml"), bytes);
}

}  // namespace
