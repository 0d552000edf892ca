#include "gsd/gsd_file.h"

#include <stdexcept>

#include "base/file_system.h"
#include "base/project_files.h"
#include "documents/document_error.h"
#include "documents/document_file.h"
#include "documents/document_schema.h"
#include "documents/int_text.h"
#include "documents/xml_document.h"

namespace tessara::gsd {

namespace {

// An absent or unreadable count is not an error here: the file is still written, with 0 for it.
int32_t CountOrZero(pugi::xml_node root, const char* name) {
    try {
        return documents::IntOrError(documents::ElementText(documents::RequireChild(root, name)));
    } catch (const documents::DocumentError&) {
        return 0;
    }
}

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

ProfiSizes ReadProfiSizes(documents::DocumentFile& pargen) {
    if (!pargen.Exists()) return {};
    const pugi::xml_node root = pargen.Root();
    return SizesFor(CountOrZero(root, documents::pargen_xml::kProfiNbIn),
                    CountOrZero(root, documents::pargen_xml::kProfiNbOut));
}

ProfiSizes ReadProfiSizes(const std::string& projectDir) {
    documents::DocumentFile pargen(base::ProjectFile(projectDir, base::kPargenFileName));
    return ReadProfiSizes(pargen);
}

void WriteGsdFile(const std::string& projectDir, const std::string& fileName) {
    const ProfiSizes sizes = ReadProfiSizes(projectDir);
    RefuseCountOutOfRange(sizes.NbIn, documents::pargen_xml::kProfiNbIn);
    RefuseCountOutOfRange(sizes.NbOut, documents::pargen_xml::kProfiNbOut);
    try {
        base::WriteWholeFile(fileName, GsdText(sizes));
    } catch (const base::FileWriteError& e) {
        throw std::runtime_error("Cannot create file \"" + fileName + "\". " + e.reason());
    }
}

}  // namespace tessara::gsd
