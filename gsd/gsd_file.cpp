#include "gsd/gsd_file.h"

#include <stdexcept>

#include "app/file_system.h"
#include "documents/document_error.h"
#include "documents/int_text.h"
#include "documents/xml_document.h"
#include "image/project_files.h"

namespace {

// An absent or unreadable count is not an error here: the file is still written, with 0 for it.
int32_t CountOrZero(pugi::xml_node root, const char* name) {
    try {
        return IntOrError(ElementText(RequireChild(root, name)));
    } catch (const DocumentError&) {
        return 0;
    }
}

// The file layer words its failures "Cannot write "<path>". <reason>"; the user is told the reason alone
// after this generator's own wording.
std::string SystemReason(const std::string& message, const std::string& path) {
    const std::string prefix = "Cannot write \"" + path + "\". ";
    return message.starts_with(prefix) ? message.substr(prefix.size()) : message;
}

}  // namespace

ProfiSizes ReadProfiSizes(const std::string& projectDir) {
    const std::string path = ProjectFile(projectDir, kPargenFileName);
    if (!FileExists(path)) return {};
    XmlDocument doc;
    doc.LoadFile(path);
    const pugi::xml_node root = doc.FirstTopLevelNode();
    return SizesFor(CountOrZero(root, "PROFI_NB_IN"), CountOrZero(root, "PROFI_NB_OUT"));
}

void WriteGsdFile(const std::string& projectDir, const std::string& fileName) {
    const std::string text = GsdText(ReadProfiSizes(projectDir));
    try {
        WriteFileAtomically(fileName, text);
    } catch (const std::runtime_error& e) {
        throw std::runtime_error("Cannot create file \"" + fileName + "\". " + SystemReason(e.what(), fileName));
    }
}
