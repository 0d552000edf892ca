#include "plc/address_map.h"

#include <algorithm>

#include "plc/plc_symbols.h"

namespace tessara::plc {

const char* const kAddressMapRule =
    "The gateway fills its PROFIBUS input area with the selected input bytes of the DeviceNet nodes, node after "
    "node in the order of DNET_Net.xml and byte after byte within a node (byte 1 first); the output area likewise "
    "with the selected output bytes.";

namespace {

// The bytes of one node follow those of the nodes before it; an area of 0 or fewer bytes holds none of them.
void AddNodeRows(std::vector<AddressMapRow>& rows, MapArea area, int32_t areaSize, const check::NodeIo& node,
                 const std::vector<check::SelectedByte>& bytes) {
    const size_t size = areaSize > 0 ? static_cast<size_t>(areaSize) : 0;
    for (const check::SelectedByte& selected : bytes) {
        const size_t offset = rows.size();
        rows.push_back({area,
                        offset,
                        node.position,
                        node.ID,
                        node.mnemonic,
                        selected.number,
                        selected.mnemonic,
                        {},
                        offset < size});
    }
}

}  // namespace

AddressMap BuildAddressMap(const check::ProjectCheck& check) {
    AddressMap map;
    map.project = check::ProjectFolderName(check.projectDir);
    map.input.reserve(check.input.selected);
    map.output.reserve(check.output.selected);
    for (const check::NodeIo& node : check.nodes) {
        AddNodeRows(map.input, MapArea::Input, check.input.area, node, node.selectedIn);
        AddNodeRows(map.output, MapArea::Output, check.output.area, node, node.selectedOut);
    }
    AssignPlcSymbols(map);
    return map;
}

const char* MapAreaName(MapArea area) {
    return area == MapArea::Input ? "input" : "output";
}

size_t RowsBeyondArea(const std::vector<AddressMapRow>& rows) {
    return static_cast<size_t>(std::count_if(rows.begin(), rows.end(), [](const AddressMapRow& r) { return !r.fits; }));
}

std::string StartPastLastPlcByte(const std::string& startName, size_t start, const std::vector<AddressMapRow>& rows) {
    const size_t fitting = rows.size() - RowsBeyondArea(rows);
    if (fitting == 0 || start + fitting - 1 <= kLastPlcByte) return {};
    return startName + " " + std::to_string(start) + " puts byte " + std::to_string(fitting - 1) + " of the area at " +
           std::to_string(start + fitting - 1) + ", past the last PLC byte address " + std::to_string(kLastPlcByte);
}

}  // namespace tessara::plc
