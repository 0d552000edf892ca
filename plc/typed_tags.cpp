#include "plc/typed_tags.h"

#include <algorithm>
#include <tuple>
#include <unordered_map>

#include "plc/plc_symbols.h"

namespace tessara::plc {

namespace {

using documents::AreaDirection;
using documents::NodeIo;
using documents::ProfibusLayout;
using documents::TypedTag;

const std::vector<documents::SelectedByte>& SelectedOf(const NodeIo& node, AreaDirection direction) {
    return direction == AreaDirection::Input ? node.selectedIn : node.selectedOut;
}

// Where each node's selected bytes start in the two areas: the bytes of the nodes before it, in network order.
struct AreaStarts {
    std::vector<size_t> input;
    std::vector<size_t> output;
    const std::vector<size_t>& Of(AreaDirection direction) const {
        return direction == AreaDirection::Input ? input : output;
    }
};

AreaStarts NodeAreaStarts(const std::vector<NodeIo>& nodes) {
    AreaStarts starts;
    size_t in = 0;
    size_t out = 0;
    for (const NodeIo& node : nodes) {
        starts.input.push_back(in);
        starts.output.push_back(out);
        in += node.selectedIn.size();
        out += node.selectedOut.size();
    }
    return starts;
}

TagPlacement PlaceAlone(const std::vector<NodeIo>& nodes, const AreaStarts& starts, const ProfibusLayout& layout,
                        const TypedTag& tag) {
    TagPlacement placement;
    if (tag.node == 0 || tag.node > nodes.size()) {
        placement.fault = TagFault::NoNode;
        return placement;
    }
    const NodeIo& node = nodes[tag.node - 1];
    const std::vector<documents::SelectedByte>& selected = SelectedOf(node, tag.direction);
    const auto first = std::ranges::lower_bound(selected, tag.byte, {}, &documents::SelectedByte::number);
    for (uint32_t byte = tag.byte; byte <= tag.LastByte(); ++byte) {
        const auto at = first + (byte - tag.byte);
        if (at >= selected.end() || at->number != byte) {
            placement.fault = TagFault::NotSelected;
            placement.unselectedByte = byte;
            placement.nodeBytes = tag.direction == AreaDirection::Input ? node.NB_IN : node.NB_OUT;
            return placement;
        }
    }
    placement.offset = starts.Of(tag.direction)[tag.node - 1] + static_cast<size_t>(first - selected.begin());
    placement.first = layout.Address(tag.direction, placement.offset);
    placement.last = layout.Address(tag.direction, placement.offset + documents::TagTypeSize(tag.type) - 1);
    if (!placement.first.fits || !placement.last.fits) {
        placement.fault = TagFault::DoesNotFit;
    } else if (placement.first.slot != placement.last.slot) {
        placement.fault = TagFault::CrossesSlot;
    } else if (PlcNameProblem(tag.name)) {
        placement.fault = TagFault::BadName;
    }
    return placement;
}

void FaultTakenNames(const std::vector<TypedTag>& tags, std::vector<TagPlacement>& placements) {
    std::unordered_map<std::string, size_t> named;
    for (size_t i = 0; i < tags.size(); ++i) {
        if (placements[i].fault != TagFault::None) continue;
        const auto [earlier, added] = named.try_emplace(PlcNameKey(tags[i].name), i);
        if (added) continue;
        placements[i].fault = TagFault::NameTaken;
        placements[i].other = earlier->second;
    }
}

// Of two sound tags that share a byte, the later one in `tags` is faulted, naming the earlier. Walked in area
// order, a tag can only share bytes with the tags still reaching past its first byte, a handful at most.
void FaultOverlaps(const std::vector<TypedTag>& tags, std::vector<TagPlacement>& placements) {
    std::vector<size_t> order;
    for (size_t i = 0; i < tags.size(); ++i) {
        if (placements[i].fault == TagFault::None) order.push_back(i);
    }
    std::ranges::sort(order, [&](size_t a, size_t b) {
        return std::tuple(tags[a].direction, placements[a].offset, a) <
               std::tuple(tags[b].direction, placements[b].offset, b);
    });
    const auto end = [&](size_t i) { return placements[i].offset + documents::TagTypeSize(tags[i].type); };
    std::vector<size_t> reaching;
    for (const size_t i : order) {
        std::erase_if(reaching, [&](size_t r) {
            return tags[r].direction != tags[i].direction || end(r) <= placements[i].offset;
        });
        bool faulted = false;
        for (auto r = reaching.begin(); r != reaching.end();) {
            const size_t earlier = std::min(*r, i);
            const size_t later = std::max(*r, i);
            placements[later].fault = TagFault::Overlaps;
            placements[later].other = earlier;
            if (later == i) {
                faulted = true;
                break;
            }
            r = reaching.erase(r);
        }
        if (!faulted) reaching.push_back(i);
    }
}

bool SharesNodeBytes(const TypedTag& a, const TypedTag& b) {
    return a.node == b.node && a.direction == b.direction && a.byte <= b.LastByte() && b.byte <= a.LastByte();
}

// A new tag is judged against every kept tag, sound or faulty: a faulty one stays in PlcMap.xml, and a second tag
// of its name or on its bytes would clash with it once it is mended, and make a name that no longer tells one tag.
TagPlacement ClashWithKeptTag(const std::vector<TypedTag>& tags, const TypedTag& tag, TagPlacement placement) {
    placement.fault = TagFault::None;
    auto kept = std::ranges::find_if(tags, [&tag](const TypedTag& t) { return SameTagName(t.name, tag.name); });
    if (kept != tags.end()) {
        placement.fault = TagFault::NameTaken;
    } else if ((kept = std::ranges::find_if(tags, [&tag](const TypedTag& t) { return SharesNodeBytes(t, tag); })) !=
               tags.end()) {
        placement.fault = TagFault::Overlaps;
    }
    if (placement.fault != TagFault::None) placement.other = static_cast<size_t>(kept - tags.begin());
    return placement;
}

const char* AreaName(AreaDirection direction) {
    return direction == AreaDirection::Input ? "input" : "output";
}

}  // namespace

std::vector<TagPlacement> PlaceTypedTags(const std::vector<NodeIo>& nodes, const ProfibusLayout& layout,
                                         const std::vector<TypedTag>& tags) {
    const AreaStarts starts = NodeAreaStarts(nodes);
    std::vector<TagPlacement> placements;
    placements.reserve(tags.size());
    for (const TypedTag& tag : tags) placements.push_back(PlaceAlone(nodes, starts, layout, tag));
    FaultTakenNames(tags, placements);
    FaultOverlaps(tags, placements);
    return placements;
}

std::string TypedTagPlace(const TypedTag& tag) {
    return tag.name + " (" + documents::TagTypeName(tag.type) + ", node " + std::to_string(tag.node) + " byte " +
           std::to_string(tag.byte) + " of the " + AreaName(tag.direction) + " area)";
}

std::string TagFaultText(const std::vector<TypedTag>& tags, size_t index, const TagPlacement& placement,
                         const ProfibusLayout& layout) {
    const TypedTag& tag = tags[index];
    switch (placement.fault) {
        case TagFault::None:
            return {};
        case TagFault::NoNode:
            return "the network has no node " + std::to_string(tag.node);
        case TagFault::NotSelected:
            if (placement.unselectedByte > placement.nodeBytes)
                return "byte " + std::to_string(placement.unselectedByte) + " is past the node's " +
                       std::to_string(placement.nodeBytes) + " " + AreaName(tag.direction) + " bytes";
            return "byte " + std::to_string(placement.unselectedByte) + " of the node is not selected, so the " +
                   std::to_string(documents::TagTypeSize(tag.type)) + " bytes of the " + TagTypeName(tag.type) +
                   " are not consecutive in the area";
        case TagFault::DoesNotFit: {
            const documents::ProfibusAddress& out = placement.first.fits ? placement.last : placement.first;
            return "its bytes do not all fit: " +
                   documents::FitProblemText(out.problem, layout.AreaSize(tag.direction));
        }
        case TagFault::CrossesSlot:
            return "its bytes lie in slots " + std::to_string(placement.first.slot) + " and " +
                   std::to_string(placement.last.slot) + ", which the master may place apart";
        case TagFault::Overlaps:
            return "it shares bytes with " + TypedTagPlace(tags[placement.other]);
        case TagFault::NameTaken:
            return "its name is taken by " + TypedTagPlace(tags[placement.other]);
        case TagFault::BadName:
            return *PlcNameProblem(tag.name);
    }
    return {};
}

std::optional<std::string> NewTagProblem(const std::vector<NodeIo>& nodes, const ProfibusLayout& layout,
                                         const std::vector<TypedTag>& tags, const TypedTag& tag, size_t runLength) {
    const size_t size = documents::TagTypeSize(tag.type);
    if (runLength != size)
        return std::string(documents::TagTypeName(tag.type)) + " takes " + std::to_string(size) +
               (size == 1 ? " byte" : " bytes") + ", and " + std::to_string(runLength) +
               (runLength == 1 ? " is" : " are") + " chosen";
    std::vector<TypedTag> all = tags;
    all.push_back(tag);
    std::vector<TagPlacement> placements = PlaceTypedTags(nodes, layout, all);
    TagPlacement& placement = placements.back();
    if (placement.fault == TagFault::None || placement.fault == TagFault::NameTaken ||
        placement.fault == TagFault::Overlaps)
        placement = ClashWithKeptTag(tags, tag, placement);
    if (placement.fault == TagFault::None) return std::nullopt;
    return "The tag " + TypedTagPlace(tag) + " cannot be made: " + TagFaultText(all, all.size() - 1, placement, layout);
}

bool SameTagName(std::string_view a, std::string_view b) {
    return PlcNameKey(std::string(a)) == PlcNameKey(std::string(b));
}

MapTags TagsOf(const documents::PlcMapDocument& document) {
    return {document.tags, document.plcByteOrder.value_or(documents::kPlcByteOrder)};
}

}  // namespace tessara::plc
