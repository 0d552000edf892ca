#pragma once

#include <string>
#include <vector>

#include "documents/node_selections.h"
#include "documents/typed_tag.h"

class QWidget;

namespace tessara::documents {

// Before OK saves: true when no tag loses bytes, or when the user agrees to remove those that do, which are then
// gone from `tags`. No is the default answer: a tag is the user's work.
bool MaySaveDroppingBrokenTags(QWidget* parent, const std::vector<NodeIo>& savedNodes,
                               const std::vector<TypedTag>& savedTags, const std::vector<NodeIo>& nodes,
                               std::vector<TypedTag>& tags);

}  // namespace tessara::documents
