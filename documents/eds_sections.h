#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace tessara::documents::eds {

// One value of an entry: bare text, blanks trimmed, or quoted text as it stands.
struct Field {
    std::string text;
    bool quoted = false;
};

// "Keyword = field, field, ...;" and the line it starts on.
struct Entry {
    std::vector<Field> fields;
    int line = 0;
};

// Keyword and section names are compared without regard to case, as device makers spell them variously: they
// are kept in upper case.
using Section = std::map<std::string, Entry>;

// Keywords and section names as they are kept and looked up.
std::string Upper(std::string text);

// The sections of an EDS file and their entries, the first definition of a keyword counting; comments ('$' to the
// end of the line) and line breaks between fields do not count.
class EdsSections {
public:
    // Reads the text; `name` stands for the file in messages. Throws EdsError where the text is not sections of
    // entries.
    EdsSections(const std::string& text, std::string name);

    // Throws EdsError "<name>, line <line>: <what>".
    [[noreturn]] void Fail(int line, const std::string& what) const;
    // The section of that name, in any case, or null.
    const Section* Find(const std::string& section) const;
    int HeaderLine(const std::string& section) const { return headerLines_.at(Upper(section)); }
    int LastLine() const { return lastLine_; }

private:
    std::string name_;
    int lastLine_ = 1;
    std::map<std::string, Section> sections_;
    std::map<std::string, int> headerLines_;
};

// Text of the file as UTF-8: text that is not UTF-8 already is taken as Latin-1.
std::string ToUtf8(const std::string& text);

// An unsigned number of the field, decimal or with a hexadecimal prefix; none for anything else.
std::optional<int32_t> Number(const Field& field);

}  // namespace tessara::documents::eds
