#include "plc/tag_moves.h"

#include <unordered_map>

#include "plc/typed_tags.h"

namespace tessara::plc {

namespace {

std::string TagAddress(const documents::ExportedTag& tag) {
    return PlcByteAddress(tag.direction, tag.address);
}

}  // namespace

std::vector<documents::ExportedTag> ExportedTags(const AddressMap& map) {
    std::vector<documents::ExportedTag> tags;
    tags.reserve(map.input.size() + map.output.size());
    for (const std::vector<AddressMapRow>* rows : {&map.input, &map.output}) {
        for (const AddressMapRow& row : *rows) {
            if (row.fits) tags.push_back({row.symbol, row.area, row.address});
        }
    }
    return tags;
}

documents::TagExport RecordedExport(const AddressMap& map, const std::string& date) {
    return {date, SymbolStyleName(map.symbols), ExportedTags(map)};
}

TagComparison CompareTags(const std::vector<documents::ExportedTag>& before,
                          const std::vector<documents::ExportedTag>& after) {
    std::unordered_map<std::string, const documents::ExportedTag*> now;
    now.reserve(after.size());
    for (const documents::ExportedTag& tag : after) now.emplace(tag.symbol, &tag);
    std::unordered_map<std::string, const documents::ExportedTag*> earlier;
    earlier.reserve(before.size());
    TagComparison comparison;
    for (const documents::ExportedTag& tag : before) {
        earlier.emplace(tag.symbol, &tag);
        const auto found = now.find(tag.symbol);
        if (found == now.end()) {
            comparison.removed.push_back({tag.symbol, tag, std::nullopt});
        } else if (found->second->address != tag.address || found->second->direction != tag.direction) {
            comparison.moved.push_back({tag.symbol, tag, *found->second});
        }
    }
    for (const documents::ExportedTag& tag : after) {
        if (!earlier.contains(tag.symbol)) comparison.added.push_back({tag.symbol, std::nullopt, tag});
    }
    return comparison;
}

std::string TagChangeText(const TagChange& change) {
    if (!change.before) return change.symbol + ": new at " + TagAddress(*change.after);
    return change.symbol + ": " + TagAddress(*change.before) + " -> " +
           (change.after ? TagAddress(*change.after) : "no address");
}

std::vector<TagChange> ExportedTagsMovedBy(const documents::PlcMapDocument& document,
                                           const std::vector<documents::NodeIo>& nodes,
                                           documents::ProfibusAreas areas) {
    const documents::TagExport& recorded = *document.lastExport;
    const AddressMap proposed =
        BuildAddressMap({}, nodes, documents::ProfibusLayout(areas, document.starts),
                        SymbolStyleNamed(recorded.symbols).value_or(SymbolStyle::Byte), TagsOf(document));
    TagComparison comparison = CompareTags(recorded.tags, ExportedTags(proposed));
    std::vector<TagChange> changes = std::move(comparison.moved);
    changes.insert(changes.end(), comparison.removed.begin(), comparison.removed.end());
    return changes;
}

std::string MovedSinceExportText(const documents::TagExport& recorded, const std::vector<TagChange>& changes,
                                 size_t listed) {
    std::string text = std::to_string(changes.size()) + (changes.size() == 1 ? " PLC address" : " PLC addresses") +
                       " moved since tags were exported on " + recorded.date.substr(0, 10);
    for (size_t i = 0; i < changes.size() && i < listed; ++i) text += (i ? "; " : ": ") + TagChangeText(changes[i]);
    if (changes.size() > listed) text += "; and " + std::to_string(changes.size() - listed) + " more";
    return text;
}

}  // namespace tessara::plc
