#pragma once

namespace tessara::documents {

// The element and attribute names of the project's documents, spelled once. Each reader keeps its own
// rules for what a value means; only the names are shared.

// pargen.xml: one root with one element per setting.
namespace pargen_xml {
inline constexpr const char* kRoot = "Par_Gen";
inline constexpr const char* kProfiId = "PROFI_ID";
inline constexpr const char* kProfiBaud = "PROFI_BAUD";
inline constexpr const char* kProfiNbIn = "PROFI_NB_IN";
inline constexpr const char* kProfiNbOut = "PROFI_NB_OUT";
inline constexpr const char* kProfiCancelData = "PROFI_CANCEL_DATA";
inline constexpr const char* kDNetDevId = "DNET_DEV_ID";
inline constexpr const char* kDNetBaud = "DNET_BAUD";
inline constexpr const char* kDNetCancelData = "DNET_CANCEL_DATA";
}  // namespace pargen_xml

// DNET_Net.xml: one row element per node, its values as attributes.
namespace dnet_net_xml {
inline constexpr const char* kRoot = "DNET_Net";
inline constexpr const char* kRow = "row";
inline constexpr const char* kId = "ID";
inline constexpr const char* kNbIn = "NB_IN";
inline constexpr const char* kNbOut = "NB_OUT";
inline constexpr const char* kMnemonic = "Mnemonic";
}  // namespace dnet_net_xml

// DefByte.xml: one node element per network node, holding its input group and then its output group of byte
// rows. Readers take the groups by position, whatever their names.
namespace def_byte_xml {
inline constexpr const char* kRoot = "DefBytes";
inline constexpr const char* kNode = "Nodo_DNET";
inline constexpr const char* kInputGroup = "ByteIN";
inline constexpr const char* kOutputGroup = "ByteOUT";
inline constexpr const char* kByte = "row";
inline constexpr const char* kSelect = "Select";
inline constexpr const char* kMnemonic = "Mnemonic";
}  // namespace def_byte_xml

// PlcMap.xml, the tool's own document of the PLC side: the slots' starts and the tags of the last export.
namespace plc_map_xml {
inline constexpr const char* kRoot = "PlcMap";
inline constexpr const char* kSlot = "Slot";
inline constexpr const char* kArea = "Area";
inline constexpr const char* kPosition = "Position";
inline constexpr const char* kStart = "Start";
inline constexpr const char* kExport = "Export";
inline constexpr const char* kDate = "Date";
inline constexpr const char* kSymbols = "Symbols";
inline constexpr const char* kTag = "Tag";
inline constexpr const char* kSymbol = "Symbol";
inline constexpr const char* kAddress = "Address";
inline constexpr const char* kTypedTag = "TypedTag";
inline constexpr const char* kName = "Name";
inline constexpr const char* kNode = "Node";
inline constexpr const char* kByte = "Byte";
inline constexpr const char* kType = "Type";
inline constexpr const char* kByteOrder = "ByteOrder";
inline constexpr const char* kPlc = "Plc";
inline constexpr const char* kInput = "input";
inline constexpr const char* kOutput = "output";
}  // namespace plc_map_xml

}  // namespace tessara::documents
