#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "documents/node_selections.h"
#include "documents/typed_tag.h"

namespace tessara::plc {

// A typed tag that a proposed state of the bytes breaks: the index of the tag and what it loses,
// "Speed (INT, node 1 byte 3 of the input area) loses byte 4".
struct TagLoss {
    size_t index = 0;
    std::string text;
    bool operator==(const TagLoss&) const = default;
};

// The tags of `tags` that lose bytes in `nodes` (an editor's state) against the documents' state (`savedNodes`,
// `savedTags`): a byte the node does not have, or a byte not selected now that was selected when the tag was saved,
// or at all for a tag not saved yet. A tag already broken when it was saved is not told of again for the bytes it
// had lost then.
std::vector<TagLoss> TagLosses(const std::vector<documents::NodeIo>& savedNodes,
                               const std::vector<documents::TypedTag>& savedTags,
                               const std::vector<documents::NodeIo>& nodes,
                               const std::vector<documents::TypedTag>& tags);

}  // namespace tessara::plc
