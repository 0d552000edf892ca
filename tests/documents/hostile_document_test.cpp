#include <gtest/gtest.h>

#include "documents/document_error.h"
#include "documents/xml_document.h"
#include "support/temp_dir.h"

namespace {

// Project folders travel by e-mail and USB stick: whatever bytes arrive, loading gives a clear error or a
// correct tree, never a crash.

TEST(HostileDocument, HundredMegabytesLoad) {
    TempDir dir;
    std::string text = "<DNET_Net>";
    const std::string row = "<row ID=\"5\" NB_IN=\"4\" NB_OUT=\"2\" Mnemonic=\"Valve 3 on the long conveyor line\"/>";
    text.reserve(100u << 20);
    while (text.size() < (100u << 20)) text += row;
    text += "</DNET_Net>";
    dir.Write("DNET_Net.xml", text);
    text.clear();
    text.shrink_to_fit();

    XmlDocument doc;
    doc.LoadFile(dir.File("DNET_Net.xml"));
    pugi::xml_node root = doc.FirstTopLevelNode();
    EXPECT_GT(ChildCount(root), 1000000u);
    EXPECT_EQ(AttrToText(ChildAt(root, 0), "Mnemonic"), "Valve 3 on the long conveyor line");
}

TEST(HostileDocument, HundredThousandLevelsDeepLoadsAndSaves) {
    std::string text;
    for (int i = 0; i < 100000; ++i) text += "<a>";
    for (int i = 0; i < 100000; ++i) text += "</a>";
    XmlDocument doc;
    doc.LoadText(text, "deep.xml");
    EXPECT_STREQ(doc.FirstTopLevelNode().name(), "a");
    // Written back as 99 999 "<a>", one "<a/>" and 99 999 "</a>".
    EXPECT_EQ(doc.SaveText().size(), 99999u * 3 + 4 + 99999u * 4);
}

TEST(HostileDocument, EntityExpansionIsNeverPerformed) {
    std::string dtd = "<!DOCTYPE r [<!ENTITY l0 \"lol\">";
    for (int i = 1; i < 10; ++i) {
        dtd += "<!ENTITY l" + std::to_string(i) + " \"";
        for (int k = 0; k < 10; ++k) dtd += "&l" + std::to_string(i - 1) + ";";
        dtd += "\">";
    }
    XmlDocument doc;
    doc.LoadText(dtd + "]><r><PROFI_ID>&l9;</PROFI_ID></r>", "bomb.xml");
    EXPECT_EQ(ElementText(RequireChild(doc.FirstTopLevelNode(), "PROFI_ID")), "&l9;");
}

TEST(HostileDocument, NulByteGivesAParseError) {
    XmlDocument doc;
    EXPECT_THROW(doc.LoadText(std::string("<Par_Gen><PROFI_ID>2\0</PROFI_ID></Par_Gen>", 43), "nul.xml"), ParseError);
    EXPECT_THROW(doc.LoadText(std::string("\0\0\0", 3), "zeros.xml"), ParseError);
}

TEST(HostileDocument, Utf16WithByteOrderMarkLoadsCorrectly) {
    const std::string utf8 = "<r v=\"\xC3\xA9t\xC3\xA9\"/>";
    std::string utf16 = "\xFF\xFE";  // little-endian byte-order mark
    for (char c : std::string("<r v=\"")) utf16 += std::string{c, '\0'};
    utf16 += std::string("\xE9\0t\0\xE9\0", 6);
    for (char c : std::string("\"/>")) utf16 += std::string{c, '\0'};
    XmlDocument doc;
    doc.LoadText(utf16, "utf16.xml");
    EXPECT_EQ(AttrToText(doc.FirstTopLevelNode(), "v"), "\xC3\xA9t\xC3\xA9");
}

TEST(HostileDocument, TruncatedAndGarbageFilesGiveParseErrors) {
    XmlDocument doc;
    for (const char* text : {"", "<Par_Gen><PROFI_ID>20</PROFI", "<a></b>", "<a><b></a>", "garbage"}) {
        EXPECT_THROW(doc.LoadText(text, "bad.xml"), ParseError) << text;
    }
}

}  // namespace
