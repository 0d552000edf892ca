#pragma once

#include <cstddef>
#include <ostream>
#include <string>

#include "plc/address_map.h"

namespace tessara::plc {

enum class MapFormat { Text, Json, Csv, Sdf, PlcOpen };

// Every format of the command line, as text, with the PLC byte addresses at which the PROFIBUS master places
// the gateway's input and output modules. Bytes that do not fit their area have no address: the symbol table
// and the PLCopen document leave them out.
std::string FormatAddressMap(const AddressMap& map, MapFormat format, size_t inputStart, size_t outputStart);
// The same, written to `out` as it is made: a large project's JSON is tens of megabytes.
void WriteAddressMap(std::ostream& out, const AddressMap& map, MapFormat format, size_t inputStart, size_t outputStart);

// A mnemonic made safe for one cell of a table or one line of text: well-formed UTF-8, control characters as
// blanks.
std::string PrintableText(const std::string& text);

// "node 2 (ID 5) byte 3": where a byte comes from, as the symbol table's comment and the PLC's documentation
// give it.
std::string MapRowPlace(const AddressMapRow& row);

}  // namespace tessara::plc
