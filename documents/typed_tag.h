#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "documents/profibus_slots.h"

namespace tessara::documents {

// The IEC 61131-3 types a value of 1, 2, 4 or 8 consecutive bytes is read as.
enum class TagType { Byte, Word, Int, Uint, Dword, Dint, Udint, Real, Lword, Lint, Lreal };

inline constexpr std::array kTagTypes = {TagType::Byte,  TagType::Word, TagType::Int,   TagType::Uint,
                                         TagType::Dword, TagType::Dint, TagType::Udint, TagType::Real,
                                         TagType::Lword, TagType::Lint, TagType::Lreal};

// Bytes the type takes: 1, 2, 4 or 8.
size_t TagTypeSize(TagType type);
// "BYTE", "INT", "LREAL": the IEC name, as the exports and PlcMap.xml write it.
const char* TagTypeName(TagType type);
// The type of that name, in any case; nullopt for none.
std::optional<TagType> TagTypeNamed(std::string_view name);

// The order of a value's bytes: DeviceNet sends least significant first; PLCs commonly read most significant first.
enum class ByteOrder { Little, Big };

// "little" or "big", as the command line and PlcMap.xml name them; and back (nullopt for neither).
const char* ByteOrderName(ByteOrder order);
std::optional<ByteOrder> ByteOrderNamed(std::string_view name);

// The byte order a device's value is taken in when nothing says otherwise: DeviceNet's own.
inline constexpr ByteOrder kDeviceByteOrder = ByteOrder::Little;
// The byte order the PLC reads words in when the project does not say: most masters' PLCs.
inline constexpr ByteOrder kPlcByteOrder = ByteOrder::Big;

// Whether the PLC must swap a value's bytes: a value of more than one byte whose device sends its bytes in another
// order than the PLC reads them.
bool NeedsSwap(TagType type, ByteOrder deviceOrder, ByteOrder plcOrder);

// A value of one node that spans consecutive selected bytes of one direction, read by the PLC as one variable.
// Kept by the node's position in the network, its direction and its first byte.
struct TypedTag {
    std::string name;
    AreaDirection direction = AreaDirection::Input;
    size_t node = 1;    // the node's position in DNET_Net.xml, from 1
    uint32_t byte = 1;  // the node's byte the value starts at, from 1
    TagType type = TagType::Byte;
    ByteOrder byteOrder = kDeviceByteOrder;
    uint32_t LastByte() const { return byte + static_cast<uint32_t>(TagTypeSize(type)) - 1; }
    bool operator==(const TypedTag&) const = default;
};

// NeedsSwap for the tag's type and order.
bool NeedsSwap(const TypedTag& tag, ByteOrder plcOrder);

}  // namespace tessara::documents
