#include "documents/document_file.h"

#include "base/file_system.h"
#include "base/project_files.h"

namespace tessara::documents {

bool DocumentFile::Exists() const {
    return base::AnythingExists(path_);
}

pugi::xml_node DocumentFile::Root() {
    if (loadError_) std::rethrow_exception(loadError_);
    if (!loaded_) {
        try {
            xml_->LoadFile(path_);
        } catch (...) {
            loadError_ = std::current_exception();
            throw;
        }
        loaded_ = true;
    }
    return xml_->FirstTopLevelNode();
}

ProjectDocuments::ProjectDocuments(const std::string& projectDir)
    : pargen(base::ProjectFile(projectDir, base::kPargenFileName)),
      network(base::ProjectFile(projectDir, base::kDNetNetFileName)),
      bytes(base::ProjectFile(projectDir, base::kDefByteFileName)) {}

}  // namespace tessara::documents
