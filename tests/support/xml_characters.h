#pragma once

#include <string>
#include <string_view>

#include "base/utf8_text.h"

// Where `xml` holds something XML 1.0 does not allow in a document: a byte that is not UTF-8, a C0 control other
// than tab, line feed and carriage return, U+FFFE or U+FFFF, or a character reference (which the tool's writers
// never need, and which pugixml writes for a control character); npos when there is none.
inline size_t FirstCharacterXmlForbids(const std::string& xml) {
    if (const std::string valid = tessara::base::WellFormedUtf8(xml); valid != xml) {
        size_t at = 0;
        while (valid[at] == xml[at]) ++at;
        return at;
    }
    for (size_t at = 0; at < xml.size(); ++at) {
        const unsigned char c = static_cast<unsigned char>(xml[at]);
        const std::string_view next = std::string_view(xml).substr(at, 3);
        if ((c < 0x20 && c != '\t' && c != '\n' && c != '\r') || next == "\xEF\xBF\xBE" || next == "\xEF\xBF\xBF" ||
            next.substr(0, 2) == "&#") {
            return at;
        }
    }
    return std::string::npos;
}
