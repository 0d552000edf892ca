#pragma once

#include <optional>
#include <string>
#include <vector>

#include "documents/node_selections.h"
#include "documents/plc_map_document.h"
#include "plc/address_map.h"

namespace tessara::plc {

// The tags a PLC program would get from the map: every row that has an address, in map order.
std::vector<documents::ExportedTag> ExportedTags(const AddressMap& map);

// What an export of `map` leaves in PlcMap.xml, dated `date` (an xsd:dateTime).
documents::TagExport RecordedExport(const AddressMap& map, const std::string& date);

// One tag whose address is not what it was, told by its symbol: added (no `before`), removed (no `after`) or
// moved (both, at different addresses or areas).
struct TagChange {
    std::string symbol;
    std::optional<documents::ExportedTag> before;
    std::optional<documents::ExportedTag> after;
    bool operator==(const TagChange&) const = default;
};

struct TagComparison {
    std::vector<TagChange> added;
    std::vector<TagChange> removed;
    std::vector<TagChange> moved;
    // A PLC program written against the earlier tags reads the wrong bytes, or none.
    bool Broken() const { return !removed.empty() || !moved.empty(); }
};

// The tags of `after` against those of `before`, each list in the order of the tags it comes from.
TagComparison CompareTags(const std::vector<documents::ExportedTag>& before,
                          const std::vector<documents::ExportedTag>& after);

// "Status: IB 12 -> IB 14", "Status: IB 12 -> no address", "Status: new at IB 3".
std::string TagChangeText(const TagChange& change);

// The tags of the last export of `document` (which must have one) that the documents' state given by `nodes` and
// `areas` would move or remove, with the document's starts and typed tags and the export's symbol style: what an
// editor's OK is about to change. Removed tags come after the moved ones.
std::vector<TagChange> ExportedTagsMovedBy(const documents::PlcMapDocument& document,
                                           const std::vector<documents::NodeIo>& nodes, documents::ProfibusAreas areas);

// "3 PLC addresses moved since tags were exported on 2026-12-11", then the changes, the first `listed` of them:
// the words the check and the editors use.
std::string MovedSinceExportText(const documents::TagExport& recorded, const std::vector<TagChange>& changes,
                                 size_t listed);

}  // namespace tessara::plc
