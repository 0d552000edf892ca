#include "documents/def_byte.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include "documents/document_error.h"
#include "support/temp_dir.h"

using namespace tessara::documents;

namespace {

using Selections = std::vector<char>;

std::string Row(const char* select, const std::string& mnemonic = "") {
    return "<row Select=\"" + std::string(select) + "\" Mnemonic=\"" + mnemonic + "\"/>";
}

// Written as the writer does: a group without rows is an empty element.
std::string Group(const std::string& name, const std::string& rows) {
    return rows.empty() ? "<" + name + "/>" : "<" + name + ">" + rows + "</" + name + ">";
}

std::string Node(const std::string& in, const std::string& out = "") {
    return "<Nodo_DNET>" + Group("ByteIN", in) + Group("ByteOUT", out) + "</Nodo_DNET>";
}

// A project folder holding the two documents; Read() loads them as the dialog does.
struct Project {
    TempDir dir;
    XmlDocument xml;

    void Network(const std::string& rows) { dir.Write("DNET_Net.xml", "<DNET_Net>" + rows + "</DNET_Net>"); }
    void Bytes(const std::string& nodes) { dir.Write("DefByte.xml", "<DefBytes>" + nodes + "</DefBytes>"); }
    std::string NetworkFile() const { return dir.File("DNET_Net.xml"); }
    std::string BytesFile() const { return dir.File("DefByte.xml"); }

