#include "plc/earlier_export.h"

#include <charconv>
#include <optional>
#include <stdexcept>
#include <string_view>

namespace tessara::plc {

namespace {

using documents::AreaDirection;
using documents::ExportedTag;

[[noreturn]] void Fail(const std::string& name, const std::string& where, const std::string& what) {
    throw std::runtime_error(name + ": " + where + what + ": not an export of tessara map");
}

std::optional<size_t> Address(std::string_view text) {
    size_t value = 0;
    const char* end = text.data() + text.size();
    const std::from_chars_result parsed = std::from_chars(text.data(), end, value);
    if (text.empty() || parsed.ec != std::errc() || parsed.ptr != end || value > documents::kLastPlcByte)
        return std::nullopt;
    return value;
}

// A strict reader of the JSON the map writes: objects, arrays, strings, integers, true, false and null, with
// nothing after the document. Only the rows' symbol and address are kept; every other value is checked and
// passed over.
class JsonReader {
public:
    JsonReader(std::string_view text, const std::string& name) : text_(text), name_(name) {}

    std::vector<ExportedTag> Tags() {
        Expect('{');
        if (!Take('}')) {
            do {
                const std::string key = String();
                Expect(':');
                if (key == "input" || key == "output") {
                    Rows(key == "input" ? AreaDirection::Input : AreaDirection::Output);
                } else {
                    Skip();
                }
            } while (Take(','));
            Expect('}');
        }
        Blanks();
        if (at_ != text_.size()) Error("text after the document");
        return std::move(tags_);
    }

private:
    void Rows(AreaDirection direction) {
        Expect('[');
        if (Take(']')) return;
        do {
            Row(direction);
        } while (Take(','));
        Expect(']');
    }

    void Row(AreaDirection direction) {
        std::optional<std::string> symbol;
        std::optional<size_t> address;
        bool addressNull = false;
        Expect('{');
        do {
            const std::string key = String();
            Expect(':');
            if (key == "symbol") {
                symbol = String();
            } else if (key == "address") {
                Blanks();
                if (text_.substr(at_, 4) == "null") {
                    at_ += 4;
                    addressNull = true;
                } else if (!(address = Address(Number()))) {
                    Error("an address that is not from 0 to 65535");
                }
            } else {
                Skip();
            }
        } while (Take(','));
        Expect('}');
        if (!symbol || (!address && !addressNull)) Error("a row without symbol or address");
        if (address) tags_.push_back({*symbol, direction, *address});
    }

    void Skip() {
        Blanks();
        if (at_ >= text_.size()) Error("the end of the text");
        const char c = text_[at_];
        if (c == '"') {
            String();
        } else if (c == '{' || c == '[') {
            const char close = c == '{' ? '}' : ']';
            ++at_;
            if (Take(close)) return;
            do {
                if (c == '{') {
                    String();
                    Expect(':');
                }
                Skip();
            } while (Take(','));
            Expect(close);
        } else if (!Word("true") && !Word("false") && !Word("null")) {
            Number();
        }
    }

    bool Word(std::string_view word) {
        if (text_.substr(at_, word.size()) != word) return false;
        at_ += word.size();
        return true;
    }

    std::string_view Number() {
        Blanks();
        const size_t from = at_;
        if (at_ < text_.size() && text_[at_] == '-') ++at_;
        while (at_ < text_.size() && text_[at_] >= '0' && text_[at_] <= '9') ++at_;
        if (at_ == from) Error("a value that is not JSON");
        return text_.substr(from, at_ - from);
    }

    std::string String() {
        Expect('"');
        std::string value;
        while (at_ < text_.size() && text_[at_] != '"') {
            const char c = text_[at_++];
            if (static_cast<unsigned char>(c) < 0x20) Error("a control character in a string");
            if (c != '\\') {
                value += c;
                continue;
            }
            if (at_ >= text_.size()) break;
            const char escaped = text_[at_++];
            switch (escaped) {
                case '"':
                case '\\':
                case '/':
                    value += escaped;
                    break;
                case 'b':
                    value += '\b';
                    break;
                case 'f':
                    value += '\f';
                    break;
                case 'n':
                    value += '\n';
                    break;
                case 'r':
                    value += '\r';
                    break;
                case 't':
                    value += '\t';
                    break;
                case 'u':
                    value += Unicode();
                    break;
                default:
                    Error("an unknown escape in a string");
            }
        }
        Expect('"');
        return value;
    }

