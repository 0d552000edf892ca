#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "check/project_check.h"
#include "image/node_table.h"

namespace tessara::check {

// "node 2 (ID 12)": a node by its position from 1 and its address, as the image build names it.
std::string NodePlace(size_t index, int id);

// The byte groups DefByte.xml lists: per node element, the child counts of its input and output groups.
struct GroupCounts {
    size_t in = 0;
    size_t out = 0;
};
using DefByteShape = std::vector<GroupCounts>;

// DefByte.xml out of step with the network: more or fewer node elements, or groups whose byte counts differ
// from the node's. Selections follow positions, so they may then belong to another node (warnings). A network
// that only grew at its end keeps every selection with its node; the new nodes are named as having none yet.
void AddShapeFindings(const image::NodeTable& nodes, const DefByteShape& shape, std::vector<Finding>& findings);

// More nodes than the network editor's 64 rows: it shows the first 64 and drops the rest at its next OK, while
// the image takes them all (error).
void AddNetworkLengthFinding(const image::NodeTable& nodes, std::vector<Finding>& findings);

// Two nodes with one address, or a node at the gateway's own DeviceNet ID: one DeviceNet network cannot hold
// two devices at one address (errors).
void AddAddressFindings(const image::NodeTable& nodes, std::optional<int> gatewayId, std::vector<Finding>& findings);

// The selected bytes against the PROFIBUS areas: more than an area holds (error), bytes of an area left unused
// (warning).
void AddAreaFitFindings(const AreaFit& input, const AreaFit& output, std::vector<Finding>& findings);

// Two areas of 0 bytes give a GSD file without modules, which no master can configure (warning).
void AddEmptyAreasFinding(const AreaFit& input, const AreaFit& output, bool hasPargen, std::vector<Finding>& findings);

}  // namespace tessara::check
