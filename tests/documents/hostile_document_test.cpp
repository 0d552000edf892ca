#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "base/file_system.h"
#include "documents/comm_settings.h"
#include "documents/def_byte.h"
#include "documents/dnet_network.h"
#include "documents/document_error.h"
#include "documents/profibus_areas.h"
#include "documents/xml_document.h"
#include "image/bank_image.h"
#include "support/hostile_text.h"
#include "support/temp_dir.h"

using namespace tessara::documents;
using namespace tessara::image;

namespace {

using ::testing::HasSubstr;

const std::string kPargenWithIdReference =
    "<Par_Gen><PROFI_ID>&l9;</PROFI_ID><PROFI_BAUD>1</PROFI_BAUD><PROFI_NB_IN>1</PROFI_NB_IN>"
    "<PROFI_NB_OUT>1</PROFI_NB_OUT><DNET_DEV_ID>1</DNET_DEV_ID><DNET_BAUD>1</DNET_BAUD></Par_Gen>";

std::string ParentOf(const std::string& path) {
    return path.substr(0, path.find_last_of({tessara::base::kPathSeparator, tessara::base::kOtherPathSeparator}));
}

std::string ErrorOf(const std::function<void()>& read) {
    try {
        read();
    } catch (const std::exception& e) {
        return e.what();
    }
    return "no error";
}

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

// A reference to an entity of the document's own DOCTYPE stays the text it is, in every reader: nothing is
// expanded, so the bomb costs its own few hundred bytes, and a count written as a reference is not a number.
TEST(HostileDocument, EntityReferencesAreNeverExpanded) {
    struct Case {
        const char* reader;
        const char* file;
        std::string body;
        std::function<std::string(const std::string& path)> read;  // the value read, or what was thrown
        std::string expected;
    };
    const Case cases[] = {
        {"element text", "r.xml", "<r><PROFI_ID>&l9;</PROFI_ID></r>",
         [](const std::string& path) {
             XmlDocument doc;
             doc.LoadFile(path);
             return ElementText(RequireChild(doc.FirstTopLevelNode(), "PROFI_ID"));
         },
         "&l9;"},
        {"attribute", "r.xml", "<r v=\"&l9;\"/>",
         [](const std::string& path) {
             XmlDocument doc;
             doc.LoadFile(path);
             return AttrToText(doc.FirstTopLevelNode(), "v");
         },
         "&l9;"},
        {"communication settings", "pargen.xml", kPargenWithIdReference,
         [](const std::string& path) {
             CommSettings settings;
             LoadCommSettings(path, settings);
             return settings.ProfiId;
         },
         "&l9;"},
        {"network", "DNET_Net.xml", "<DNET_Net><row ID=\"1\" NB_IN=\"1\" NB_OUT=\"1\" Mnemonic=\"&l9;\"/></DNET_Net>",
         [](const std::string& path) {
             DNetRows rows;
             LoadDNetNetwork(path, rows);
             return rows[0].Mnemonic;
         },
         "&l9;"},
        {"byte editor's nodes", "DNET_Net.xml",
         "<DNET_Net><row ID=\"&l9;\" NB_IN=\"1\" NB_OUT=\"1\" Mnemonic=\"\"/></DNET_Net>",
         [](const std::string& path) {
             return ErrorOf([&] {
                 XmlDocument xml;
                 DefByteTable table;
                 size_t nodesRead = 0;
                 ReadDNetNodes(xml, path, table, nodesRead);
             });
         },
         "Attribute \"ID\" of element \"row\": '&l9;' is not a valid integer value"},
        {"configuration image", "pargen.xml", kPargenWithIdReference,
         [](const std::string& path) { return ErrorOf([&] { BuildBankImage(ParentOf(path)); }); },
         "Element \"PROFI_ID\": '&l9;' is not a valid integer value"},
        {"GSD sizes", "pargen.xml", "<Par_Gen><PROFI_NB_IN>&l9;</PROFI_NB_IN><PROFI_NB_OUT>3</PROFI_NB_OUT></Par_Gen>",
         [](const std::string& path) {
             const ProfibusAreas sizes = ReadProfibusAreas(ParentOf(path));
             return std::to_string(sizes.NbIn) + "/" + std::to_string(sizes.NbOut);
         },
         "0/3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reader);
        TempDir dir;
        EXPECT_THAT(c.read(dir.Write(c.file, EntityBomb(c.body))), HasSubstr(c.expected));
    }
}

TEST(HostileDocument, NulByteGivesAParseError) {
    XmlDocument doc;
    EXPECT_THROW(doc.LoadText(std::string("<Par_Gen><PROFI_ID>2\0</PROFI_ID></Par_Gen>", 43), "nul.xml"), ParseError);
    EXPECT_THROW(doc.LoadText(std::string("\0\0\0", 3), "zeros.xml"), ParseError);
}

// The parser reads a text in memory as it reads the file: the fuzzers read from memory what the tool reads from
// disk. A NUL inside a tag is where they once parted, when the file ends in ">".
TEST(HostileDocument, TextInMemoryReadsAsTheSameFile) {
    using namespace std::string_literals;
    const auto outcome = [](auto load) -> std::string {
        XmlDocument doc;
        try {
            load(doc);
        } catch (const ParseError& e) {
            return e.what();
        }
        return doc.SaveText();
    };
    for (const std::string& text : {"<DNET_Net><row ID=\"5\"/\0\0<row ID=\"6\"/></DNET_Net>"s, "<DNET_Net/\0>"s,
                                    "<a>\0</a>"s, "<a/>\0<b/>"s, "<a x=\"1\0\"/>"s}) {
        SCOPED_TRACE(testing::PrintToString(text));
        TempDir dir;
        const std::string path = dir.Write("DNET_Net.xml", text);
        EXPECT_EQ(outcome([&](XmlDocument& doc) { doc.LoadText(text, path); }),
                  outcome([&](XmlDocument& doc) { doc.LoadFile(path); }));
    }
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
