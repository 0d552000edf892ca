#include "documents/area_offsets.h"

#include <gtest/gtest.h>

using namespace tessara::documents;

namespace {

constexpr size_t No = kNoAreaOffset;

DN_Nodo Node(std::vector<char> in, std::vector<char> out) {
    DN_Nodo node;
    node.InSelect = std::move(in);
    node.OutSelect = std::move(out);
    return node;
}

// The worked example of the configuration image: node 1 selects input bytes 1 and 3 and output byte 2, node 2
// input bytes 2, 8 and 9; a node with nothing selected between them takes no room.
const DefByteTable kExample = {Node({1, 0, 1}, {0, 1}), Node({0, 0}, {0}), Node({0, 1, 0, 0, 0, 0, 0, 1, 1}, {0, 0})};

TEST(AreaOffsets, NodesFillTheAreaInNetworkOrderAndBytesByRank) {
    struct Case {
        size_t node;
        bool output;
        size_t before;
        std::vector<size_t> offsets;
    };
    const Case cases[] = {
        {0, false, 0, {0, No, 1}},
        {1, false, 2, {No, No}},
        {2, false, 2, {No, 2, No, No, No, No, No, 3, 4}},
        {0, true, 0, {No, 0}},
        {2, true, 1, {No, No}},
        {9, false, 5, {}},  // beyond the table: every byte of it comes before
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "node " << c.node << (c.output ? " out" : " in"));
        const size_t before = SelectedBytesBefore(kExample, c.node, c.output);
        EXPECT_EQ(before, c.before);
        if (c.node >= kExample.size()) continue;
        const DN_Nodo& node = kExample[c.node];
        EXPECT_EQ(AreaOffsets(before, c.output ? node.OutSelect : node.InSelect), c.offsets);
    }
}

TEST(AreaOffsets, AnyNonZeroSelectionCountsAndAnEmptyNodeGivesNothing) {
    const std::vector<char> selections = {2, 0, 'Y'};
    EXPECT_EQ(AreaOffsets(7, selections), (std::vector<size_t>{7, No, 8}));
    EXPECT_TRUE(AreaOffsets(3, {}).empty());
}

// The byte editor's column and the map give a byte the same address: the packing through the one function.
TEST(AreaOffsets, NodeBytesTakeTheirSlotsAddress) {
    const ProfibusLayout layout({4, 1}, {{AreaDirection::Input, 1, 12}});
    const std::vector<ProfibusAddress> third = NodeByteAddresses(kExample, 2, AreaDirection::Input, layout);
    ASSERT_EQ(third.size(), 9u);
    EXPECT_EQ(third[0], ProfibusAddress{});
    EXPECT_EQ(third[1], (ProfibusAddress{1, 2, 14, true, FitProblem::None}));
    EXPECT_EQ(third[7], (ProfibusAddress{1, 3, 15, true, FitProblem::None}));
    EXPECT_EQ(third[8], (ProfibusAddress{0, 0, 0, false, FitProblem::PastArea}));
    EXPECT_EQ(NodeByteAddresses(kExample, 0, AreaDirection::Output, layout)[1],
              (ProfibusAddress{2, 0, 0, true, FitProblem::None}));
    EXPECT_TRUE(NodeByteAddresses(kExample, 3, AreaDirection::Input, layout).empty());
}

}  // namespace
