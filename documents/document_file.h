#pragma once

#include <exception>
#include <string>

#include "documents/xml_document.h"

namespace tessara::documents {

// A document on disk, parsed when the first reader asks for its tree and kept for the readers after it, so a
// pass that runs several readers over a project (the check, the image build) parses each file once. A load
// that failed fails again, with the same error, for every later reader.
class DocumentFile {
public:
    explicit DocumentFile(std::string path) : path_(std::move(path)) {}
    // Loads into the caller's document object, which keeps the tree after this one is gone.
    DocumentFile(std::string path, XmlDocument& xml) : path_(std::move(path)), xml_(&xml) {}
    DocumentFile(const DocumentFile&) = delete;
    DocumentFile& operator=(const DocumentFile&) = delete;

    const std::string& Path() const { return path_; }
    // Anything at the path counts, a folder too: reading it then refuses what is not a regular file.
    bool Exists() const;
    // The first top-level node, as XmlDocument::LoadFile leaves it; throws what that load threw.
    pugi::xml_node Root();

private:
    std::string path_;
    XmlDocument own_;
    XmlDocument* xml_ = &own_;
    bool loaded_ = false;
    std::exception_ptr loadError_;
};

// The three documents of one project folder.
struct ProjectDocuments {
    explicit ProjectDocuments(const std::string& projectDir);

    DocumentFile pargen;
    DocumentFile network;
    DocumentFile bytes;
};

}  // namespace tessara::documents
