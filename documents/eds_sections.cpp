#include "documents/eds_sections.h"

#include <algorithm>
#include <cctype>

#include "documents/eds_reader.h"
#include "documents/int_text.h"

namespace tessara::documents::eds {

namespace {

std::string Trim(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

// Product names arrive in whatever code page the maker used; text that is not UTF-8 is taken as Latin-1.
bool IsUtf8(const std::string& text) {
    constexpr size_t kBad = 4;
    for (size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        const size_t extra = c < 0x80             ? 0
                             : (c & 0xE0) == 0xC0 ? 1
                             : (c & 0xF0) == 0xE0 ? 2
                             : (c & 0xF8) == 0xF0 ? 3
                                                  : kBad;
        if (extra == kBad || text.size() - i <= extra) return false;
        for (size_t k = 1; k <= extra; ++k) {
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
        }
        i += extra + 1;
    }
    return true;
}

class SectionReader {
public:
    SectionReader(const std::string& text, const EdsSections& file, std::map<std::string, Section>& sections,
                  std::map<std::string, int>& headerLines)
        : text_(text), file_(file), sections_(sections), headerLines_(headerLines) {}

    [[noreturn]] void Fail(int line, const std::string& what) const { file_.Fail(line, what); }

    void Parse() {
        // Editors on Windows often start a UTF-8 file with a byte-order mark.
        if (text_.starts_with("\xEF\xBB\xBF")) pos_ = 3;
        while (pos_ < text_.size()) {
            SkipBlanksAndComments();
            if (pos_ >= text_.size()) break;
            if (text_[pos_] == '[') {
                ReadHeader();
            } else {
                ReadEntry();
            }
        }
    }

    int LastLine() const { return line_; }

private:
    void Advance() {
        if (text_[pos_] == '\n') ++line_;
        ++pos_;
    }

    void SkipComment() {
        while (pos_ < text_.size() && text_[pos_] != '\n') ++pos_;
    }

    void SkipBlanksAndComments() {
        while (pos_ < text_.size()) {
            const char c = text_[pos_];
            if (c == '$') {
                SkipComment();
            } else if (std::isspace(static_cast<unsigned char>(c))) {
                Advance();
            } else {
                return;
            }
        }
    }

    void ReadHeader() {
        const size_t close = text_.find(']', pos_);
        const size_t end = text_.find('\n', pos_);
        if (close == std::string::npos || close > end) Fail(line_, "a section header lacks its closing ']'");
        current_ = Upper(Trim(text_.substr(pos_ + 1, close - pos_ - 1)));
        if (current_.empty()) Fail(line_, "a section header has no name");
        sections_.try_emplace(current_);
        headerLines_.try_emplace(current_, line_);
        pos_ = close + 1;
    }

    void ReadEntry() {
        const int start = line_;
        if (current_.empty()) Fail(start, "an entry stands before the first section header");
        const size_t equals = text_.find('=', pos_);
        const size_t end = text_.find_first_of("\n;[", pos_);
        if (equals == std::string::npos || equals > end) Fail(start, "expected 'Keyword = value;'");
        const std::string key = Upper(Trim(text_.substr(pos_, equals - pos_)));
        if (key.empty()) Fail(start, "an entry has no keyword");
        pos_ = equals + 1;
        Entry entry{ReadFields(start), start};
        // The first definition counts; a repeated keyword cannot take another's place.
        sections_[current_].try_emplace(key, std::move(entry));
    }

    // Fields separated by commas, up to the ';' that ends the entry; blanks, line breaks and comments between
    // them do not count, and quoted text is taken as it stands.
    std::vector<Field> ReadFields(int start) {
        std::vector<Field> fields(1);
        while (true) {
            SkipBlanksAndComments();
            if (pos_ >= text_.size()) Fail(start, "the entry is not ended by ';'");
            const char c = text_[pos_];
            if (c == ';') {
                ++pos_;
                break;
            }
            if (c == ',') {
                fields.emplace_back();
                ++pos_;
            } else if (c == '"') {
                ReadQuoted(fields.back());
            } else if (c == '[' || c == '=') {
                Fail(start, "the entry is not ended by ';'");
            } else {
                ReadBare(fields.back(), start);
            }
        }
        return fields;
    }

    void ReadQuoted(Field& field) {
        const int start = line_;
        ++pos_;
        const size_t close = text_.find('"', pos_);
        if (close == std::string::npos) Fail(start, "a quoted text is not closed");
        for (size_t i = pos_; i < close; ++i) line_ += text_[i] == '\n' ? 1 : 0;
        field.text += text_.substr(pos_, close - pos_);  // adjacent quoted pieces run together
        field.quoted = true;
        pos_ = close + 1;
    }

    void ReadBare(Field& field, int start) {
        const size_t end = text_.find_first_of(",;$\"\n[=", pos_);
        // A keyword on a later line means the entry before it lacks its ';'.
        if (end != std::string::npos && text_[end] == '=') Fail(start, "the entry is not ended by ';'");
        if (!field.text.empty() || field.quoted) Fail(line_, "two values stand without a comma between them");
        field.text = Trim(text_.substr(pos_, end == std::string::npos ? std::string::npos : end - pos_));
        pos_ = end == std::string::npos ? text_.size() : end;
    }

    const std::string& text_;
    const EdsSections& file_;
    std::map<std::string, Section>& sections_;
    std::map<std::string, int>& headerLines_;
    size_t pos_ = 0;
    int line_ = 1;
    std::string current_;
};

}  // namespace

std::string Upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::toupper(c); });
    return text;
}

EdsSections::EdsSections(const std::string& text, std::string name) : name_(std::move(name)) {
    SectionReader reader(text, *this, sections_, headerLines_);
    reader.Parse();
    lastLine_ = reader.LastLine();
}

void EdsSections::Fail(int line, const std::string& what) const {
    throw EdsError(name_ + ", line " + std::to_string(line) + ": " + what);
}

const Section* EdsSections::Find(const std::string& section) const {
    const auto it = sections_.find(Upper(section));
    return it == sections_.end() ? nullptr : &it->second;
}

std::string ToUtf8(const std::string& text) {
    if (IsUtf8(text)) return text;
    std::string out;
    for (unsigned char c : text) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

// An unsigned number of the field, decimal or with a hexadecimal prefix.
std::optional<int32_t> Number(const Field& field) {
    if (field.quoted || field.text.empty() || field.text[0] == '-' || field.text[0] == '+') return std::nullopt;
    return ParseIntText(field.text);
}

}  // namespace tessara::documents::eds
