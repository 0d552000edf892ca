#include "documents/profibus_areas.h"

#include "base/project_files.h"
#include "documents/document_error.h"
#include "documents/document_file.h"
#include "documents/document_schema.h"
#include "documents/int_text.h"
#include "documents/xml_document.h"

namespace tessara::documents {

namespace {

// An absent or unreadable count is not an error here: the readers go on with 0 for it, and `unread` says why.
int32_t CountOrZero(pugi::xml_node root, const char* name, std::string& unread) {
    try {
        return IntOrError(ElementText(RequireChild(root, name)));
    } catch (const DocumentError& e) {
        unread = e.what();
        return 0;
    }
}

}  // namespace

ProfibusAreas ReadProfibusAreas(DocumentFile& pargen) {
    if (!pargen.Exists()) return {};
    const pugi::xml_node root = pargen.Root();
    ProfibusAreas areas;
    areas.NbIn = CountOrZero(root, pargen_xml::kProfiNbIn, areas.NbInUnread);
    areas.NbOut = CountOrZero(root, pargen_xml::kProfiNbOut, areas.NbOutUnread);
    return areas;
}

ProfibusAreas ReadProfibusAreas(const std::string& projectDir) {
    DocumentFile pargen(base::ProjectFile(projectDir, base::kPargenFileName));
    return ReadProfibusAreas(pargen);
}

}  // namespace tessara::documents
