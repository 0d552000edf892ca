#pragma once

#include <cstddef>
#include <ostream>
#include <string>
#include <vector>

#include "plc/address_map.h"

namespace tessara::plc {

enum class MapFormat { Text, Json, Csv, Sdf, PlcOpen };

struct ExportOptions {
    bool byteOrderMark = false;  // CSV only: a UTF-8 byte-order mark first
    bool swapProgram = false;    // PLCopen only: a program that swaps the bytes of every tag that needs it
};

// Every format of the command line, as text, with the PLC byte addresses of the map's rows. Bytes that do not
// fit have no address and say why: the symbol table and the PLCopen document leave them out.
std::string FormatAddressMap(const AddressMap& map, MapFormat format, const ExportOptions& options = {});
// The same, written to `out` as it is made: a large project's JSON is tens of megabytes.
void WriteAddressMap(std::ostream& out, const AddressMap& map, MapFormat format, const ExportOptions& options = {});

// Text from documents made safe for one cell of a table, one line of text, or any XML the tool writes:
// well-formed UTF-8, with control characters and the two code points XML forbids besides them (U+FFFE, U+FFFF)
// as blanks.
std::string PrintableText(const std::string& text);

// "node 2 (ID 5) byte 3", "node 2 (ID 5) bytes 3-4": where a byte or a tag comes from, as the symbol table's
// comment and the PLC's documentation give it.
std::string MapRowPlace(const AddressMapRow& row);
// "Valve 3, node 2 (ID 5) byte 3": the place with the node's mnemonic, as every export's comment gives it.
std::string MapRowComment(const AddressMapRow& row);

// "IB 12", "IW 12", "QD 4": a row's PLC address with the width of its value.
std::string MapRowAddress(const AddressMapRow& row);

// "Speed (INT, node 2 byte 3 of the input area) is not used: <why>": a tag the map could not make one value of.
std::string UnmadeTagText(const UnmadeTag& unmade);

// The rows with an address that the STEP 7 symbol table leaves out: its classic types have no 8-byte one.
std::vector<const AddressMapRow*> RowsLeftOutOfSdf(const AddressMap& map);

}  // namespace tessara::plc
