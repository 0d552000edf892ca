#include "image/node_table.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "documents/document_error.h"
#include "support/temp_dir.h"

using namespace tessara::documents;
using namespace tessara::image;

namespace {

std::string Row(const std::string& select) {
    return "<row Select=\"" + select + "\" Mnemonic=\"m\"/>";
}

TEST(NodeTable, SelectionsApplyByPositionWithinEachNodesByteCounts) {
    TempDir project;
    project.Write("DNET_Net.xml",
                  "<DNET_Net><row ID=\"5\" NB_IN=\"4\" NB_OUT=\"6\" Mnemonic=\"\"/>"
                  "<row ID=\"300\" NB_IN=\"70000\" NB_OUT=\"0\" Mnemonic=\"\"/>"
                  "<row ID=\"7\" NB_IN=\"2\" NB_OUT=\"0\" Mnemonic=\"\"/></DNET_Net>");
    // Node 1 lists ten input bytes but has four, and two output bytes of six; node 3 has no node element.
    std::string tenInputs;
    for (const char* s : {"Y", "y", "N", "yes", "Y", "Y", "Y", "Y", "Y", "Y"}) tenInputs += Row(s);
    project.Write("DefByte.xml", "<DefBytes><Nodo_DNET><ByteIN>" + tenInputs + "</ByteIN><ByteOUT>" + Row(" Y") +
                                     Row("") +
                                     "</ByteOUT></Nodo_DNET>"
                                     "<Nodo_DNET><ByteIN>" +
                                     Row("Y") + "</ByteIN><ByteOUT/></Nodo_DNET></DefBytes>");
    const NodeTable table = LoadNodeTable(project.path());
    ASSERT_EQ(table.size(), 3u);
    EXPECT_EQ(table[0].InSelect, (std::vector<bool>{true, true, false, false}));
    EXPECT_EQ(table[0].OutSelect, std::vector<bool>(6, false));
    EXPECT_EQ(table[1].ID, 44);
    EXPECT_EQ(table[1].NB_IN, 4464);
    ASSERT_EQ(table[1].InSelect.size(), 4464u);
    EXPECT_TRUE(table[1].InSelect[0]);
    EXPECT_FALSE(table[1].InSelect[1]);
    EXPECT_EQ(table[2].InSelect, (std::vector<bool>{false, false}));
}

TEST(NodeTable, MissingDocumentsGiveNoNodesOrNoSelections) {
    TempDir project;
    project.Write("DefByte.xml", "not even XML");
    EXPECT_TRUE(LoadNodeTable(project.path()).empty());

    // An empty network reads no selections, so a broken DefByte.xml does not matter either.
    project.Write("DNET_Net.xml", "<DNET_Net/>");
    EXPECT_TRUE(LoadNodeTable(project.path()).empty());

    project.Write("DNET_Net.xml", "<DNET_Net><row ID=\"1\" NB_IN=\"3\" NB_OUT=\"1\" Mnemonic=\"\"/></DNET_Net>");
    std::filesystem::remove(project.File("DefByte.xml"));
    const NodeTable table = LoadNodeTable(project.path());
    ASSERT_EQ(table.size(), 1u);
    EXPECT_EQ(table[0].InSelect, std::vector<bool>(3, false));
    EXPECT_EQ(table[0].OutSelect, std::vector<bool>(1, false));
}

TEST(NodeTable, ErrorsNameTheDocumentAndThePlace) {
    struct Case {
        const char* network;
        const char* selections;
        const char* document;
        const char* expected;
    };
    const char* twoNodes =
        "<DNET_Net><row ID=\"1\" NB_IN=\"2\" NB_OUT=\"1\" Mnemonic=\"\"/>"
        "<row ID=\"2\" NB_IN=\"0\" NB_OUT=\"0\" Mnemonic=\"\"/></DNET_Net>";
    const Case cases[] = {
        {"<DNET_Net><row ID=\"1\" NB_IN=\"0\" NB_OUT=\"0\"/><row NB_IN=\"0\" NB_OUT=\"0\"/></DNET_Net>", nullptr,
         "DNET_Net.xml", "node 2: Attribute \"ID\" is missing"},
        {"<DNET_Net><row ID=\"1\" NB_IN=\"4 \" NB_OUT=\"0\"/></DNET_Net>", nullptr, "DNET_Net.xml",
         "node 1: Attribute \"NB_IN\" of element \"row\": '4 ' is not a valid integer value"},
        {twoNodes, "<DefBytes><Nodo_DNET><ByteIN/><ByteOUT/></Nodo_DNET><Nodo_DNET><ByteIN/></Nodo_DNET></DefBytes>",
         "DefByte.xml", "node 2: Child 2 of element \"Nodo_DNET\" is missing"},
        {twoNodes, "<DefBytes><Nodo_DNET><ByteIN><row Select=\"Y\"/><row/></ByteIN><ByteOUT/></Nodo_DNET></DefBytes>",
         "DefByte.xml", "node 1: input byte 2: Attribute \"Select\" is missing"},
    };
    for (const Case& c : cases) {
        TempDir project;
        project.Write("DNET_Net.xml", c.network);
        if (c.selections) project.Write("DefByte.xml", c.selections);
        try {
            LoadNodeTable(project.path());
            ADD_FAILURE() << c.expected;
        } catch (const DocumentError& e) {
            const std::string message = e.what();
            EXPECT_NE(message.find(c.expected), std::string::npos) << message;
            // The file and the place are fields of their own, so no one has to find them in the message.
            EXPECT_EQ(e.File(), project.File(c.document));
            EXPECT_EQ(std::string(c.expected).rfind(e.Place() + ": " + e.Reason().substr(0, 9), 0), 0u) << e.Place();
        }
    }
}

TEST(NodeTable, DocumentThatIsNotXmlIsAParseError) {
    TempDir project;
    project.Write("DNET_Net.xml", "<DNET_Net><row ID=\"1\"</DNET_Net>");
    EXPECT_THROW(LoadNodeTable(project.path()), ParseError);
}

}  // namespace
