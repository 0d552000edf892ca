#include "documents/tags_after_save.h"

#include <gtest/gtest.h>

using namespace tessara::documents;

namespace {

TypedTag Tag(const char* name, size_t node, uint32_t byte, TagType type = TagType::Int,
             AreaDirection direction = AreaDirection::Input) {
    return {name, direction, node, byte, type, ByteOrder::Little};
}

// Four loaded nodes of 4 input and 4 output bytes, each with a tag.
class TagsAfterSaveTest : public testing::Test {
protected:
    TagsAfterSaveTest() {
        for (size_t i = 0; i < 4; ++i) grid.rows[i] = DNetRow{std::to_string(i + 1), "4", "4", ""};
    }
    TagsAfterSave After() const { return TagsAfterGridSave(saved, 4, grid); }

    NetworkGrid grid;
    std::vector<TypedTag> saved = {Tag("A", 1, 1), Tag("B", 2, 3), Tag("C", 3, 1, TagType::Dword),
                                   Tag("D", 4, 2, TagType::Word, AreaDirection::Output)};
};

TEST_F(TagsAfterSaveTest, TagsGoWithTheirNodesWhereverRowOperationsPutThem) {
    EXPECT_EQ(After(), (TagsAfterSave{saved, {}}));
    ASSERT_TRUE(MoveRows(grid, 2, 2, -1));  // C D B
    ASSERT_TRUE(InsertRowAbove(grid, 0));   // - A C D B
    grid.rows[0] = DNetRow{"9", "2", "0", "new"};
    EXPECT_EQ(After(), (TagsAfterSave{{Tag("A", 2, 1), Tag("B", 5, 3), Tag("C", 3, 1, TagType::Dword),
                                       Tag("D", 4, 2, TagType::Word, AreaDirection::Output)},
                                      {}}));
}

TEST_F(TagsAfterSaveTest, ATagWhoseNodeIsGoneOrWhoseBytesAreCutIsDroppedAndSaysWhy) {
    DeleteRows(grid, 1, 1);     // B's node
    grid.rows[1].NB_IN = "3";   // C's node, now second: its DWORD needs 4
    grid.rows[2].NB_OUT = "3";  // D's WORD at bytes 2 and 3 still fits
    EXPECT_EQ(After(), (TagsAfterSave{{Tag("A", 1, 1), Tag("D", 3, 2, TagType::Word, AreaDirection::Output)},
                                      {{Tag("B", 2, 3), true, 0}, {Tag("C", 2, 1, TagType::Dword), false, 3}}}));
    // A node that falls out of the list (a forgotten ID) is gone as well.
    grid.rows[0].ID.clear();
    EXPECT_TRUE(After().dropped.at(0) == (DroppedTag{Tag("A", 1, 1), true, 0}));
}

TEST_F(TagsAfterSaveTest, TagsOfPositionsNoSavedNodeHadStayAsTheyStand) {
    saved.push_back(Tag("Stray", 9, 1));
    DeleteRows(grid, 0, 1);
    EXPECT_EQ(After().kept.back(), Tag("Stray", 9, 1));
}

TEST_F(TagsAfterSaveTest, AnImportsTagsTakeTheirRowsPositionWhenSaved) {
    grid.imports[3] = DeviceImport{{}, {Tag("Speed", 0, 1), Tag("Position", 0, 3, TagType::Dint)}};
    ASSERT_TRUE(MoveRows(grid, 3, 1, -1));
    const TagsAfterSave after = After();
    ASSERT_EQ(after.kept.size(), 5u);
    EXPECT_EQ(after.kept[4], Tag("Speed", 3, 1));
    // Its count of 4 no longer holds bytes 3 to 6.
    EXPECT_EQ(after.dropped, (std::vector<DroppedTag>{{Tag("Position", 3, 3, TagType::Dint), false, 4}}));
}

}  // namespace
