#include "plc/address_map.h"

#include <algorithm>

#include "documents/page_memory.h"
#include "plc/plc_symbols.h"
#include "plc/typed_tags.h"

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
    documents::PrepareForFilling(rows.data(), rows.capacity() * sizeof(AddressMapRow));
}

// Its slot, offset in the slot, address and fit under `layout`: a typed tag's row fits when its last byte does too.
void Place(AddressMapRow& row, const documents::ProfibusLayout& layout) {
    const documents::ProfibusAddress placed = layout.Address(row.area, row.offset);
    row.fits = placed.fits;
    row.slot = placed.slot;
    row.slotOffset = placed.slotOffset;
    row.address = placed.address;
    row.problem = placed.problem;
    if (row.size <= 1 || !row.fits) return;
    const documents::ProfibusAddress last = layout.Address(row.area, row.offset + row.size - 1);
    row.fits = last.fits;
    row.problem = last.problem;
}

// The bytes of one node follow those of the nodes before it. Each row is made in place and placed as it is
// made: a row copied in would copy its texts twice, and a second walk would read every row again.
void AddNodeRows(std::vector<AddressMapRow>& rows, const documents::ProfibusLayout& layout, MapArea area,
                 const documents::NodeIo& node, const std::vector<documents::SelectedByte>& bytes) {
    for (const documents::SelectedByte& selected : bytes) {
        AddressMapRow& row = rows.emplace_back();
        row.area = area;
        row.offset = rows.size() - 1;
        row.node = node.position;
        row.id = node.ID;
        row.nodeMnemonic = node.mnemonic;
        row.byte = selected.number;
        row.mnemonic = selected.mnemonic;
        Place(row, layout);
    }
}

std::vector<AddressMapRow>& RowsOf(AddressMap& map, MapArea area) {
    return area == MapArea::Input ? map.input : map.output;
}

// Each sound tag's bytes become its one row; a tag with a fault is told in `unmadeTags` and leaves its bytes as
// they are. Runs while a row's place in its area is still its offset.
void MergeTypedTags(AddressMap& map, const std::vector<documents::NodeIo>& nodes, const MapTags& tags) {
    const std::vector<TagPlacement> placements = PlaceTypedTags(nodes, map.layout, tags.tags);
    bool merged = false;
    for (size_t i = 0; i < tags.tags.size(); ++i) {
        const documents::TypedTag& tag = tags.tags[i];
        if (placements[i].fault != TagFault::None) {
            map.unmadeTags.push_back({tag, TagFaultText(tags.tags, i, placements[i], map.layout)});
            continue;
        }
        std::vector<AddressMapRow>& rows = RowsOf(map, tag.direction);
        AddressMapRow& row = rows[placements[i].offset];
        row.type = tag.type;
        row.size = documents::TagTypeSize(tag.type);
        row.tagged = true;
        row.symbol = tag.name;
        row.byteOrder = tag.byteOrder;
        row.swap = documents::NeedsSwap(tag, tags.plcByteOrder);
        for (size_t b = 1; b < row.size; ++b) rows[placements[i].offset + b].size = 0;
        merged = true;
    }
    if (!merged) return;
    for (std::vector<AddressMapRow>* rows : {&map.input, &map.output})
        std::erase_if(*rows, [](const AddressMapRow& row) { return row.size == 0; });
}

}  // namespace

AddressMap BuildAddressMap(const std::string& project, const std::vector<documents::NodeIo>& nodes,
                           documents::ProfibusLayout layout, SymbolStyle symbols, const MapTags& tags) {
    AddressMap map;
    map.project = project;
    map.symbols = symbols;
    map.plcByteOrder = tags.plcByteOrder;
    size_t in = 0;
    size_t out = 0;
    for (const documents::NodeIo& node : nodes) {
        in += node.selectedIn.size();
        out += node.selectedOut.size();
    }
    ReserveRows(map.input, in);
    ReserveRows(map.output, out);
    map.layout = std::move(layout);
    for (const documents::NodeIo& node : nodes) {
        AddNodeRows(map.input, map.layout, MapArea::Input, node, node.selectedIn);
        AddNodeRows(map.output, map.layout, MapArea::Output, node, node.selectedOut);
    }
    MergeTypedTags(map, nodes, tags);
    AssignPlcSymbols(map);
    return map;
}

void PlaceAddressMap(AddressMap& map, documents::ProfibusLayout layout) {
    map.layout = std::move(layout);
    for (std::vector<AddressMapRow>* rows : {&map.input, &map.output}) {
        for (AddressMapRow& row : *rows) Place(row, map.layout);
    }
}

void SetPlcByteOrder(AddressMap& map, documents::ByteOrder order) {
    map.plcByteOrder = order;
    for (std::vector<AddressMapRow>* rows : {&map.input, &map.output}) {
        for (AddressMapRow& row : *rows) row.swap = row.tagged && documents::NeedsSwap(row.type, row.byteOrder, order);
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
