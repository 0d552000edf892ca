#include "documents/document_file.h"

#include "base/file_system.h"
#include "base/project_files.h"

namespace tessara::documents {

bool DocumentFile::Exists() const {
    return held_ ? text_.has_value() : base::AnythingExists(path_);
}

pugi::xml_node DocumentFile::Root() {
    if (loadError_) std::rethrow_exception(loadError_);
    if (!loaded_) {
        try {
            if (held_) {
                xml_->LoadText(text_.value(), path_);
            } else {
                xml_->LoadFile(path_);
            }
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

ProjectDocuments::ProjectDocuments(const std::string& projectDir, std::optional<std::string> pargenText,
                                   std::optional<std::string> networkText, std::optional<std::string> bytesText)
    : pargen(base::ProjectFile(projectDir, base::kPargenFileName), std::move(pargenText)),
      network(base::ProjectFile(projectDir, base::kDNetNetFileName), std::move(networkText)),
      bytes(base::ProjectFile(projectDir, base::kDefByteFileName), std::move(bytesText)) {}

}  // namespace tessara::documents
