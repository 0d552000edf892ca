#include "plc/address_map.h"

#include <algorithm>

#include "documents/page_memory.h"
#include "plc/plc_symbols.h"

namespace tessara::plc {

const char* const kAddressMapRule =
    "This tool assumes that the gateway fills its PROFIBUS input area with the selected input bytes of the "
    "DeviceNet nodes, node after node in the order of DNET_Net.xml and byte after byte within a node (byte 1 "
    "first), and its output area likewise; confirm it in the gateway's manual. Each area is cut into the GSD "
    "file's slots of up to 64 bytes, and each slot is placed at its own start in the master: by default right "
    "after the slot before it of its direction.";

namespace {

// A large project's rows are tens of megabytes written at once, each page for the first time.
void ReserveRows(std::vector<AddressMapRow>& rows, size_t count) {
    rows.reserve(count);
    documents::AskHugePagesWithin(rows.data(), rows.capacity() * sizeof(AddressMapRow));
}

// The bytes of one node follow those of the nodes before it.
void AddNodeRows(std::vector<AddressMapRow>& rows, MapArea area, const documents::NodeIo& node,
                 const std::vector<documents::SelectedByte>& bytes) {
    for (const documents::SelectedByte& selected : bytes) {
        rows.push_back({area,
                        rows.size(),
                        node.position,
                        node.ID,
                        node.mnemonic,
                        selected.number,
                        selected.mnemonic,
                        {},
                        false,
                        0,
                        0,
                        0,
                        documents::FitProblem::None});
    }
}

}  // namespace

AddressMap BuildAddressMap(const std::string& project, const std::vector<documents::NodeIo>& nodes,
                           documents::ProfibusLayout layout, SymbolStyle symbols) {
    AddressMap map;
    map.project = project;
    map.symbols = symbols;
    size_t in = 0;
    size_t out = 0;
    for (const documents::NodeIo& node : nodes) {
        in += node.selectedIn.size();
        out += node.selectedOut.size();
    }
    ReserveRows(map.input, in);
    ReserveRows(map.output, out);
    for (const documents::NodeIo& node : nodes) {
        AddNodeRows(map.input, MapArea::Input, node, node.selectedIn);
        AddNodeRows(map.output, MapArea::Output, node, node.selectedOut);
    }
    PlaceAddressMap(map, std::move(layout));
    AssignPlcSymbols(map);
    return map;
}

void PlaceAddressMap(AddressMap& map, documents::ProfibusLayout layout) {
    map.layout = std::move(layout);
    for (std::vector<AddressMapRow>* rows : {&map.input, &map.output}) {
        for (AddressMapRow& row : *rows) {
            const documents::ProfibusAddress placed = map.layout.Address(row.area, row.offset);
            row.fits = placed.fits;
            row.slot = placed.slot;
            row.slotOffset = placed.slotOffset;
            row.address = placed.address;
            row.problem = placed.problem;
        }
    }
}

const char* MapAreaName(MapArea area) {
    return area == MapArea::Input ? "input" : "output";
}

const char* SymbolStyleName(SymbolStyle style) {
    return style == SymbolStyle::Node ? "node" : "byte";
}

std::optional<SymbolStyle> SymbolStyleNamed(const std::string& name) {
    if (name == "node") return SymbolStyle::Node;
    if (name == "byte") return SymbolStyle::Byte;
    return std::nullopt;
}

size_t RowsBeyondArea(const std::vector<AddressMapRow>& rows) {
    return static_cast<size_t>(std::count_if(rows.begin(), rows.end(), [](const AddressMapRow& r) { return !r.fits; }));
}

std::string NotFittingText(const AddressMap& map, const AddressMapRow& row) {
    return documents::FitProblemText(row.problem, map.layout.AreaSize(row.area));
}

}  // namespace tessara::plc
