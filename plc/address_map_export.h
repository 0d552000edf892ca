#pragma once

#include <cstddef>
#include <ostream>
#include <string>

#include "plc/address_map.h"

namespace tessara::plc {

enum class MapFormat { Text, Json, Csv, Sdf, PlcOpen };

struct ExportOptions {
    bool byteOrderMark = false;  // CSV only: a UTF-8 byte-order mark first
};

// Every format of the command line, as text, with the PLC byte addresses of the map's rows. Bytes that do not
// fit have no address and say why: the symbol table and the PLCopen document leave them out.
std::string FormatAddressMap(const AddressMap& map, MapFormat format, const ExportOptions& options = {});
// The same, written to `out` as it is made: a large project's JSON is tens of megabytes.
void WriteAddressMap(std::ostream& out, const AddressMap& map, MapFormat format, const ExportOptions& options = {});

// A mnemonic made safe for one cell of a table or one line of text: well-formed UTF-8, control characters as
// blanks.
std::string PrintableText(const std::string& text);

// "node 2 (ID 5) byte 3": where a byte comes from, as the symbol table's comment and the PLC's documentation
// give it.
std::string MapRowPlace(const AddressMapRow& row);
// "Valve 3, node 2 (ID 5) byte 3": the place with the node's mnemonic, as every export's comment gives it.
std::string MapRowComment(const AddressMapRow& row);

}  // namespace tessara::plc
