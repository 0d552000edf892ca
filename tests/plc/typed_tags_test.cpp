#include "plc/typed_tags.h"

#include <gtest/gtest.h>

#include "plc/address_map.h"

using namespace tessara::documents;
using namespace tessara::plc;

namespace {

constexpr AreaDirection I = AreaDirection::Input;
constexpr AreaDirection Q = AreaDirection::Output;

std::vector<SelectedByte> Bytes(uint32_t first, uint32_t last, const std::string& stem) {
    std::vector<SelectedByte> bytes;
    for (uint32_t b = first; b <= last; ++b) bytes.push_back({b, stem + std::to_string(b)});
    return bytes;
}

// A drive of 4 input bytes (status word, speed) and 2 output bytes, then a node of 65 selected input bytes
// (byte 63 left out) whose bytes 61 and on lie in the second input slot; the output area takes 3 bytes.
std::vector<NodeIo> Nodes() {
    std::vector<SelectedByte> valveIn = Bytes(1, 62, "V");
    valveIn.front().mnemonic = "Speed";
    for (const SelectedByte& b : Bytes(64, 66, "V")) valveIn.push_back(b);
    return {{1, 5, "Drive", 4, 2, Bytes(1, 4, "D"), Bytes(1, 2, "C")},
            {2, 6, "Valve", 70, 2, valveIn, Bytes(1, 2, "W")}};
}

const ProfibusLayout kLayout(ProfibusAreas{70, 3}, {});

TEST(TypedTags, EachFaultIsFoundAndNamed) {
    const std::vector<TypedTag> tags = {
        {"Status", I, 1, 1, TagType::Word, ByteOrder::Little},
        {"Speed", I, 1, 3, TagType::Int, ByteOrder::Big},
        {"speed", I, 2, 1, TagType::Int},
        {"Level", I, 2, 60, TagType::Int},
        {"Gap", I, 2, 62, TagType::Int},
        {"Out", Q, 2, 1, TagType::Word},
        {"Over", I, 1, 2, TagType::Int},
        {"Ghost", I, 9, 1, TagType::Byte},
        {"INT", I, 2, 64, TagType::Word},
        {"Tail", I, 1, 4, TagType::Word},
    };
    const std::vector<TagPlacement> placements = PlaceTypedTags(Nodes(), kLayout, tags);
    const std::vector<std::string> expected = {
        "",
        "",
        "its name is taken by Speed (INT, node 1 byte 3 of the input area)",
        "its bytes lie in slots 1 and 2, which the master may place apart",
        "byte 63 of the node is not selected, so the 2 bytes of the INT are not consecutive in the area",
        "its bytes do not all fit: past the 3 bytes of pargen.xml",
        "it shares bytes with Status (WORD, node 1 byte 1 of the input area)",
        "the network has no node 9",
        "\"INT\" is a reserved word of IEC 61131-3",
        "byte 5 is past the node's 4 input bytes",
    };
    ASSERT_EQ(placements.size(), expected.size());
    for (size_t i = 0; i < tags.size(); ++i)
        EXPECT_EQ(TagFaultText(tags, i, placements[i], kLayout), expected[i]) << tags[i].name;
    EXPECT_EQ(placements[1].offset, 2u);
    EXPECT_EQ(placements[1].first.address, 2u);
}

// Of two tags that share bytes the one added later is refused, wherever it lies in the area.
TEST(TypedTags, ANewTagIsRefusedForItsLengthAndForEveryFault) {
    const std::vector<TypedTag> tags = {{"Speed", I, 1, 3, TagType::Int}};
    EXPECT_EQ(NewTagProblem(Nodes(), kLayout, tags, {"Pos", I, 1, 1, TagType::Dint}, 3),
              "DINT takes 4 bytes, and 3 are chosen");
    EXPECT_EQ(NewTagProblem(Nodes(), kLayout, tags, {"Pos", I, 1, 2, TagType::Int}, 2),
              "The tag Pos (INT, node 1 byte 2 of the input area) cannot be made: it shares bytes with Speed (INT, "
              "node 1 byte 3 of the input area)");
    EXPECT_EQ(NewTagProblem(Nodes(), kLayout, tags, {"Speed ref", I, 1, 1, TagType::Int}, 2),
              "The tag Speed ref (INT, node 1 byte 1 of the input area) cannot be made: \"Speed ref\" is not an IEC "
              "61131-3 name: letters and digits with single underscores between them, a letter first");
    EXPECT_EQ(NewTagProblem(Nodes(), kLayout, tags, {"Status", I, 1, 1, TagType::Word}, 2), std::nullopt);

    // A tag that is not one value now (byte 63 not selected) keeps its bytes and its name from a new tag.
    const std::vector<TypedTag> gap = {{"Gap", I, 2, 62, TagType::Int}};
    EXPECT_EQ(NewTagProblem(Nodes(), kLayout, gap, {"Low", I, 2, 61, TagType::Int}, 2),
              "The tag Low (INT, node 2 byte 61 of the input area) cannot be made: it shares bytes with Gap (INT, "
              "node 2 byte 62 of the input area)");
    EXPECT_EQ(NewTagProblem(Nodes(), kLayout, gap, {"GAP", I, 2, 1, TagType::Int}, 2),
              "The tag GAP (INT, node 2 byte 1 of the input area) cannot be made: its name is taken by Gap (INT, node "
              "2 byte 62 of the input area)");
}

// A faulty tag stays in PlcMap.xml: a new tag of its name, or on its bytes, would clash with it once it is mended.
TEST(TypedTags, ANewTagIsRefusedAgainstFaultyTagsToo) {
    const std::vector<TypedTag> tags = {{"Gap", I, 2, 62, TagType::Int}, {"INT", I, 1, 1, TagType::Word}};
    EXPECT_EQ(NewTagProblem(Nodes(), kLayout, tags, {"gap", I, 1, 3, TagType::Int}, 2),
              "The tag gap (INT, node 1 byte 3 of the input area) cannot be made: its name is taken by Gap (INT, node "
              "2 byte 62 of the input area)");
    EXPECT_EQ(NewTagProblem(Nodes(), kLayout, tags, {"Speed", I, 1, 2, TagType::Int}, 2),
              "The tag Speed (INT, node 1 byte 2 of the input area) cannot be made: it shares bytes with INT (WORD, "
              "node 1 byte 1 of the input area)");
    EXPECT_EQ(NewTagProblem(Nodes(), kLayout, tags, {"Speed", I, 1, 3, TagType::Int}, 2), std::nullopt);
}

// A sound tag is one row at its first byte's address; a byte's symbol yields to a tag's name; a faulty tag leaves
// its bytes as they were and is told.
TEST(TypedTags, TheMapMakesOneRowOfEachSoundTag) {
    const MapTags tags{{{"Status", I, 1, 1, TagType::Word, ByteOrder::Little},
                        {"Speed", I, 1, 3, TagType::Int, ByteOrder::Big},
                        {"Gap", I, 2, 62, TagType::Int}},
                       ByteOrder::Big};
    const AddressMap map = BuildAddressMap("p", Nodes(), kLayout, SymbolStyle::Byte, tags);
    ASSERT_EQ(map.input.size(), 67u);
    const AddressMapRow& status = map.input[0];
    EXPECT_EQ(std::tuple(status.symbol, status.type, status.size, status.address, status.byte, status.swap),
              std::tuple("Status", TagType::Word, 2u, 0u, 1u, true));
    const AddressMapRow& speed = map.input[1];
    EXPECT_EQ(std::tuple(speed.symbol, speed.offset, speed.address, speed.byte, speed.swap, speed.tagged),
              std::tuple("Speed", 2u, 2u, 3u, false, true));
    EXPECT_EQ(map.input[2].symbol, "Speed_2");
    EXPECT_EQ(map.input[2].size, 1u);
    EXPECT_FALSE(map.input[2].tagged);
    ASSERT_EQ(map.unmadeTags.size(), 1u);
    EXPECT_EQ(map.unmadeTags[0].tag.name, "Gap");

    // Starts that put the tag's last byte past the last PLC byte leave it without an address.
    AddressMap moved = map;
    PlaceAddressMap(moved, ProfibusLayout(ProfibusAreas{70, 3}, {{I, 1, 65533}, {I, 2, 0}}));
    EXPECT_TRUE(moved.input[0].fits);
    EXPECT_FALSE(moved.input[1].fits);
    EXPECT_EQ(moved.input[1].problem, FitProblem::PastLastPlcByte);
}

}  // namespace
