#include "documents/xml_document.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "base/file_system.h"
#include "documents/document_error.h"
#include "documents/int_text.h"
#include "documents/xml_arena.h"

namespace tessara::documents {

namespace {

// Whitespace-only text is dropped (pugixml's default); no DTD, no entity of a DOCTYPE is ever expanded.
constexpr unsigned kParseOptions = pugi::parse_default;

std::string NodeName(pugi::xml_node node) {
    return node.type() == pugi::node_element ? "\"" + std::string(node.name()) + "\"" : "(document)";
}

// The first `count` characters of a line of UTF-8. Every byte but a continuation byte (10xxxxxx) starts a
// character, so a character of several bytes is never cut in two; a stray byte counts as one.
std::string FirstCharacters(const std::string& line, size_t count) {
    size_t end = 0;
    for (size_t started = 0; end < line.size(); ++end) {
        if ((static_cast<unsigned char>(line[end]) & 0xC0) != 0x80 && started++ == count) break;
    }
    return line.substr(0, end);
}

std::string ParseErrorText(const pugi::xml_parse_result& result, const std::string& text, const std::string& name) {
    const size_t offset = std::min(static_cast<size_t>(std::max<ptrdiff_t>(result.offset, 0)), text.size());
    const size_t lineStart = text.rfind('\n', offset == 0 ? 0 : offset - 1);
    const size_t begin = (lineStart == std::string::npos || offset == 0) ? 0 : lineStart + 1;
    const long line = 1 + std::count(text.begin(), text.begin() + static_cast<ptrdiff_t>(begin), '\n');
    const std::string source = FirstCharacters(text.substr(begin, text.find_first_of("\r\n", begin) - begin), 40);
    return name + ": " + result.description() + "\r\nLine: " + std::to_string(line) + "\r\n" + source;
}

struct ParserFree {
    void operator()(void* buffer) const { pugi::get_memory_deallocation_function()(buffer); }
};
using ParserBuffer = std::unique_ptr<void, ParserFree>;

ParserBuffer AllocateParserBuffer(size_t size) {
    ParserBuffer buffer(pugi::get_memory_allocation_function()(size ? size : 1));
    if (!buffer) throw std::bad_alloc();
    return buffer;
}

// Our documents are rows of a few short attributes, where pugixml's records take 3.5 to 5 times the text
// (144 bytes for a byte row of 30 to 40 characters). Three times errs low, so the huge page a tree ends in
// is hardly ever asked for; erring high would cost up to one huge page of memory, erring low a few faults.
constexpr size_t kTreeBytesPerTextByte = 3;

// What the parse of a file will fill, told to the arena for its huge pages until the parse is over.
class ParseMemoryExpectation {
public:
    ParseMemoryExpectation() = default;
    ParseMemoryExpectation(const ParseMemoryExpectation&) = delete;
    ParseMemoryExpectation& operator=(const ParseMemoryExpectation&) = delete;
    ~ParseMemoryExpectation() { ExpectXmlMemory(0); }

