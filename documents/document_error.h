#pragma once

#include <stdexcept>
#include <string>

// A document that cannot be read as its editor expects: a missing element or attribute, a value that is not
// an integer text, a child position beyond the count. The message says what and where.
class DocumentError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A file that is not well-formed XML. The message is the parser's reason, CR LF, "Line: N", CR LF and the
// first 40 characters of the offending line.
class ParseError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Runs a reader step and adds the document's path to a DocumentError, so the user knows which file to fix.
template <class Step>
void ReadingDocument(const std::string& path, Step&& step) {
    try {
        step();
    } catch (const DocumentError& e) {
        throw DocumentError(std::string(e.what()) + " (in " + path + ")");
    }
}
