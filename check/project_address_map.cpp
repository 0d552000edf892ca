#include "check/project_address_map.h"

#include <algorithm>

#include "base/project_files.h"
#include "plc/tag_moves.h"
#include "plc/typed_tags.h"

namespace tessara::check {

namespace {

// A finding names every moved tag: the list is what the user mends the PLC program with.
constexpr size_t kAllListed = static_cast<size_t>(-1);

}  // namespace

std::vector<documents::SlotStart> ProjectStarts(const ProjectCheck& check,
                                                const std::vector<documents::SlotStart>& overrides) {
    std::vector<documents::SlotStart> starts = overrides;
    for (const documents::SlotStart& stored : check.plcMap.starts) {
        const bool overridden = std::ranges::any_of(overrides, [&stored](const documents::SlotStart& given) {
            return given.direction == stored.direction && given.position == stored.position;
        });
        if (!overridden) starts.push_back(stored);
    }
    return starts;
}

documents::ProfibusLayout ProjectLayout(const ProjectCheck& check, const std::vector<documents::SlotStart>& overrides) {
    return documents::ProfibusLayout({check.input.area, check.output.area}, ProjectStarts(check, overrides));
}

plc::AddressMap ProjectAddressMap(const ProjectCheck& check, documents::ProfibusLayout layout, plc::SymbolStyle symbols,
                                  std::optional<documents::ByteOrder> plcByteOrder) {
    plc::MapTags tags = plc::TagsOf(check.plcMap);
    if (plcByteOrder) tags.plcByteOrder = *plcByteOrder;
    return plc::BuildAddressMap(ProjectFolderName(check.projectDir), check.nodes, std::move(layout), symbols,
                                std::move(tags));
}

void AddSlotStartFindings(ProjectCheck& check) {
    if (!check.mapRead || check.plcMap.starts.empty()) return;
    if (const auto problem =
            documents::SlotStartProblem(ProjectLayout(check), check.input.selected, check.output.selected))
        check.findings.push_back({Severity::Warning, base::kPlcMapFileName, *problem});
}

void AddExportMoveFindings(ProjectCheck& check) {
    if (!check.mapRead || !check.plcMap.lastExport) return;
    const documents::TagExport& recorded = *check.plcMap.lastExport;
    const std::vector<plc::TagChange> changes =
        plc::ExportedTagsMovedBy(check.plcMap, check.nodes, {check.input.area, check.output.area});
    if (changes.empty()) return;
    check.findings.push_back(
        {Severity::Warning, base::kPlcMapFileName, plc::MovedSinceExportText(recorded, changes, kAllListed)});
}

}  // namespace tessara::check