    void ForText(size_t textBytes) { ExpectXmlMemory(textBytes + kTreeBytesPerTextByte * textBytes); }
};

// Reads the file straight into memory the parser takes over, so a large document is held once and never
// copied.
ParserBuffer ReadIntoParserBuffer(const std::string& path, size_t& size, ParseMemoryExpectation& expectation) {
    ParserBuffer buffer;
    base::ReadWholeFileInto(path, base::kDocumentFileLimit, [&](size_t length) {
        size = length;
        expectation.ForText(length);
        buffer = AllocateParserBuffer(length);
        return static_cast<char*>(buffer.get());
    });
    return buffer;
}

// Where a NUL character starts when the text is read in code units of one, two and four bytes. A text without
// a zero byte, as every UTF-8 document should be, costs one memchr.
struct NulScan {
    std::optional<size_t> unit8, unit16, unit32;
};

std::optional<size_t> FirstZeroUnit(const char* text, size_t size, size_t from, size_t width) {
    for (size_t at = from - from % width; at + width <= size; at += width) {
        if (std::all_of(text + at, text + at + width, [](char c) { return c == '\0'; })) return at;
    }
    return std::nullopt;
}

NulScan ScanForNul(const char* text, size_t size) {
    const void* zero = std::memchr(text, 0, size);
    if (!zero) return {};
    const size_t first = static_cast<size_t>(static_cast<const char*>(zero) - text);
    return {first, FirstZeroUnit(text, size, first, 2), FirstZeroUnit(text, size, first, 4)};
}

// The NUL the parser stops at, in the encoding it read the text in.
std::optional<size_t> NulOffset(const NulScan& scan, pugi::xml_encoding encoding) {
    switch (encoding) {
        case pugi::encoding_utf16_le:
        case pugi::encoding_utf16_be:
            return scan.unit16;
        case pugi::encoding_utf32_le:
        case pugi::encoding_utf32_be:
            return scan.unit32;
        default:
            return scan.unit8;
    }
}

// Parses the text in `buffer` in place, the tree taking the buffer over; sets `nulOffset` as NulOffset() tells.
pugi::xml_parse_result ParseInPlace(pugi::xml_document& doc, ParserBuffer buffer, size_t size,
                                    std::optional<size_t>& nulOffset) {
    // Looked for before the parse, which rewrites the text.
    const NulScan nuls = ScanForNul(static_cast<const char*>(buffer.get()), size);
    doc.reset();
    const pugi::xml_parse_result result = doc.load_buffer_inplace_own(buffer.release(), size, kParseOptions);
    nulOffset = result ? NulOffset(nuls, result.encoding) : std::nullopt;
    return result;
}

}  // namespace

void XmlDocument::Activate() {
    if (!doc_) doc_ = std::make_unique<pugi::xml_document>();
}

void XmlDocument::LoadFile(const std::string& path) {
    size_t size = 0;
    ParseMemoryExpectation expectation;
    ParserBuffer buffer = ReadIntoParserBuffer(path, size, expectation);
    Activate();
    const pugi::xml_parse_result result = Checked(ParseInPlace(*doc_, std::move(buffer), size, nulOffset_));
    // The parse rewrote the text in place, so the message quotes the file as it stands.
    if (!result) Fail(result, base::ReadWholeFile(path, base::kDocumentFileLimit), path);
}

void XmlDocument::LoadText(const std::string& text, const std::string& name) {
    // Parsed in place from a copy, as a file is: pugixml's in-place parse reads a NUL before the closing ">" of a
    // file's last tag differently from its copying parse, and a text must read as the same file would.
    ParserBuffer buffer = AllocateParserBuffer(text.size());
    std::memcpy(buffer.get(), text.data(), text.size());
    Activate();
    const pugi::xml_parse_result result = Checked(ParseInPlace(*doc_, std::move(buffer), text.size(), nulOffset_));
    if (!result) Fail(result, text, name);
}

pugi::xml_parse_result XmlDocument::Checked(pugi::xml_parse_result result) const {
    if (result && !doc_->document_element()) {
        // Text without any element is no document; say so rather than read it as an empty one.
        result.status = pugi::status_no_document_element;
        result.offset = 0;
    }
    return result;
}

void XmlDocument::Fail(const pugi::xml_parse_result& result, const std::string& text, const std::string& name) {
    doc_->reset();
    nulOffset_.reset();
    throw ParseError(name, ParseErrorText(result, text, name));
}

void XmlDocument::Deactivate() {
    doc_.reset();
    nulOffset_.reset();
}

pugi::xml_node XmlDocument::FirstTopLevelNode() const {
    return doc_ ? doc_->first_child() : pugi::xml_node();
}

void XmlDocument::RemoveAllTopLevelNodes() {
    Activate();
    doc_->reset();
    nulOffset_.reset();
}

pugi::xml_node XmlDocument::AddRoot(const char* name) {
    Activate();
    return doc_->append_child(name);
}

namespace {

class StringWriter : public pugi::xml_writer {
public:
    std::string text;
    void write(const void* data, size_t size) override { text.append(static_cast<const char*>(data), size); }
};

}  // namespace

std::string XmlDocument::SaveText() const {
    StringWriter out;
    if (doc_) doc_->save(out, "", pugi::format_raw | pugi::format_no_declaration, pugi::encoding_utf8);
    return std::move(out.text);
}

void XmlDocument::SaveFile(const std::string& path) const {
    base::WriteWholeFile(path, SaveText(), base::WriteTarget::RegularFile);
}

size_t ChildCount(pugi::xml_node node) {
    return static_cast<size_t>(std::distance(node.children().begin(), node.children().end()));
}

pugi::xml_node ChildAt(pugi::xml_node node, size_t position) {
    size_t i = 0;
    for (pugi::xml_node child : node.children()) {
        if (i++ == position) return child;
    }
    throw DocumentError("Child " + std::to_string(position + 1) + " of element " + NodeName(node) +
                        " is missing: it has " + std::to_string(i) + " child nodes");
}

pugi::xml_node FindChild(pugi::xml_node node, const char* name) {
    return node.child(name);
}

pugi::xml_node RequireChild(pugi::xml_node node, const char* name) {
    pugi::xml_node child = node.child(name);
    if (!child) throw DocumentError("Element \"" + std::string(name) + "\" is missing in element " + NodeName(node));
    return child;
}

pugi::xml_node AppendChild(pugi::xml_node node, const char* name) {
    return node.append_child(name);
}

std::string ElementText(pugi::xml_node element) {
    pugi::xml_node first = element.first_child();
    if (!first) return {};
    const bool text = first.type() == pugi::node_pcdata || first.type() == pugi::node_cdata;
    if (!text || first.next_sibling()) throw DocumentError("Element does not contain a single text node");
    return first.value();
}

void SetElementText(pugi::xml_node element, const std::string& text) {
    while (element.first_child()) element.remove_child(element.first_child());
    if (!text.empty()) element.append_child(pugi::node_pcdata).set_value(text.c_str());
}

std::optional<std::string> AttributeText(pugi::xml_node element, const char* name) {
    pugi::xml_attribute attribute = element.attribute(name);
    if (!attribute) return std::nullopt;
    return std::string(attribute.value());
}

void SetAttribute(pugi::xml_node element, const char* name, const std::string& text) {
    pugi::xml_attribute attribute = element.attribute(name);
    if (!attribute) attribute = element.append_attribute(name);
    attribute.set_value(text.c_str());
}

std::string AttrToText(pugi::xml_node element, const char* name) {
    if (auto text = AttributeText(element, name)) return *std::move(text);
    throw DocumentError("Attribute \"" + std::string(name) + "\" is missing in element " + NodeName(element));
}

int32_t AttrToInt(pugi::xml_node element, const char* name) {
    const std::string text = AttrToText(element, name);
    if (auto value = ParseIntText(text)) return *value;
    throw DocumentError("Attribute \"" + std::string(name) + "\" of element " + NodeName(element) + ": '" + text +
                        "' is not a valid integer value");
}

}  // namespace tessara::documents
