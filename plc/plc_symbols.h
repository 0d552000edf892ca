#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "plc/address_map.h"

namespace tessara::plc {

// The longest symbol STEP 7's symbol table takes.
inline constexpr size_t kPlcSymbolLength = 24;

// A keyword or standard name of IEC 61131-3 (types, function blocks, functions and their typed conversions, IL
// operators), without regard to case: no symbol may spell one.
bool IsIecReservedWord(std::string_view name);

// A name as IEC 61131-3 and STEP 7 compare names, without regard to case: in upper case.
std::string PlcNameKey(std::string name);

// Why `name` cannot be given to a PLC variable as it stands: not an identifier as the symbols are made (letters
// and digits, single underscores between them, a letter first), longer than STEP 7 takes, or a reserved word.
// Nullopt when it can.
std::optional<std::string> PlcNameProblem(std::string_view name);

// The symbol a byte asks for before clashes are settled: its mnemonic made into an IEC 61131-3 identifier, or
// N<ID>_I<byte> / N<ID>_Q<byte> when nothing of the mnemonic is left.
std::string PlcSymbolBase(const std::string& mnemonic, int id, MapArea area, uint32_t byte);

// The symbol a byte asks for in the node style: "<node>_<byte>", each mnemonic made an identifier as above
// (N<ID> for a node without one, I<byte> / Q<byte> for a byte without one), cut to 24 characters.
std::string NodePlcSymbolBase(const AddressMapRow& row);

// Gives every row its symbol in the map's style, unique in the project without regard to case, input rows first, each
// area in offset order, so the same project always gives the same symbols.
void AssignPlcSymbols(AddressMap& map);

}  // namespace tessara::plc
