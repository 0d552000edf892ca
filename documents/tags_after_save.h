#pragma once

#include <cstddef>
#include <vector>

#include "documents/network_reorder.h"
#include "documents/typed_tag.h"

namespace tessara::documents {

// A typed tag that saving the network editor's grid removes, and why.
struct DroppedTag {
    TypedTag tag;              // at its node's position in the grid, or in the saved network when that node is gone
    bool nodeDeleted = false;  // otherwise its node's byte count is lowered below its last byte
    size_t bytesLeft = 0;      // the node's bytes of the tag's direction after the save
    bool operator==(const DroppedTag&) const = default;
};

struct TagsAfterSave {
    std::vector<TypedTag> kept;
    std::vector<DroppedTag> dropped;
    bool operator==(const TagsAfterSave&) const = default;
};

// The project's typed tags as saving `grid` leaves them. Tags are kept by node position, so the tag of a node the
// saved network held (one of its first `loadedNodes`) takes the position of the row that came from that node; it
// is dropped when no row of the list came from it, or when the row's new count no longer holds its last byte. A
// tag of a position no saved node had is kept as it stands (the project check tells of it). The tags of each
// row's import follow, at the row's position, unless the row's count no longer holds them.
TagsAfterSave TagsAfterGridSave(const std::vector<TypedTag>& saved, size_t loadedNodes, const NetworkGrid& grid);

}  // namespace tessara::documents
