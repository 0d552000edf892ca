#include "documents/xml_document.h"

#include <gtest/gtest.h>

#include "documents/document_error.h"
#include "support/temp_dir.h"

using namespace tessara::documents;

namespace {

TEST(XmlDocument, WritesCompactUtf8WithoutDeclarationAndAttributesInOrderSet) {
    TempDir dir;
    XmlDocument doc;
    doc.RemoveAllTopLevelNodes();
    pugi::xml_node root = doc.AddRoot("DNET_Net");
    pugi::xml_node row = AppendChild(root, "row");
    SetAttribute(row, "ID", "5");
    SetAttribute(row, "NB_IN", " 7");
    SetAttribute(row, "Mnemonic", "A&B <\"x\"> \xC3\xA9");
    SetElementText(AppendChild(root, "Empty"), "");
    doc.SaveFile(dir.File("d.xml"));
    EXPECT_EQ(dir.Read("d.xml"),
              "<DNET_Net><row ID=\"5\" NB_IN=\" 7\" Mnemonic=\"A&amp;B &lt;&quot;x&quot;> \xC3\xA9\"/><Empty/>"
              "</DNET_Net>");

    XmlDocument back;
    back.LoadFile(dir.File("d.xml"));
    pugi::xml_node readRow = ChildAt(back.FirstTopLevelNode(), 0);
    EXPECT_EQ(AttrToText(readRow, "Mnemonic"), "A&B <\"x\"> \xC3\xA9");
    EXPECT_EQ(AttrToText(readRow, "NB_IN"), " 7");
    EXPECT_EQ(AttrToInt(readRow, "NB_IN"), 7);
}

TEST(XmlDocument, IndentedFileReadsLikeTheCompactOne) {
    XmlDocument doc;
    doc.LoadText("<Par_Gen>\r\n   <PROFI_ID> 20</PROFI_ID>\n\t<PROFI_BAUD/>\n</Par_Gen>\n", "pargen.xml");
    pugi::xml_node root = doc.FirstTopLevelNode();
    EXPECT_EQ(ChildCount(root), 2u);
    EXPECT_EQ(ElementText(RequireChild(root, "PROFI_ID")), " 20");
    EXPECT_EQ(ElementText(RequireChild(root, "PROFI_BAUD")), "");
}

std::string Repeated(const std::string& text, int times) {
    std::string repeated;
    for (int i = 0; i < times; ++i) repeated += text;
    return repeated;
}

// Characters, not bytes: a letter of two, three or four bytes at the cut is quoted whole or not at all.
TEST(XmlDocument, ParseErrorGivesReasonLineAndFirstFortyCharacters) {
    const std::string ascii39 = "<b>012345678901234567890123456789012345";
    const std::string e = "\xC3\xA9";
    const struct {
        const char* name;
        std::string line3;
        std::string quoted;
    } cases[] = {
        {"ASCII", ascii39 + "6789-tail</c>", ascii39 + "6"},
        {"two-byte letters", "<b>" + Repeated(e, 40) + "</c>", "<b>" + Repeated(e, 37)},
        {"a three-byte letter as the 40th", ascii39 + "\xE2\x82\xAC" + "tail</c>", ascii39 + "\xE2\x82\xAC"},
        {"a four-byte letter as the 41st", ascii39 + "6\xF0\x9F\x98\x80</c>", ascii39 + "6"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        XmlDocument doc;
        try {
            doc.LoadText("<a>\r\n<x/>\r\n" + c.line3 + "\r\n</a>", "f.xml");
            ADD_FAILURE() << "no parse error";
        } catch (const ParseError& error) {
            const std::string text = error.what();
            const auto first = text.find("\r\n");
            ASSERT_NE(first, std::string::npos);
            EXPECT_EQ(text.substr(first), "\r\nLine: 3\r\n" + c.quoted);
            EXPECT_NE(text.find("f.xml"), std::string::npos);
        }
    }
}

TEST(XmlDocument, MissingPiecesAreErrorsThatNameThem) {
    XmlDocument doc;
    doc.LoadText("<r><row ID=\"\"/><t><x/></t></r>", "d.xml");
    pugi::xml_node root = doc.FirstTopLevelNode();
    pugi::xml_node row = ChildAt(root, 0);
    EXPECT_EQ(AttrToText(row, "ID"), "");  // present but empty is not absent
    EXPECT_THROW(AttrToInt(row, "ID"), DocumentError);
    try {
        AttrToText(row, "NB_IN");
        FAIL();
    } catch (const DocumentError& e) {
        EXPECT_STREQ(e.what(), "Attribute \"NB_IN\" is missing in element \"row\"");
    }
    try {
        RequireChild(root, "PROFI_ID");
        FAIL();
    } catch (const DocumentError& e) {
        EXPECT_STREQ(e.what(), "Element \"PROFI_ID\" is missing in element \"r\"");
    }
    EXPECT_THROW(ChildAt(root, 2), DocumentError);
    try {
        ElementText(ChildAt(root, 1));
        FAIL();
    } catch (const DocumentError& e) {
        EXPECT_STREQ(e.what(), "Element does not contain a single text node");
    }
}

TEST(XmlDocument, RewriteDropsCommentsAndUnknownContent) {
    TempDir dir;
    XmlDocument doc;
    doc.LoadText("<?xml version=\"1.0\"?><!-- note --><Par_Gen><Extra a=\"1\"/></Par_Gen>", "p.xml");
    EXPECT_STREQ(doc.FirstTopLevelNode().name(), "Par_Gen");
    doc.RemoveAllTopLevelNodes();
    SetElementText(AppendChild(doc.AddRoot("Par_Gen"), "PROFI_ID"), "20");
    EXPECT_EQ(doc.SaveText(), "<Par_Gen><PROFI_ID>20</PROFI_ID></Par_Gen>");
}

TEST(XmlDocument, ActivateAndDeactivateNeverTouchTheFile) {
    TempDir dir;
    const std::string path = dir.Write("pargen.xml", "<Par_Gen><PROFI_ID>20</PROFI_ID></Par_Gen>");
    XmlDocument doc;
    EXPECT_FALSE(doc.IsActive());
    doc.Activate();
    EXPECT_TRUE(doc.IsActive());
    EXPECT_FALSE(doc.FirstTopLevelNode());  // an empty tree
    doc.LoadFile(path);
    doc.Activate();  // no effect on an active object
    EXPECT_STREQ(doc.FirstTopLevelNode().name(), "Par_Gen");
    SetElementText(RequireChild(doc.FirstTopLevelNode(), "PROFI_ID"), "99");
    doc.Deactivate();
    EXPECT_FALSE(doc.IsActive());
    EXPECT_FALSE(doc.FirstTopLevelNode());
    EXPECT_EQ(dir.Read("pargen.xml"), "<Par_Gen><PROFI_ID>20</PROFI_ID></Par_Gen>");
}

TEST(XmlDocument, FailedSaveLeavesThePreviousFileAndNamesThePath) {
    TempDir dir;
    const std::string target = dir.Write("sub/d.xml", "<old/>");
    XmlDocument doc;
    doc.AddRoot("new");
    // A directory in the way of the temporary file's rename target makes the save fail after writing.
    const std::string blocked = dir.MakeDir("blocked.xml");
    try {
        doc.SaveFile(blocked);
        FAIL() << "save into a directory succeeded";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find(blocked), std::string::npos);
    }
    EXPECT_THROW(doc.SaveFile(dir.File("missing/d.xml")), std::runtime_error);
    EXPECT_EQ(dir.Read("sub/d.xml"), "<old/>");
}

}  // namespace
