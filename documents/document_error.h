#pragma once

#include <stdexcept>
#include <string>

namespace tessara::documents {

// A document that cannot be read as its editor expects: a missing element or attribute, a value that is not
// an integer text, a child position beyond the count. It says which file, where in it (node, byte, element)
// and why; the message joins them as "<place>: <reason> (in <file>)". Readers throw it with the reason and add
// the place and the file as the error travels out through them.
class DocumentError : public std::runtime_error {
public:
    explicit DocumentError(const std::string& reason) : DocumentError({}, {}, reason) {}
    DocumentError(const std::string& file, const std::string& place, const std::string& reason)
        : std::runtime_error(Message(file, place, reason)), file_(file), place_(place), reason_(reason) {}

    const std::string& File() const { return file_; }
    const std::string& Place() const { return place_; }
    const std::string& Reason() const { return reason_; }

    // The same error seen from an enclosing part of the document: "node 3" around "input byte 2".
    DocumentError Within(const std::string& outerPlace) const {
        return DocumentError(file_, place_.empty() ? outerPlace : outerPlace + ": " + place_, reason_);
    }
    DocumentError InFile(const std::string& file) const { return DocumentError(file, place_, reason_); }

private:
    static std::string Message(const std::string& file, const std::string& place, const std::string& reason) {
        std::string message = place.empty() ? reason : place + ": " + reason;
        if (!file.empty()) message += " (in " + file + ")";
        return message;
    }

    std::string file_;
    std::string place_;
    std::string reason_;
};

// A file that is not well-formed XML. The message is the file's name, the parser's reason, CR LF, "Line: N",
// CR LF and the first 40 characters of the offending line.
class ParseError : public std::runtime_error {
public:
    ParseError(const std::string& file, const std::string& message) : std::runtime_error(message), file_(file) {}
    const std::string& File() const { return file_; }

private:
    std::string file_;
};

// Runs a reader step and adds the document's path to a DocumentError, so the user knows which file to fix.
template <class Step>
void ReadingDocument(const std::string& path, Step&& step) {
    try {
        step();
    } catch (const DocumentError& e) {
        throw e.InFile(path);
    }
}

}  // namespace tessara::documents
