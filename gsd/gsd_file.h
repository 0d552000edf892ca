#pragma once

#include <string>

#include "gsd/gsd_text.h"

namespace tessara::gsd {

// Writes the device description of the project, from the PROFIBUS areas of its own pargen.xml, to fileName,
// replacing the file through a temporary one, so a failed write leaves the previous file. Throws std::runtime_error
// "Cannot create file "<path>". <reason>".
void WriteGsdFile(const std::string& projectDir, const std::string& fileName);

}  // namespace tessara::gsd
