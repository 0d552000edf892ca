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

void AddDoubt(int32_t count, const std::string& unread, const char* direction, std::vector<std::string>& doubts) {
    const std::string name = std::string("The PROFIBUS ") + direction + " byte count";
    if (!unread.empty()) {
        doubts.push_back(name + " cannot be read (" + unread + "): the GSD file would give 0 " + direction + " bytes.");
    } else if (count > documents::kProfibusAreaMax) {
        doubts.push_back(name + " " + std::to_string(count) + " is more than the device takes (0 to " +
                         std::to_string(documents::kProfibusAreaMax) + ").");
    }
}

}  // namespace

GsdCounts ReadGsdCounts(const std::string& projectDir) {
    const documents::ProfibusAreas areas = documents::ReadProfibusAreas(projectDir);
    RefuseCountOutOfRange(areas.NbIn, documents::pargen_xml::kProfiNbIn);
    RefuseCountOutOfRange(areas.NbOut, documents::pargen_xml::kProfiNbOut);
    GsdCounts counts{SizesFor(areas.NbIn, areas.NbOut), {}};
    AddDoubt(areas.NbIn, areas.NbInUnread, "input", counts.doubts);
    AddDoubt(areas.NbOut, areas.NbOutUnread, "output", counts.doubts);
    return counts;
}

void WriteGsdFile(const ProfiSizes& sizes, const std::string& fileName) {
    try {
        base::WriteWholeFile(fileName, GsdText(sizes));
    } catch (const base::FileWriteError& e) {
        throw std::runtime_error("Cannot create file \"" + fileName + "\". " + e.reason());
    }
}

void WriteGsdFile(const std::string& projectDir, const std::string& fileName) {
    WriteGsdFile(ReadGsdCounts(projectDir).sizes, fileName);
}

}  // namespace tessara::gsd
