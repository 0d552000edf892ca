#pragma once

#include <string>
#include <vector>

#include "gsd/gsd_text.h"

namespace tessara::gsd {

// The sizes a project's GSD file carries, from its own pargen.xml, and the doubts its user settles before it is
// written: a count beyond what the device takes, or one that cannot be read and is written as 0. Each doubt is
// one sentence: "The PROFIBUS input byte count 200 is more than the device takes (0 to 128)."
struct GsdCounts {
    ProfiSizes sizes;
    std::vector<std::string> doubts;
};

// Throws std::runtime_error for a count no GSD file can carry (negative, or beyond the largest byte count of the
// project's documents), whatever the user would answer, and ParseError for a pargen.xml that is not XML. A
// project without pargen.xml has no doubt: its file is that of two empty areas.
GsdCounts ReadGsdCounts(const std::string& projectDir);

// Writes the device description of these sizes to fileName, replacing the file through a temporary one, so a
// failed write leaves the previous file. Throws std::runtime_error "Cannot create file "<path>". <reason>".
void WriteGsdFile(const ProfiSizes& sizes, const std::string& fileName);

// Both, settling every doubt by writing.
void WriteGsdFile(const std::string& projectDir, const std::string& fileName);

}  // namespace tessara::gsd
