#include "plc/tag_losses.h"

#include <algorithm>

#include "plc/typed_tags.h"

namespace tessara::plc {

using documents::AreaDirection;
using documents::NodeIo;
using documents::SelectedByte;
using documents::TypedTag;

namespace {

bool Selected(const std::vector<NodeIo>& nodes, const TypedTag& tag, uint32_t byte) {
    if (tag.node == 0 || tag.node > nodes.size()) return false;
    const NodeIo& node = nodes[tag.node - 1];
    const std::vector<SelectedByte>& selected =
        tag.direction == AreaDirection::Input ? node.selectedIn : node.selectedOut;
    return std::ranges::binary_search(selected, byte, {}, &SelectedByte::number);
}

// "byte 4", "bytes 4 and 5", "bytes 3 to 6", "bytes 3, 5 and 6".
std::string BytesText(const std::vector<uint32_t>& bytes) {
    if (bytes.size() == 1) return "byte " + std::to_string(bytes.front());
    if (bytes.size() > 2 && bytes.back() - bytes.front() + 1 == bytes.size())
        return "bytes " + std::to_string(bytes.front()) + " to " + std::to_string(bytes.back());
    std::string text = "bytes ";
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (i > 0) text += i + 1 == bytes.size() ? " and " : ", ";
        text += std::to_string(bytes[i]);
    }
    return text;
}

std::string LossText(const std::vector<NodeIo>& savedNodes, bool saved, const std::vector<NodeIo>& nodes,
                     const TypedTag& tag) {
    const std::string place = TypedTagPlace(tag);
    if (tag.node == 0 || tag.node > nodes.size())
        return place + " loses its bytes: the network has no node " + std::to_string(tag.node);
    const NodeIo& node = nodes[tag.node - 1];
    const bool input = tag.direction == AreaDirection::Input;
    const uint32_t count = input ? node.NB_IN : node.NB_OUT;
    std::vector<uint32_t> lost;
    for (uint32_t byte = tag.byte; byte <= tag.LastByte(); ++byte) {
        const bool lostBefore = saved && !Selected(savedNodes, tag, byte);
        if (byte > count || (!lostBefore && !Selected(nodes, tag, byte))) lost.push_back(byte);
    }
    if (lost.empty()) return {};
    std::string text = place + " loses " + BytesText(lost);
    if (lost.back() > count)
        text += ": the node has " + std::to_string(count) + (input ? " input" : " output") +
                (count == 1 ? " byte" : " bytes");
    return text;
}

}  // namespace

std::vector<TagLoss> TagLosses(const std::vector<NodeIo>& savedNodes, const std::vector<TypedTag>& savedTags,
                               const std::vector<NodeIo>& nodes, const std::vector<TypedTag>& tags) {
    std::vector<TagLoss> losses;
    for (size_t i = 0; i < tags.size(); ++i) {
        const bool saved = std::ranges::find(savedTags, tags[i]) != savedTags.end();
        std::string text = LossText(savedNodes, saved, nodes, tags[i]);
        if (!text.empty()) losses.push_back({i, std::move(text)});
    }
    return losses;
}

}  // namespace tessara::plc
