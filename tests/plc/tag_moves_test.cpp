#include "plc/tag_moves.h"

#include <gtest/gtest.h>

using namespace tessara::documents;
using namespace tessara::plc;

namespace {

constexpr AreaDirection I = AreaDirection::Input;
constexpr AreaDirection Q = AreaDirection::Output;

TEST(TagMoves, TellAddedRemovedAndMovedTagsBySymbol) {
    const std::vector<ExportedTag> before = {{"A", I, 0}, {"B", I, 1}, {"C", Q, 0}, {"D", I, 2}};
    const std::vector<ExportedTag> after = {{"B", I, 1}, {"A", I, 2}, {"C", I, 0}, {"E", Q, 4}};
    const TagComparison comparison = CompareTags(before, after);
    EXPECT_EQ(comparison.moved, (std::vector<TagChange>{{"A", before[0], after[1]}, {"C", before[2], after[2]}}));
    EXPECT_EQ(comparison.removed, (std::vector<TagChange>{{"D", before[3], std::nullopt}}));
    EXPECT_EQ(comparison.added, (std::vector<TagChange>{{"E", std::nullopt, after[3]}}));
    EXPECT_TRUE(comparison.Broken());
    EXPECT_FALSE(CompareTags(before, before).Broken());
    EXPECT_EQ(TagChangeText(comparison.moved[1]), "C: QB 0 -> IB 0");
    EXPECT_EQ(TagChangeText(comparison.removed[0]), "D: IB 2 -> no address");
    EXPECT_EQ(TagChangeText(comparison.added[0]), "E: new at QB 4");
}

// What an editor's OK would do to the exported tags: the unsaved table of the editor against the last export.
TEST(TagMoves, AProposedTableCountsAndNamesTheExportedTagsItWouldMove) {
    DefByteTable table(2);
    table[0] = {5, 2, 0, {1, 1}, {}, {"Position", "Status"}, {}, "Valve"};
    table[1] = {6, 1, 0, {1}, {}, {"Speed"}, {}, "Drive"};
    const ProfibusAreas areas{3, 0};
    const AddressMap saved = BuildAddressMap("p", NodesOf(table), ProfibusLayout(areas, {{I, 1, 10}}));
    const TagExport recorded = RecordedExport(saved, "2026-12-11T06:00:00Z");
    EXPECT_EQ(recorded.symbols, "byte");
    const PlcMapDocument document{{{I, 1, 10}}, {}, {}, recorded};
    EXPECT_TRUE(ExportedTagsMovedBy(document, NodesOf(table), areas).empty());

    std::swap(table[0], table[1]);  // the network editor's reorder
    const std::vector<TagChange> moves = ExportedTagsMovedBy(document, NodesOf(table), areas);
    ASSERT_EQ(moves.size(), 3u);
    EXPECT_EQ(MovedSinceExportText(recorded, moves, 2),
              "3 PLC addresses moved since tags were exported on 2026-12-11: Position: IB 10 -> IB 11; Status: IB 11 "
              "-> IB 12; and 1 more");
    // A smaller area takes the last tag's address: it is named as lost, after the moved ones.
    std::swap(table[0], table[1]);
    const std::vector<TagChange> shrunk = ExportedTagsMovedBy(document, NodesOf(table), {2, 0});
    ASSERT_EQ(shrunk.size(), 1u);
    EXPECT_EQ(TagChangeText(shrunk[0]), "Speed: IB 12 -> no address");
}

}  // namespace
