#include "check/findings_text.h"

#include <gtest/gtest.h>

#include "base/utf8_text.h"

using namespace tessara::check;

namespace {

TEST(FindingsText, ControlCharactersOfDocumentsAreShownAsEscapes) {
    const struct {
        std::string text;
        std::string shown;
    } cases[] = {
        {"ID \x1b]2;title\a\x1b[2J", "ID \\x1b]2;title\\x07\\x1b[2J"},
        {"a\tb", "a\\x09b"},
        {"Line: 1\r\n<DNET_Net>\rx\ny", "Line: 1 <DNET_Net> x y"},
        {"\x7f", "\\x7f"},
        {"C1 \xC2\x9B"
         "31m, a lone \x9b",
         "C1 \\x9b31m, a lone \\x9b"},
        {"Pr\xC3\xBC"
         "f \xC2\xA0 \xE2\x80\x8B \xE2\x80\xAF \xFC",
         "Pr\xC3\xBC"
         "f \xC2\xA0 \xE2\x80\x8B \xE2\x80\xAF \xEF\xBF\xBD"},
        {"ID \xE2\x80\xAE"
         "21 \xE2\x81\xA6x\xE2\x81\xA9 \xD8\x9C \xE2\x80\x8F",
         "ID \\u202e21 \\u2066x\\u2069 \\u061c \\u200f"},
        {"\xEF\xBF\xBE \xEF\xBF\xBF \xEF\xBF\xBD", "\\ufffe \\uffff \xEF\xBF\xBD"},
        {"cut \xC2", "cut \xEF\xBF\xBD"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.shown);
        EXPECT_EQ(tessara::base::ShownAsText(c.text), c.shown);
    }
}

TEST(FindingsText, PlaceAndTextOfAFindingStayInTheirFields) {
    const Finding finding{Severity::Error, "node 1 (\tID)", "Mnemonic \x1b[2J\tx"};
    EXPECT_EQ(FindingLine(finding), "error\tnode 1 (\\x09ID)\tMnemonic \\x1b[2J\\x09x");
}

}  // namespace
