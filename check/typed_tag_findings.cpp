#include "check/typed_tag_findings.h"

#include "base/project_files.h"
#include "check/project_address_map.h"
#include "plc/typed_tags.h"

namespace tessara::check {

namespace {

// A tag of a node the network no longer has is mended in the network editor, or by removing the tag.
FindingTarget TagTarget(const ProjectCheck& check, const documents::TypedTag& tag) {
    if (tag.node == 0 || tag.node > check.nodes.size()) return FindingTarget::Whole(FindingDocument::DNetNet);
    FindingTarget target = FindingTarget::NodeBytes(tag.node - 1, tag.direction == documents::AreaDirection::Output);
    target.byte = static_cast<int>(tag.byte) - 1;
    return target;
}

}  // namespace

void AddTypedTagFindings(ProjectCheck& check) {
    const std::vector<documents::TypedTag>& tags = check.plcMap.tags;
    if (!check.mapRead || tags.empty()) return;
    const documents::ProfibusLayout layout = ProjectLayout(check);
    const std::vector<plc::TagPlacement> placements = plc::PlaceTypedTags(check.nodes, layout, tags);
    for (size_t i = 0; i < tags.size(); ++i) {
        if (placements[i].fault == plc::TagFault::None) continue;
        check.findings.push_back(
            {Severity::Warning, base::kPlcMapFileName,
             "Typed tag " + plc::TypedTagPlace(tags[i]) + ": " + plc::TagFaultText(tags, i, placements[i], layout),
             TagTarget(check, tags[i])});
    }
}

}  // namespace tessara::check
