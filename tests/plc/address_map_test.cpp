#include "plc/address_map.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "check/project_address_map.h"
#include "check/project_check.h"
#include "support/temp_dir.h"

using namespace tessara::check;
using namespace tessara::plc;

// Found by the test framework's printer through the argument's namespace.
namespace tessara::plc {
void PrintTo(const AddressMapRow& r, std::ostream* out) {
    *out << MapAreaName(r.area) << " @" << r.offset << " node " << r.node << " (ID " << r.id << ") byte " << r.byte
         << " '" << r.mnemonic << "' -> " << r.symbol << " slot " << r.slot << "+" << r.slotOffset << " @" << r.address
         << (r.fits ? "" : " (does not fit)");
}
}  // namespace tessara::plc

namespace {

constexpr MapArea I = MapArea::Input;
constexpr MapArea Q = MapArea::Output;

// A row of small areas of one slot each, starting at 0: slot 1 for inputs, 2 for outputs; its address is its
// offset, or none past the area.
AddressMapRow Row(MapArea area, size_t offset, size_t node, int id, std::string nodeMnemonic, uint32_t byte,
                  std::string mnemonic, std::string symbol, bool fits) {
    AddressMapRow row{area, offset, node, id, std::move(nodeMnemonic), byte, std::move(mnemonic), std::move(symbol),
                      fits};
    if (fits) {
        row.slot = area == MapArea::Input ? 1 : 2;
        row.slotOffset = row.address = offset;
    } else {
        row.problem = tessara::documents::FitProblem::PastArea;
    }
    return row;
}

struct MapCase {
    const char* name;
    std::string network;  // DNET_Net.xml
    std::string bytes;    // DefByte.xml
    std::string pargen;   // empty: no pargen.xml
    std::vector<AddressMapRow> input;
    std::vector<AddressMapRow> output;
};

void PrintTo(const MapCase& c, std::ostream* out) {
    *out << c.name;
}

std::string Pargen(int in, int out) {
    return "<Par_Gen><PROFI_ID>3</PROFI_ID><PROFI_BAUD>10</PROFI_BAUD><PROFI_NB_IN>" + std::to_string(in) +
           "</PROFI_NB_IN><PROFI_NB_OUT>" + std::to_string(out) +
           "</PROFI_NB_OUT><DNET_DEV_ID>62</DNET_DEV_ID><DNET_BAUD>2</DNET_BAUD></Par_Gen>";
}

class AddressMapTest : public ::testing::TestWithParam<MapCase> {};

TEST_P(AddressMapTest, PlacesEverySelectedByteInNetworkAndByteOrder) {
    const MapCase& c = GetParam();
    TempDir project;
    project.Write("DNET_Net.xml", c.network);
    project.Write("DefByte.xml", c.bytes);
    if (!c.pargen.empty()) project.Write("pargen.xml", c.pargen);
    const ProjectCheck check = CheckProject(project.path());
    const AddressMap map = ProjectAddressMap(check, ProjectLayout(check));
    EXPECT_EQ(map.input, c.input);
    EXPECT_EQ(map.output, c.output);
}

INSTANTIATE_TEST_SUITE_P(
    Projects, AddressMapTest,
    testing::Values(
        MapCase{"WorkedExampleOfTheImage",
                ReadFixture("image_worked_example/DNET_Net.xml"),
                ReadFixture("image_worked_example/DefByte.xml"),
                ReadFixture("image_worked_example/pargen.xml"),
                {Row(I, 0, 1, 5, "Valve 3", 1, "Position", "Position", true),
                 Row(I, 1, 1, 5, "Valve 3", 3, "Status", "Status", true),
                 Row(I, 2, 2, 12, "Conveyor drive", 2, "", "N12_I2", true),
                 Row(I, 3, 2, 12, "Conveyor drive", 8, "", "N12_I8", true),
                 Row(I, 4, 2, 12, "Conveyor drive", 9, "", "N12_I9", true)},
                {Row(Q, 0, 1, 5, "Valve 3", 2, "Command", "Command", true)}},
        // The middle node selects nothing: the third node's bytes follow the first's directly.
        MapCase{"NodeWithoutSelectedBytesTakesNoRoom",
                "<DNET_Net><row ID=\"1\" NB_IN=\"1\" NB_OUT=\"1\" Mnemonic=\"A\"/>"
                "<row ID=\"2\" NB_IN=\"2\" NB_OUT=\"2\" Mnemonic=\"B\"/>"
                "<row ID=\"3\" NB_IN=\"1\" NB_OUT=\"1\" Mnemonic=\"C\"/></DNET_Net>",
                "<DefBytes><Nodo_DNET><ByteIN><row Select=\"Y\" Mnemonic=\"a\"/></ByteIN>"
                "<ByteOUT><row Select=\"Y\" Mnemonic=\"\"/></ByteOUT></Nodo_DNET>"
                "<Nodo_DNET><ByteIN><row Select=\"N\" Mnemonic=\"\"/><row Select=\"N\" Mnemonic=\"\"/></ByteIN>"
                "<ByteOUT><row Select=\"N\" Mnemonic=\"\"/><row Select=\"N\" Mnemonic=\"\"/></ByteOUT></Nodo_DNET>"
                "<Nodo_DNET><ByteIN><row Select=\"Y\" Mnemonic=\"c\"/></ByteIN>"
                "<ByteOUT><row Select=\"Y\" Mnemonic=\"\"/></ByteOUT></Nodo_DNET></DefBytes>",
                Pargen(4, 4),
                {Row(I, 0, 1, 1, "A", 1, "a", "a", true), Row(I, 1, 3, 3, "C", 1, "c", "c", true)},
                {Row(Q, 0, 1, 1, "A", 1, "", "N1_Q1", true), Row(Q, 1, 3, 3, "C", 1, "", "N3_Q1", true)}},
        // Three input bytes for an area of two, two output bytes for one: exactly the bytes past the end.
        MapCase{"OverflowMarksExactlyTheBytesPastTheArea",
                "<DNET_Net><row ID=\"4\" NB_IN=\"2\" NB_OUT=\"1\" Mnemonic=\"\"/>"
                "<row ID=\"9\" NB_IN=\"1\" NB_OUT=\"1\" Mnemonic=\"\"/></DNET_Net>",
                "<DefBytes><Nodo_DNET><ByteIN><row Select=\"Y\" Mnemonic=\"\"/><row Select=\"Y\" Mnemonic=\"\"/>"
                "</ByteIN><ByteOUT><row Select=\"Y\" Mnemonic=\"\"/></ByteOUT></Nodo_DNET>"
                "<Nodo_DNET><ByteIN><row Select=\"Y\" Mnemonic=\"\"/></ByteIN>"
                "<ByteOUT><row Select=\"Y\" Mnemonic=\"\"/></ByteOUT></Nodo_DNET></DefBytes>",
                Pargen(2, 1),
                {Row(I, 0, 1, 4, "", 1, "", "N4_I1", true), Row(I, 1, 1, 4, "", 2, "", "N4_I2", true),
                 Row(I, 2, 2, 9, "", 1, "", "N9_I1", false)},
                {Row(Q, 0, 1, 4, "", 1, "", "N4_Q1", true), Row(Q, 1, 2, 9, "", 1, "", "N9_Q1", false)}},
        // Without pargen.xml both areas hold 0 bytes: every byte is listed, none fits.
        MapCase{"WithoutSettingsNothingFits",
                "<DNET_Net><row ID=\"4\" NB_IN=\"1\" NB_OUT=\"0\" Mnemonic=\"\"/></DNET_Net>",
                "<DefBytes><Nodo_DNET><ByteIN><row Select=\"Y\" Mnemonic=\"x\"/></ByteIN><ByteOUT/></Nodo_DNET>"
                "</DefBytes>",
                "",
                {Row(I, 0, 1, 4, "", 1, "x", "x", false)},
                {}}),
    [](const testing::TestParamInfo<MapCase>& info) { return std::string(info.param.name); });

TEST(PlcByteAddress, SpellsTheAreaAndTheByte) {
    EXPECT_EQ(PlcByteAddress(MapArea::Input, 12), "IB 12");
    EXPECT_EQ(PlcByteAddress(MapArea::Output, 3), "QB 3");
}

}  // namespace