    DefByteTable Read() {
        DefByteTable table;
        size_t nodesRead = 0;
        ReadDNetNodes(xml, NetworkFile(), table, nodesRead);
        EXPECT_EQ(nodesRead, table.size());
        ReadDefBytes(xml, BytesFile(), table);
        return table;
    }
};

std::string NetRow(int id, int in, int out, const std::string& mnemonic = "") {
    return "<row ID=\"" + std::to_string(id) + "\" NB_IN=\"" + std::to_string(in) + "\" NB_OUT=\"" +
           std::to_string(out) + "\" Mnemonic=\"" + mnemonic + "\"/>";
}

TEST(DefByte, ExampleListsNodesAndWritesTheDocumentExactly) {
    Project project;
    project.dir.Write("DNET_Net.xml", ReadFixture("defbyte_example/DNET_Net.xml"));
    DefByteTable table = project.Read();
    ASSERT_EQ(table.size(), 2u);
    EXPECT_EQ(NodeItemText(table[0]), "5 ;4 ;2 ;Valve 3");
    EXPECT_EQ(NodeItemText(table[1]), "12 ;10 ;0 ;");
    EXPECT_EQ(table[1].InSelect, Selections(10, 0));

    const std::string escaped = "A&B <\"q\"> \xC3\xA9";
    table[0].InSelect[0] = table[0].InSelect[2] = 1;
    table[0].InMnemonic[0] = escaped;
    table[0].OutSelect[1] = 1;
    table[0].OutMnemonic[1] = "Pump";
    SaveDefBytes(project.xml, project.BytesFile(), table);
    EXPECT_EQ(project.dir.Read("DefByte.xml"), ReadFixture("defbyte_example/DefByte.xml"));

    const DefByteTable back = project.Read();
    EXPECT_EQ(back[0].InSelect, Selections({1, 0, 1, 0}));
    EXPECT_EQ(back[0].InMnemonic[0], escaped);
    EXPECT_EQ(back[0].OutSelect, Selections({0, 1}));
    EXPECT_EQ(back[0].OutMnemonic[1], "Pump");
}

TEST(DefByte, HandEditedNumbersWrapToTheirFields) {
    Project project;
    project.dir.Write("DNET_Net.xml",
                      "<DNET_Net>\n  <row ID=\"300\" NB_IN=\"65537\" NB_OUT=\"$10\" Mnemonic=\"a\"/>\n"
                      "  <row ID=\"-1\" NB_IN=\" 3\" NB_OUT=\"65536\" Mnemonic=\"\"/>\n</DNET_Net>\n");
    const DefByteTable table = project.Read();
    ASSERT_EQ(table.size(), 2u);
    EXPECT_EQ(NodeItemText(table[0]), "44 ;1 ;16 ;a");
    EXPECT_EQ(NodeItemText(table[1]), "255 ;3 ;0 ;");
    EXPECT_EQ(table[0].InSelect.size(), 1u);
    EXPECT_EQ(table[0].OutMnemonic.size(), 16u);
    EXPECT_TRUE(table[1].OutSelect.empty());
}

TEST(DefByte, OnlyTheLetterYInEitherCaseSelectsAndIsWrittenBackUpperCase) {
    Project project;
    project.Network(NetRow(1, 6, 0));
    project.Bytes(Node(Row("Y") + Row("y") + Row("yes") + Row(" Y") + Row("") + Row("n")));
    const DefByteTable table = project.Read();
    EXPECT_EQ(table[0].InSelect, Selections({1, 1, 0, 0, 0, 0}));

    SaveDefBytes(project.xml, project.BytesFile(), table);
    EXPECT_EQ(project.dir.Read("DefByte.xml"),
              "<DefBytes>" + Node(Row("Y") + Row("Y") + Row("N") + Row("N") + Row("N") + Row("N")) + "</DefBytes>");
}

TEST(DefByte, SelectionsStayWithPositionsWhenANodeIsInserted) {
    Project project;
    project.Network(NetRow(1, 2, 0) + NetRow(2, 3, 1) + NetRow(3, 1, 0));
    project.Bytes(Node(Row("Y", "a1") + Row("N", "a2")) + Node(Row("Y", "b1") + Row("Y", "b2") + Row("N"), Row("Y")) +
                  Node(Row("Y", "c1")));
    // X goes in between A and B: it takes B's bytes as far as its counts reach, B takes C's, C gets nothing.
    project.Network(NetRow(1, 2, 0) + NetRow(9, 2, 2) + NetRow(2, 3, 1) + NetRow(3, 1, 0));
    const DefByteTable table = project.Read();
    ASSERT_EQ(table.size(), 4u);
    EXPECT_EQ(table[0].InSelect, Selections({1, 0}));
    EXPECT_EQ(table[1].InSelect, Selections({1, 1}));
    EXPECT_EQ(table[1].InMnemonic, (std::vector<std::string>{"b1", "b2"}));
    EXPECT_EQ(table[1].OutSelect, Selections({1, 0}));
    EXPECT_EQ(table[2].InSelect, Selections({1, 0, 0}));
    EXPECT_EQ(table[2].InMnemonic[0], "c1");
    EXPECT_EQ(table[3].InSelect, Selections({0}));
    EXPECT_EQ(table[3].InMnemonic[0], "");
}

TEST(DefByte, ByteCountChangesKeepTheLeadingBytes) {
    Project project;
    project.Bytes(Node(Row("Y", "1") + Row("N", "2") + Row("Y", "3") + Row("Y", "4") + Row("Y", "5") + Row("Y", "6")) +
                  Node(Row("Y")) + Node(Row("Y")));
    project.Network(NetRow(1, 8, 0));  // raised from 6: the extra nodes of the document are ignored too
    DefByteTable table = project.Read();
    EXPECT_EQ(table[0].InSelect, Selections({1, 0, 1, 1, 1, 1, 0, 0}));
    EXPECT_EQ(table[0].InMnemonic[5], "6");
    EXPECT_EQ(table[0].InMnemonic[6], "");

    project.Network(NetRow(1, 4, 0) + NetRow(2, 1, 0));  // lowered: bytes 5 and 6 go at the next write
    table = project.Read();
    SaveDefBytes(project.xml, project.BytesFile(), table);
    EXPECT_EQ(project.dir.Read("DefByte.xml"), "<DefBytes>" +
                                                   Node(Row("Y", "1") + Row("N", "2") + Row("Y", "3") + Row("Y", "4")) +
                                                   Node(Row("Y")) + "</DefBytes>");
}

TEST(DefByte, MissingDocumentsAreNoErrors) {
    Project project;
    DefByteTable table = project.Read();
    EXPECT_TRUE(table.empty());
    project.Bytes(Node(Row("Y")));
    SaveDefBytes(project.xml, project.BytesFile(), table);
    EXPECT_EQ(project.dir.Read("DefByte.xml"), "<DefBytes/>");

    project.Network(NetRow(1, 2, 1));
    std::remove(project.BytesFile().c_str());
    table = project.Read();
    EXPECT_EQ(table[0].InSelect, Selections({0, 0}));
    EXPECT_EQ(table[0].OutMnemonic, std::vector<std::string>{""});
}

struct NetworkFailure {
    std::string document;
    size_t length;     // the table keeps the root's child count once it was sized
    size_t nodesRead;  // entries completed before the failing one
    std::string message;
};

TEST(DefByte, NetworkErrorKeepsTheLengthAndOnlyTheCompletedEntries) {
    std::string largest;  // 65 nodes of the most bytes a node may have: one node past what the editor holds
    for (int i = 0; i < 65; ++i) largest += NetRow(i, 65535, 65535);
    const std::vector<NetworkFailure> cases = {
        {largest, 0, 0,
         "Node 65 brings the network to 8519550 bytes, more than the 8388480 of 64 nodes with 65535 input and 65535 "
         "output bytes"},
        {NetRow(1, 2, 1) + "<row ID=\"2\" NB_IN=\"1\"/>" + largest, 67, 1, "\"NB_OUT\" is missing"},
        {NetRow(1, 2, 1) + "<row ID=\"2\" NB_IN=\"1\"/>" + NetRow(3, 1, 1), 3, 1, "\"NB_OUT\" is missing"},
        {NetRow(1, 2, 1) + "<row ID=\"2\" NB_IN=\"1\" NB_OUT=\"1\"/>", 2, 1, "\"Mnemonic\" is missing"},
        {"<row ID=\"1\" NB_IN=\"ten\" NB_OUT=\"0\" Mnemonic=\"\"/>", 1, 0, "'ten' is not a valid integer value"},
        {NetRow(1, 2, 1) + "<row ID=\"2\"", 0, 0, "Line: 1"},
    };
    for (const NetworkFailure& failure : cases) {
        SCOPED_TRACE(failure.document);
        Project project;
        project.Network(failure.document);
        project.Bytes(Node(Row("Y") + Row("Y")));
        DefByteTable table(5);
        size_t nodesRead = 9;
        try {
            ReadDNetNodes(project.xml, project.NetworkFile(), table, nodesRead);
            ADD_FAILURE() << "no error";
        } catch (const std::runtime_error& e) {
            EXPECT_NE(std::string(e.what()).find(failure.message), std::string::npos) << e.what();
            EXPECT_NE(std::string(e.what()).find(project.NetworkFile()), std::string::npos) << e.what();
        }
        ASSERT_EQ(table.size(), failure.length);
        EXPECT_EQ(nodesRead, failure.nodesRead);
        for (size_t i = nodesRead; i < table.size(); ++i) {
            EXPECT_EQ(NodeItemText(table[i]), "0 ;0 ;0 ;");
            EXPECT_TRUE(table[i].InSelect.empty() && table[i].OutMnemonic.empty());
        }
        if (nodesRead > 0) {
            EXPECT_EQ(table[0].InSelect.size(), 2u);
        }
    }
}

TEST(DefByte, ByteDocumentErrorKeepsWhatWasRead) {
    Project project;
    project.Network(NetRow(1, 2, 1) + NetRow(2, 2, 1) + NetRow(3, 1, 0));
    project.Bytes(Node(Row("Y", "a"), Row("Y")) + "<Nodo_DNET><ByteIN>" + Row("Y", "b") + "</ByteIN></Nodo_DNET>" +
                  Node(Row("Y")));
    DefByteTable table;
    size_t nodesRead = 0;
    ReadDNetNodes(project.xml, project.NetworkFile(), table, nodesRead);
    EXPECT_THROW(
        {
            try {
                ReadDefBytes(project.xml, project.BytesFile(), table);
            } catch (const DocumentError& e) {
                EXPECT_NE(std::string(e.what()).find("Child 2 of element \"Nodo_DNET\""), std::string::npos);
                throw;
            }
        },
        DocumentError);
    EXPECT_EQ(table[0].OutSelect, Selections({1}));
    EXPECT_EQ(table[1].InSelect, Selections({1, 0}));
    EXPECT_EQ(table[1].InMnemonic[0], "b");
    EXPECT_EQ(table[1].OutSelect, Selections({0}));
    EXPECT_EQ(table[2].InSelect, Selections({0}));

    project.Bytes(Node(Row("Y") + "<row Select=\"Y\"/>"));
    EXPECT_THROW(ReadDefBytes(project.xml, project.BytesFile(), table), DocumentError);
}

TEST(DefByte, WriterRefusesArraysOutOfStepWithTheByteCount) {
    Project project;
    project.Bytes(Node(Row("Y")));
    DN_Nodo node;
    node.NB_IN = 2;
    node.InSelect = {1, 1};
    node.InMnemonic = {""};
    EXPECT_THROW(SaveDefBytes(project.xml, project.BytesFile(), {node}), std::logic_error);
    EXPECT_EQ(project.dir.Read("DefByte.xml"), "<DefBytes>" + Node(Row("Y")) + "</DefBytes>");
}

}  // namespace
