#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "check/project_check.h"
#include "documents/profibus_slots.h"

namespace tessara::plc {

using MapArea = documents::AreaDirection;
using documents::kLastPlcByte;
using documents::PlcByteAddress;

// One selected DeviceNet byte and the PROFIBUS byte that carries it.
struct AddressMapRow {
    MapArea area = MapArea::Input;
    size_t offset = 0;  // the 0-based byte of the PROFIBUS area
    size_t node = 0;    // 1-based position in the network
    int id = 0;         // the node's DeviceNet ID
    std::string nodeMnemonic;
    uint32_t byte = 0;     // 1-based byte of the node
    std::string mnemonic;  // the byte's mnemonic
    std::string symbol;    // its PLC symbol
    bool fits = false;     // offset < the area's size in pargen.xml
    bool operator==(const AddressMapRow&) const = default;
};

// Where every selected byte of a project lands in the two PROFIBUS areas, in area order.
struct AddressMap {
    std::string project;  // the project folder's name, as the PLC tools' project is named
    std::vector<AddressMapRow> input;
    std::vector<AddressMapRow> output;
};

// The one-sentence rule the map rests on, shown wherever the map is.
extern const char* const kAddressMapRule;

// Built from the check's single parse: its nodes in network order with their selected bytes, and the area sizes.
AddressMap BuildAddressMap(const check::ProjectCheck& check);

// "input" or "output", as the exports name an area.
const char* MapAreaName(MapArea area);

// How many rows of an area lie beyond its size in pargen.xml.
size_t RowsBeyondArea(const std::vector<AddressMapRow>& rows);

// Why a start puts a fitting byte of the area past kLastPlcByte ("START_NAME START puts byte ..."), or empty.
std::string StartPastLastPlcByte(const std::string& startName, size_t start, const std::vector<AddressMapRow>& rows);

}  // namespace tessara::plc
