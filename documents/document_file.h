#pragma once

#include <exception>
#include <optional>
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
    // A document held in memory, never read from disk: `text` is what the file would hold, nullopt a missing
    // file; `path` names it in messages. The readers then run without any file access (fuzzing).
    DocumentFile(std::string path, std::optional<std::string> text)
        : path_(std::move(path)), held_(true), text_(std::move(text)) {}
    DocumentFile(std::string path, std::optional<std::string> text, XmlDocument& xml)
        : path_(std::move(path)), held_(true), text_(std::move(text)), xml_(&xml) {}
    DocumentFile(const DocumentFile&) = delete;
    DocumentFile& operator=(const DocumentFile&) = delete;

    const std::string& Path() const { return path_; }
    // Anything at the path counts, a folder too: reading it then refuses what is not a regular file.
    bool Exists() const;
    // The first top-level node, as XmlDocument::LoadFile leaves it; throws what that load threw.
    pugi::xml_node Root();
    // As XmlDocument::NulOffset, once Root() has loaded the document.
    std::optional<size_t> NulOffset() const { return xml_->NulOffset(); }

private:
    std::string path_;
    bool held_ = false;
    std::optional<std::string> text_;
    XmlDocument own_;
    XmlDocument* xml_ = &own_;
    bool loaded_ = false;
    std::exception_ptr loadError_;
};

// The three documents of one project folder.
struct ProjectDocuments {
    explicit ProjectDocuments(const std::string& projectDir);
    // The three held in memory (see DocumentFile), named as in `projectDir`.
    ProjectDocuments(const std::string& projectDir, std::optional<std::string> pargenText,
                     std::optional<std::string> networkText, std::optional<std::string> bytesText);

    DocumentFile pargen;
    DocumentFile network;
    DocumentFile bytes;
};

}  // namespace tessara::documents
