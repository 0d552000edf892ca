#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "documents/def_byte.h"

namespace tessara::documents {

// A selected byte of a node: its number (from 1) and the mnemonic the byte selection editor holds for it.
struct SelectedByte {
    uint32_t number = 0;
    std::string mnemonic;
    bool operator==(const SelectedByte&) const = default;
};

// One node of the I/O map, as the configuration image carries it.
struct NodeIo {
    size_t position = 0;  // from 1, in network order
    int ID = 0;
    std::string mnemonic;
    uint32_t NB_IN = 0;
    uint32_t NB_OUT = 0;
    std::vector<SelectedByte> selectedIn;
    std::vector<SelectedByte> selectedOut;
};

// The nodes of a byte table as the editors hold it, before it is saved: what the map of a proposed change
// is built from.
std::vector<NodeIo> NodesOf(const DefByteTable& table);

}  // namespace tessara::documents
