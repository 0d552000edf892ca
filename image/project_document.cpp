#include "image/project_document.h"

#include "app/file_system.h"
#include "documents/xml_document.h"

void LoadProjectDocument(pugi::xml_document& doc, const std::string& path) {
    if (doc.load_file(PathFromUtf8(path).c_str(), pugi::parse_default)) return;
    // Failures are rare: the document layer reads the file again to word the error as the editors do.
    XmlDocument words;
    words.LoadFile(path);
    // The file changed between the two reads and now parses: use what the document layer read.
    doc.reset();
    for (pugi::xml_node node = words.FirstTopLevelNode(); node; node = node.next_sibling()) doc.append_copy(node);
}
