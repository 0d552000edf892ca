#include "documents/ui/tag_losses.h"

#include <QString>
#include <algorithm>

#include "plc/typed_tags.h"
#include "ui/message_display.h"

namespace tessara::documents {

namespace {

constexpr size_t kNamedInQuestion = 5;

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
    const std::string place = plc::TypedTagPlace(tag);
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

bool MaySaveDroppingBrokenTags(QWidget* parent, const std::vector<NodeIo>& savedNodes,
                               const std::vector<TypedTag>& savedTags, const std::vector<NodeIo>& nodes,
                               std::vector<TypedTag>& tags) {
    const std::vector<TagLoss> losses = TagLosses(savedNodes, savedTags, nodes, tags);
    if (losses.empty()) return true;
    QString named;
    QString details;
    for (size_t i = 0; i < losses.size(); ++i) {
        const QString text = QString::fromStdString(losses[i].text);
        details += text + QLatin1Char('\n');
        if (i < kNamedInQuestion) named += (i > 0 ? QStringLiteral("; ") : QString()) + text;
    }
    // The details list every tag only where the question cannot name them all.
    if (losses.size() > kNamedInQuestion) {
        named += QStringLiteral("; and %1 more").arg(losses.size() - kNamedInQuestion);
    } else {
        details.clear();
    }
    const bool one = losses.size() == 1;
    const QString question = QStringLiteral("%1 typed %2 bytes: %3.\n\nRemove %4 and save?")
                                 .arg(losses.size())
                                 .arg(one ? QStringLiteral("tag loses") : QStringLiteral("tags lose"), named,
                                      one ? QStringLiteral("this tag") : QStringLiteral("these tags"));
    if (!ui::Messages().AskYesNoWithDetails(parent, question, details)) return false;
    for (auto loss = losses.rbegin(); loss != losses.rend(); ++loss) {
        tags.erase(tags.begin() + static_cast<std::ptrdiff_t>(loss->index));
    }
    return true;
}

}  // namespace tessara::documents
