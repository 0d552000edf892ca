#pragma once

#include <cstddef>
#include <span>
#include <vector>

#include "documents/def_byte.h"
#include "documents/profibus_slots.h"

namespace tessara::documents {

// A byte that is not selected takes no room in the PROFIBUS area.
inline constexpr size_t kNoAreaOffset = static_cast<size_t>(-1);

// How many bytes of one direction the nodes before `node` select: where that node's first selected byte lands,
// since the gateway fills each area node after node in network order.
size_t SelectedBytesBefore(const DefByteTable& table, size_t node, bool output);

// The 0-based byte of the PROFIBUS area that carries each byte of a node's selections, byte 1 first, starting at
// `first`; kNoAreaOffset for a byte not selected. One pass over the node.
std::vector<size_t> AreaOffsets(size_t first, std::span<const char> selections);

// The PLC address of each byte of a node's selections (a default ProfibusAddress, slot 0 and not fitting with no
// problem, for a byte not selected): the packing above through the layout's one address function, as the byte
// editor shows it.
std::vector<ProfibusAddress> NodeByteAddresses(const DefByteTable& table, size_t node, AreaDirection direction,
                                               const ProfibusLayout& layout);

}  // namespace tessara::documents
