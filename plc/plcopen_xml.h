#pragma once

#include <cstddef>
#include <ostream>
#include <string>

#include "plc/address_map.h"

namespace tessara::plc {

// The PLCopen XML (TC6 v2.01) document of the map: one global variable per row that fits its area, named by its
// symbol, of its type (BYTE for a byte) and placed at its %IB / %IW / %ID / %IL (or %Q) address, with the
// mnemonic and place as its documentation. With `swapProgram`, each tag whose bytes must be swapped is read at its
// address as a raw bit string, and a program in Structured Text swaps it into the tag's variable.
// `creationDateTime` is an xsd:dateTime. Written to `out` as it is saved, without a copy of the whole text.
void WritePlcOpenXml(std::ostream& out, const AddressMap& map, const std::string& creationDateTime,
                     bool swapProgram = false);

// Now, in UTC, as an xsd:dateTime: "2026-03-14T09:26:53Z".
std::string UtcDateTimeNow();

}  // namespace tessara::plc
