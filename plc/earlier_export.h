#pragma once

#include <string>
#include <vector>

#include "documents/plc_map_document.h"

namespace tessara::plc {

// The tags of an earlier `map --json` or `map --csv` export (told apart by the first character after an optional
// byte-order mark: "{" for JSON): every row with an address, by symbol, area and address. The reading is strict:
// text that is not such an export throws std::runtime_error naming `name` and, for CSV, the line.
std::vector<documents::ExportedTag> ReadEarlierExport(const std::string& text, const std::string& name);

}  // namespace tessara::plc