    // \uXXXX, with a following low surrogate for a character past U+FFFF; as UTF-8.
    std::string Unicode() {
        unsigned code = Hex4();
        if (code >= 0xD800 && code < 0xDC00) {
            if (text_.substr(at_, 2) != "\\u") Error("a lone surrogate in a string");
            at_ += 2;
            const unsigned low = Hex4();
            if (low < 0xDC00 || low >= 0xE000) Error("a lone surrogate in a string");
            code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
        } else if (code >= 0xDC00 && code < 0xE000) {
            Error("a lone surrogate in a string");
        }
        std::string utf8;
        if (code < 0x80) {
            utf8 += static_cast<char>(code);
        } else if (code < 0x800) {
            utf8 += static_cast<char>(0xC0 | (code >> 6));
            utf8 += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            utf8 += static_cast<char>(0xE0 | (code >> 12));
            utf8 += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            utf8 += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            utf8 += static_cast<char>(0xF0 | (code >> 18));
            utf8 += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            utf8 += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            utf8 += static_cast<char>(0x80 | (code & 0x3F));
        }
        return utf8;
    }

    unsigned Hex4() {
        if (at_ + 4 > text_.size()) Error("a short \\u escape");
        unsigned value = 0;
        const std::from_chars_result parsed = std::from_chars(text_.data() + at_, text_.data() + at_ + 4, value, 16);
        if (parsed.ptr != text_.data() + at_ + 4) Error("a \\u escape that is not hexadecimal");
        at_ += 4;
        return value;
    }

    void Blanks() {
        while (at_ < text_.size() &&
               (text_[at_] == ' ' || text_[at_] == '\n' || text_[at_] == '\r' || text_[at_] == '\t'))
            ++at_;
    }
    bool Take(char c) {
        Blanks();
        if (at_ >= text_.size() || text_[at_] != c) return false;
        ++at_;
        return true;
    }
    void Expect(char c) {
        if (!Take(c)) Error(std::string("no '") + c + "'");
    }
    [[noreturn]] void Error(const std::string& what) { Fail(name_, "byte " + std::to_string(at_) + ": ", what); }

    std::string_view text_;
    const std::string& name_;
    size_t at_ = 0;
    std::vector<ExportedTag> tags_;
};

// One record of RFC 4180 CSV from `at`, which it moves past the record's line break.
std::vector<std::string> CsvRecord(std::string_view text, size_t& at, const std::string& name, size_t line) {
    std::vector<std::string> fields(1);
    while (at < text.size()) {
        const char c = text[at];
        if (c == '\r' || c == '\n') {
            at += c == '\r' && at + 1 < text.size() && text[at + 1] == '\n' ? 2 : 1;
            return fields;
        }
        if (c == ',') {
            fields.emplace_back();
            ++at;
        } else if (c == '"' && fields.back().empty()) {
            for (++at;; ++at) {
                if (at >= text.size()) Fail(name, "line " + std::to_string(line) + ": ", "a quote left open");
                if (text[at] == '"' && (at + 1 >= text.size() || text[at + 1] != '"')) break;
                if (text[at] == '"') ++at;
                fields.back() += text[at];
            }
            ++at;
            if (at < text.size() && text[at] != ',' && text[at] != '\r' && text[at] != '\n')
                Fail(name, "line " + std::to_string(line) + ": ", "text after a closing quote");
        } else {
            fields.back() += c;
            ++at;
        }
    }
    return fields;
}

std::vector<ExportedTag> CsvTags(std::string_view text, const std::string& name) {
    size_t at = 0;
    const std::vector<std::string> header = CsvRecord(text, at, name, 1);
    const auto column = [&](const char* wanted) {
        for (size_t c = 0; c < header.size(); ++c) {
            if (header[c] == wanted) return c;
        }
        Fail(name, "line 1: ", std::string("no column \"") + wanted + "\"");
    };
    const size_t area = column("area");
    const size_t address = column("address");
    const size_t symbol = column("symbol");
    std::vector<ExportedTag> tags;
    for (size_t line = 2; at < text.size(); ++line) {
        const std::vector<std::string> fields = CsvRecord(text, at, name, line);
        const std::string where = "line " + std::to_string(line) + ": ";
        if (fields.size() != header.size()) Fail(name, where, "a record of another length than the header");
        if (fields[area] != "input" && fields[area] != "output")
            Fail(name, where, "an area other than input or output");
        if (fields[address].empty()) continue;  // a byte that had no address
        const std::optional<size_t> value = Address(fields[address]);
        if (!value) Fail(name, where, "an address that is not from 0 to 65535");
        tags.push_back(
            {fields[symbol], fields[area] == "input" ? AreaDirection::Input : AreaDirection::Output, *value});
    }
    return tags;
}

}  // namespace

std::vector<documents::ExportedTag> ReadEarlierExport(const std::string& text, const std::string& name) {
    std::string_view rest = text;
    if (rest.starts_with("\xEF\xBB\xBF")) rest.remove_prefix(3);
    const size_t first = rest.find_first_not_of(" \t\r\n");
    if (first != std::string_view::npos && rest[first] == '{') return JsonReader(rest, name).Tags();
    return CsvTags(rest, name);
}

}  // namespace tessara::plc
