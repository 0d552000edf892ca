#include "plc/export_move_question.h"

#include <exception>

#include "documents/plc_map_document.h"
#include "plc/tag_moves.h"

namespace tessara::plc {

namespace {

constexpr size_t kNamedInQuestion = 5;

}  // namespace

std::string ExportMovesOf(const std::string& projectDir, const std::vector<documents::NodeIo>& nodes,
                          documents::ProfibusAreas areas, const std::vector<documents::TypedTag>* tags) {
    documents::PlcMapDocument document;
    try {
        document = documents::LoadPlcMap(projectDir);
    } catch (const std::exception&) {
        return {};
    }
    if (!document.lastExport) return {};
    if (tags) document.tags = *tags;
    const std::vector<TagChange> changes = ExportedTagsMovedBy(document, nodes, areas);
    return changes.empty() ? std::string() : MovedSinceExportText(*document.lastExport, changes, kNamedInQuestion);
}

}  // namespace tessara::plc
