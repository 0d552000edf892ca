#include "gsd/gsd_file.h"

#include <stdexcept>

#include "base/file_system.h"
#include "documents/document_schema.h"
#include "documents/profibus_areas.h"

namespace tessara::gsd {

namespace {

// The editor keeps both counts within 0 to 128; a hand-edited count far beyond would ask for a file of
// millions of modules, and a negative one gives a module count with no module lines behind it. Anything from 0
// up to the largest byte count of the project's documents is still written.
constexpr int32_t kLargestGsdCount = 65535;

void RefuseCountOutOfRange(int32_t count, const char* name) {
    const std::string counted = std::string(name) + " " + std::to_string(count) + " in pargen.xml ";
    if (count < 0) {
        throw std::runtime_error(counted + "is negative: a GSD file takes 0 to " + std::to_string(kLargestGsdCount) +
                                 " bytes");
    }
    if (count > kLargestGsdCount) {
        throw std::runtime_error(counted + "is too large for a GSD file: at most " + std::to_string(kLargestGsdCount) +
                                 " bytes");
    }
}

}  // namespace

void WriteGsdFile(const std::string& projectDir, const std::string& fileName) {
    // An absent or unreadable count is not an error here: the file is still written, with 0 for it.
    const documents::ProfibusAreas areas = documents::ReadProfibusAreas(projectDir);
    const ProfiSizes sizes = SizesFor(areas.NbIn, areas.NbOut);
    RefuseCountOutOfRange(sizes.NbIn, documents::pargen_xml::kProfiNbIn);
    RefuseCountOutOfRange(sizes.NbOut, documents::pargen_xml::kProfiNbOut);
    try {
        base::WriteWholeFile(fileName, GsdText(sizes));
    } catch (const base::FileWriteError& e) {
        throw std::runtime_error("Cannot create file \"" + fileName + "\". " + e.reason());
    }
}

}  // namespace tessara::gsd
