#pragma once

#include <optional>
#include <ostream>
#include <string>

#include "check/project_check.h"

namespace tessara::cli {

// The project as the check reads it, for the commands that place bytes in the PLC (map, tag). Documents that
// cannot be read give no places at all: their findings go to `err` and nothing is returned. A PlcMap.xml that
// cannot be read throws its error, since a start or a tag must never be guessed.
std::optional<check::ProjectCheck> ReadMappedProject(const std::string& projectDir, std::ostream& err);

}  // namespace tessara::cli
