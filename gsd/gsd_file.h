#pragma once

#include <string>

#include "gsd/gsd_text.h"

namespace tessara::documents {
class DocumentFile;
}  // namespace tessara::documents

namespace tessara::gsd {

// The PROFIBUS byte counts of the project's pargen.xml and their module counts. A missing document, or a count
// that is missing or not an integer, gives 0, as at program start: never the sizes of another project.
// A pargen.xml that is not XML throws ParseError.
ProfiSizes ReadProfiSizes(const std::string& projectDir);
ProfiSizes ReadProfiSizes(documents::DocumentFile& pargen);

// Writes the device description of the project to fileName, replacing the file through a temporary one, so a
// failed write leaves the previous file. Throws std::runtime_error "Cannot create file "<path>". <reason>".
void WriteGsdFile(const std::string& projectDir, const std::string& fileName);

}  // namespace tessara::gsd
