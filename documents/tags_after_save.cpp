#include "documents/tags_after_save.h"

#include <array>

#include "documents/dnet_network.h"
#include "documents/int_text.h"

namespace tessara::documents {

namespace {

// The row's bytes of the tag's direction; the list passed the row checks, so the count is a number.
size_t BytesOf(const DNetRow& row, AreaDirection direction) {
    const int32_t count = IntOrMinusOne(direction == AreaDirection::Input ? row.NB_IN : row.NB_OUT);
    return count < 0 ? 0 : static_cast<size_t>(count);
}

// Keeps `tag` at `position` (from 1) where the row there holds its bytes; drops it otherwise.
void KeepWhereItFits(TypedTag tag, size_t position, const NetworkGrid& grid, TagsAfterSave& after) {
    tag.node = position;
    const size_t bytes = BytesOf(grid.rows[position - 1], tag.direction);
    if (tag.LastByte() > bytes) {
        after.dropped.push_back({tag, false, bytes});
    } else {
        after.kept.push_back(tag);
    }
}

}  // namespace

TagsAfterSave TagsAfterGridSave(const std::vector<TypedTag>& saved, size_t loadedNodes, const NetworkGrid& grid) {
    const size_t length = DNetListLength(grid.rows);
    // The position (from 1) each saved node takes; 0 for a node no row of the list came from.
    std::array<size_t, kDNetRowCount> positionOf{};
    for (size_t i = 0; i < length; ++i) {
        if (grid.origins[i] != kNewRow) positionOf[static_cast<size_t>(grid.origins[i])] = i + 1;
    }
    TagsAfterSave after;
    for (const TypedTag& tag : saved) {
        if (tag.node == 0 || tag.node > loadedNodes) {
            after.kept.push_back(tag);
            continue;
        }
        const size_t position = tag.node <= kDNetRowCount ? positionOf[tag.node - 1] : 0;
        if (position == 0) {
            after.dropped.push_back({tag, true, 0});
        } else {
            KeepWhereItFits(tag, position, grid, after);
        }
    }
    for (size_t i = 0; i < length; ++i) {
        if (!grid.imports[i]) continue;
        for (const TypedTag& tag : grid.imports[i]->tags) KeepWhereItFits(tag, i + 1, grid, after);
    }
    return after;
}

}  // namespace tessara::documents
