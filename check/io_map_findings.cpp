#include "check/io_map_findings.h"

#include <algorithm>
#include <array>
#include <string>

#include "documents/dnet_network.h"
#include "documents/document_schema.h"

namespace tessara::check {

namespace {

// The editors accept PROFIBUS areas of 0 to 128 bytes; a count outside is reported by the settings check.
constexpr int32_t kProfiAreaMax = 128;

constexpr const char* kFollowPositions = ": selections follow positions, so they may belong to another node";

std::string Count(size_t n, const char* singular, const char* plural) {
    return std::to_string(n) + " " + (n == 1 ? singular : plural);
}

void Warn(std::vector<Finding>& findings, std::string place, std::string text, FindingTarget target) {
    findings.push_back({Severity::Warning, std::move(place), std::move(text), std::move(target)});
}

FindingTarget AreaSize(const char* direction) {
    return FindingTarget::Setting(std::string(direction) == "output" ? documents::pargen_xml::kProfiNbOut
                                                                     : documents::pargen_xml::kProfiNbIn);
}

// The nodes match DefByte.xml's node elements up to where those end: the network only grew at its end, so
// every selection is still with its node and the new ones have none yet.
bool OnlyGrewAtTheEnd(const image::NodeTable& nodes, const DefByteShape& shape) {
    if (shape.size() >= nodes.size()) return false;
    for (size_t i = 0; i < shape.size(); ++i) {
        if (shape[i].in != nodes[i].NB_IN || shape[i].out != nodes[i].NB_OUT) return false;
    }
    return true;
}

void AddNodesWithoutSelection(const image::NodeTable& nodes, size_t first, std::vector<Finding>& findings) {
    const size_t last = nodes.size() - 1;
    const std::string which = first == last ? NodePlace(first, nodes[first].ID)
                                            : "nodes " + NodePlace(first, nodes[first].ID).substr(5) + " to " +
                                                  NodePlace(last, nodes[last].ID).substr(5);
    Warn(findings, "DefByte.xml",
         "DefByte.xml has no byte selection yet for " + which + ": open Define Byte and press OK",
         FindingTarget::NodeBytes(first, false));
}

// With the same nodes in both documents, a count that differs was changed in the network editor after the byte
// selection was last saved: said in the editors' words, with what it does to the selections.
std::string ChangedCountText(const char* column, const char* direction, size_t saved, size_t now) {
    if (saved == now) return {};
    const std::string bytes = std::string(direction) + " bytes " + std::to_string(std::min(saved, now) + 1) + " to " +
                              std::to_string(std::max(saved, now));
    const std::string change = std::string(column) + " went from " + std::to_string(saved) + " to " +
                               std::to_string(now) + " in DeviceNet Network after Define Byte last saved";
    if (now < saved)
        return change + ": the selections of " + bytes + " are not passed on and go at Define Byte's next OK";
    return change + ": " + bytes + " are not selected yet";
}

const char* Bytes(size_t n) {
    return n == 1 ? "byte" : "bytes";
}
const char* Verb(size_t n) {
    return n == 1 ? "is" : "are";
}

void AddAreaFit(const AreaFit& fit, const char* direction, std::vector<Finding>& findings) {
    if (fit.area < 0 || fit.area > kProfiAreaMax) return;
    const size_t area = static_cast<size_t>(fit.area);
    const size_t selected = fit.selected;
    const std::string place = std::string("PROFIBUS ") + direction;
    if (selected > area) {
        findings.push_back({Severity::Error, place,
                            std::to_string(selected) + " DeviceNet " + direction + " " + Bytes(selected) + " " +
                                Verb(selected) + " selected, but the PROFIBUS " + direction + " area holds " +
                                std::to_string(area),
                            AreaSize(direction)});
    } else if (selected < area) {
        Warn(findings, place,
             std::to_string(area - selected) + " of the " + std::to_string(area) + " PROFIBUS " + direction + " " +
                 Bytes(area) + " " + Verb(area - selected) + " left unused (" + std::to_string(selected) +
                 " selected on DeviceNet)",
             AreaSize(direction));
    }
}

}  // namespace

std::string NodePlace(size_t index, int id) {
    return "node " + std::to_string(index + 1) + " (ID " + std::to_string(id) + ")";
}

void AddShapeFindings(const image::NodeTable& nodes, const DefByteShape& shape, std::vector<Finding>& findings) {
    if (OnlyGrewAtTheEnd(nodes, shape)) {
        AddNodesWithoutSelection(nodes, shape.size(), findings);
        return;
    }
    if (shape.size() != nodes.size()) {
        Warn(findings, "DefByte.xml",
             "DefByte.xml lists " + Count(shape.size(), "node", "nodes") + ", DNET_Net.xml " +
                 Count(nodes.size(), "node", "nodes") + kFollowPositions,
             FindingTarget::Whole(FindingDocument::DefByte));
    }
    const bool sameNodes = shape.size() == nodes.size();
    for (size_t i = 0; i < std::min(shape.size(), nodes.size()); ++i) {
        const image::DN_Nodo_1& node = nodes[i];
        if (shape[i].in == node.NB_IN && shape[i].out == node.NB_OUT) continue;
        const bool inputMatches = shape[i].in == node.NB_IN;
        const std::string text =
            sameNodes ? ChangedCountText("N BYTE IN", "input", shape[i].in, node.NB_IN) +
                            (shape[i].in != node.NB_IN && shape[i].out != node.NB_OUT ? "; " : "") +
                            ChangedCountText("N BYTE OUT", "output", shape[i].out, node.NB_OUT)
                      : "DefByte.xml lists " + std::to_string(shape[i].in) + " input and " +
                            std::to_string(shape[i].out) + " output bytes, DNET_Net.xml " + std::to_string(node.NB_IN) +
                            " and " + std::to_string(node.NB_OUT) + kFollowPositions;
        Warn(findings, NodePlace(i, node.ID), text, FindingTarget::NodeBytes(i, inputMatches));
    }
}

void AddNetworkLengthFinding(const image::NodeTable& nodes, std::vector<Finding>& findings) {
    if (nodes.size() <= documents::kDNetRowCount) return;
    findings.push_back({Severity::Error, "DNET_Net.xml",
                        "DNET_Net.xml lists " + std::to_string(nodes.size()) +
                            " nodes: the network editor shows only the first " +
                            std::to_string(documents::kDNetRowCount) +
                            " and drops the rest at its next OK, while the image takes them all",
                        FindingTarget::Whole(FindingDocument::DNetNet)});
}

void AddAddressFindings(const image::NodeTable& nodes, std::optional<int> gatewayId, std::vector<Finding>& findings) {
    // Addresses are 8-bit, so the first node at each fits a small array however long the network is.
    std::array<size_t, 256> firstAt;
    firstAt.fill(nodes.size());
    for (size_t i = 0; i < nodes.size(); ++i) {
        const int id = nodes[i].ID;
        if (gatewayId == id) {
            findings.push_back({Severity::Error, NodePlace(i, id),
                                "Address " + std::to_string(id) + " is the gateway's own DeviceNet ID",
                                FindingTarget::NetworkCell(i, 1)});
        }
        if (firstAt[nodes[i].ID] == nodes.size()) {
            firstAt[nodes[i].ID] = i;
            continue;
        }
        findings.push_back(
            {Severity::Error, NodePlace(i, id),
             "Address " + std::to_string(id) + " is also used by node " + std::to_string(firstAt[nodes[i].ID] + 1),
             FindingTarget::NetworkCell(i, 1)});
    }
}

void AddAreaFitFindings(const AreaFit& input, const AreaFit& output, std::vector<Finding>& findings) {
    AddAreaFit(input, "input", findings);
    AddAreaFit(output, "output", findings);
}

void AddEmptyAreasFinding(const AreaFit& input, const AreaFit& output, bool hasPargen, std::vector<Finding>& findings) {
    if (input.area != 0 || output.area != 0) return;
    const char* opening = hasPargen ? "The" : "There is no pargen.xml, so the";
    Warn(findings, "pargen.xml",
         std::string(opening) +
             " PROFIBUS input and output sizes are both 0: the GSD file has no modules, and a master cannot "
             "configure the gateway",
         AreaSize("input"));
}

}  // namespace tessara::check
