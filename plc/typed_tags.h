#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "documents/node_selections.h"
#include "documents/plc_map_document.h"
#include "documents/profibus_slots.h"
#include "documents/typed_tag.h"
#include "plc/address_map.h"

namespace tessara::plc {

// Why a typed tag cannot be read by the PLC as one value.
enum class TagFault {
    None,
    NoNode,       // the network has no node at its position
    NotSelected,  // one of its bytes is not selected, so its bytes are not consecutive in the area
    DoesNotFit,   // one of its bytes has no PLC address
    CrossesSlot,  // its bytes lie in two slots, which the master may place apart
    Overlaps,     // it shares a byte with an earlier tag
    NameTaken,    // an earlier tag has its name, without regard to case
    BadName,      // its name is no IEC 61131-3 identifier a PLC takes
};

// Where a typed tag lands, and what keeps it from being one value.
struct TagPlacement {
    TagFault fault = TagFault::None;
    size_t offset = 0;                 // its first byte's place in the area, once its bytes are selected
    documents::ProfibusAddress first;  // where its first byte lands
    documents::ProfibusAddress last;   // where its last byte lands
    uint32_t unselectedByte = 0;       // NotSelected: the first of its bytes that is not selected
    uint32_t nodeBytes = 0;            // NotSelected: the node's bytes in the tag's direction
    size_t other = 0;                  // Overlaps, NameTaken: the index of the earlier tag
    bool operator==(const TagPlacement&) const = default;
};

// Every tag of `tags` placed among the selected bytes of `nodes` as the gateway packs them, under `layout`. A tag
// is judged alone first; among the sound ones, one that shares a byte with a tag before it in area order, or has
// the name of a tag before it in `tags`, is faulted.
std::vector<TagPlacement> PlaceTypedTags(const std::vector<documents::NodeIo>& nodes,
                                         const documents::ProfibusLayout& layout,
                                         const std::vector<documents::TypedTag>& tags);

// "Speed (INT, node 2 byte 3 of the input area)": a tag as the findings and refusals name it.
std::string TypedTagPlace(const documents::TypedTag& tag);

// Why the tag at `index` of `tags` is not one value: "byte 4 is not selected"; empty for a sound tag.
std::string TagFaultText(const std::vector<documents::TypedTag>& tags, size_t index, const TagPlacement& placement,
                         const documents::ProfibusLayout& layout);

// Why a new tag cannot be made from a run of `runLength` selected bytes: the run is not of the type's size, or
// the tag would have a fault among `tags`. Nullopt when it can.
std::optional<std::string> NewTagProblem(const std::vector<documents::NodeIo>& nodes,
                                         const documents::ProfibusLayout& layout,
                                         const std::vector<documents::TypedTag>& tags, const documents::TypedTag& tag,
                                         size_t runLength);

// Whether two tag names are one name to a PLC: IEC 61131-3 names do not tell case apart.
bool SameTagName(std::string_view a, std::string_view b);

// The typed tags of PlcMap.xml and its PLC byte order, as the map takes them.
MapTags TagsOf(const documents::PlcMapDocument& document);

}  // namespace tessara::plc
