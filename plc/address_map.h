#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "documents/node_selections.h"
#include "documents/profibus_slots.h"
#include "documents/typed_tag.h"

namespace tessara::plc {

using MapArea = documents::AreaDirection;
using documents::kLastPlcByte;
using documents::PlcByteAddress;

// How a byte's symbol is named: after its own mnemonic (as before), or after its node's mnemonic and its own,
// "<node>_<byte>", which says whose byte it is.
enum class SymbolStyle { Byte, Node };

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
    bool fits = false;     // it has a PLC address; `problem` says why not
    int slot = 0;          // the GSD's slot; 0 for a byte past the area or the device
    size_t slotOffset = 0;
    size_t address = 0;  // the slot's start + slotOffset
    documents::FitProblem problem = documents::FitProblem::None;
    // A typed tag is one row for all its bytes: `byte`, `offset` and `address` are its first byte's, `symbol` the
    // tag's name. A byte of no tag is a BYTE of size 1.
    documents::TagType type = documents::TagType::Byte;
    size_t size = 1;
    bool tagged = false;
    documents::ByteOrder byteOrder = documents::kDeviceByteOrder;
    bool swap = false;  // the PLC must swap the value's bytes
    bool operator==(const AddressMapRow&) const = default;
};

// A typed tag the map could not make one row of, and why: its bytes stay rows of their own.
struct UnmadeTag {
    documents::TypedTag tag;
    std::string reason;
    bool operator==(const UnmadeTag&) const = default;
};

// Where every selected byte of a project lands in the two PROFIBUS areas and in the PLC, in area order.
struct AddressMap {
    std::string project;  // the project folder's name, as the PLC tools' project is named
    documents::ProfibusLayout layout;
    SymbolStyle symbols = SymbolStyle::Byte;
    documents::ByteOrder plcByteOrder = documents::kPlcByteOrder;
    std::vector<AddressMapRow> input;
    std::vector<AddressMapRow> output;
    std::vector<UnmadeTag> unmadeTags;
};

// The rule the map rests on, shown wherever the map is: the tool's own statement, not something the documents
// or the image say.
extern const char* const kAddressMapRule;

// The typed tags of a project and the byte order its PLC reads words in.
struct MapTags {
    std::vector<documents::TypedTag> tags;
    documents::ByteOrder plcByteOrder = documents::kPlcByteOrder;
};

// The nodes in network order with their selected bytes, packed into the areas as the gateway fills them and
// addressed through `layout`, each sound typed tag one row. `project` is the project folder's name.
AddressMap BuildAddressMap(const std::string& project, const std::vector<documents::NodeIo>& nodes,
                           documents::ProfibusLayout layout, SymbolStyle symbols = SymbolStyle::Byte,
                           const MapTags& tags = {});

// Gives every row its slot, offset in the slot, address and fit under `layout`: new starts need no new map. A
// typed tag's row fits when its first and its last byte do.
void PlaceAddressMap(AddressMap& map, documents::ProfibusLayout layout);

// Marks the typed rows whose bytes the PLC must swap when it reads words in `order`: a new order needs no new
// map.
void SetPlcByteOrder(AddressMap& map, documents::ByteOrder order);

// "input" or "output", as the exports name an area.
const char* MapAreaName(MapArea area);

// "node" or "byte", as the command line and PlcMap.xml name a symbol style; and back (nullopt for neither).
const char* SymbolStyleName(SymbolStyle style);
std::optional<SymbolStyle> SymbolStyleNamed(const std::string& name);

// How many rows of an area have no PLC address.
size_t RowsBeyondArea(const std::vector<AddressMapRow>& rows);

// Why a row has no address: "past the 100 bytes of pargen.xml"; empty for a row that fits.
std::string NotFittingText(const AddressMap& map, const AddressMapRow& row);

}  // namespace tessara::plc
