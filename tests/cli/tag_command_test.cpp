#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/file_system.h"
#include "support/command_runner.h"
#include "support/temp_dir.h"

namespace {

using Outcome = CommandOutcome;

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// The documents of the typed tags' fixture without its tags: node 1 (4 input, 2 output bytes selected), node 2
// (65 of 66 input bytes, byte 63 left out, bytes 61 on in the second slot; 2 output bytes, the second past the
// output area of 3).
class TagCommandTest : public ::testing::Test {
protected:
    TempDir project;

    void SetUp() override {
        for (const char* name : {"pargen.xml", "DNET_Net.xml", "DefByte.xml"})
            project.Write(name, ReadFixture(std::string("check_typed_tags/") + name));
    }
    Outcome Add(const std::string& name, const std::string& node, const char* direction, const std::string& byte,
                const std::string& type, std::vector<std::string> more = {}) {
        std::vector<std::string> args = {"tag",    "add", project.path(), "--node", node,     direction,
                                         "--byte", byte,  "--type",       type,     "--name", name};
        args.insert(args.end(), more.begin(), more.end());
        return Tessara(args);
    }
    std::string PlcMap() const { return project.Read("PlcMap.xml"); }
};

TEST_F(TagCommandTest, AddListAndRemove) {
    const Outcome speed = Add("Speed", "1", "--input", "3", "int");
    EXPECT_EQ(speed.status, 0) << speed.err;
    EXPECT_EQ(speed.out,
              "Speed: INT at IW 2 (node 1 byte 3 of the input area, little-endian; the PLC reads big-endian, so "
              "swap)\n");
    const Outcome command = Add("Command", "1", "--output", "1", "WORD", {"--byte-order", "big"});
    EXPECT_EQ(command.out,
              "Command: WORD at QW 0 (node 1 byte 1 of the output area, big-endian, as the PLC reads it)\n");
    EXPECT_EQ(Add("Mode", "2", "--input", "5", "Byte").out, "Mode: BYTE at IB 8 (node 2 byte 5 of the input area)\n");
    EXPECT_EQ(PlcMap(),
              "<PlcMap><TypedTag Name=\"Speed\" Area=\"input\" Node=\"1\" Byte=\"3\" Type=\"INT\" "
              "ByteOrder=\"little\"/><TypedTag Name=\"Command\" Area=\"output\" Node=\"1\" Byte=\"1\" Type=\"WORD\" "
              "ByteOrder=\"big\"/><TypedTag Name=\"Mode\" Area=\"input\" Node=\"2\" Byte=\"5\" Type=\"BYTE\" "
              "ByteOrder=\"little\"/></PlcMap>");

    // A byte of a tag unselected since: the list says why it has no address.
    project.Write("PlcMap.xml", PlcMap().substr(0, PlcMap().size() - 9) +
                                    "<TypedTag Name=\"Gap\" Area=\"input\" Node=\"2\" Byte=\"62\" Type=\"INT\" "
                                    "ByteOrder=\"little\"/></PlcMap>");
    const Outcome text = Tessara({"tag", "list", project.path()});
    EXPECT_EQ(text.status, 0) << text.err;
    EXPECT_EQ(
        text.out,
        "The PLC reads big-endian.\n"
        "Name     Type  Size  Area    Node  Byte  Address  Byte order  Swap  Problem\n"
        "Speed    INT   2     input   1     3     IW 2     little      yes\n"
        "Command  WORD  2     output  1     1     QW 0     big         no\n"
        "Mode     BYTE  1     input   2     5     IB 8     little      no\n"
        "Gap      INT   2     input   2     62    -        little      yes   byte 63 of the node is not selected, "
        "so the 2 bytes of the INT are not consecutive in the area\n");
    const Outcome json = Tessara({"tag", "list", "--json", project.path()});
    EXPECT_EQ(json.status, 0) << json.err;
    EXPECT_EQ(json.out,
              "{\"plcByteOrder\":\"big\",\"tags\":["
              "{\"name\":\"Speed\",\"type\":\"INT\",\"size\":2,\"area\":\"input\",\"node\":1,\"byte\":3,\"address\":2,"
              "\"byteOrder\":\"little\",\"swap\":true,\"problem\":null},"
              "{\"name\":\"Command\",\"type\":\"WORD\",\"size\":2,\"area\":\"output\",\"node\":1,\"byte\":1,"
              "\"address\":0,\"byteOrder\":\"big\",\"swap\":false,\"problem\":null},"
              "{\"name\":\"Mode\",\"type\":\"BYTE\",\"size\":1,\"area\":\"input\",\"node\":2,\"byte\":5,\"address\":8,"
              "\"byteOrder\":\"little\",\"swap\":false,\"problem\":null},"
              "{\"name\":\"Gap\",\"type\":\"INT\",\"size\":2,\"area\":\"input\",\"node\":2,\"byte\":62,"
              "\"address\":null,\"byteOrder\":\"little\",\"swap\":true,\"problem\":\"byte 63 of the node is not "
              "selected, so the 2 bytes of the INT are not consecutive in the area\"}]}\n");

    const Outcome removed = Tessara({"tag", "remove", project.path(), "SPEED"});
    EXPECT_EQ(removed.status, 0) << removed.err;
    EXPECT_EQ(removed.out, "Removed Speed (INT, node 1 byte 3 of the input area)\n");
    const Outcome again = Tessara({"tag", "remove", project.path(), "Speed"});
    EXPECT_EQ(again.status, 1);
    EXPECT_EQ(again.err, "tessara tag remove: PlcMap.xml has no typed tag named \"Speed\"\n");
    EXPECT_FALSE(Contains(PlcMap(), "Speed"));
    EXPECT_TRUE(Contains(PlcMap(), "Command"));
}

// The PLC's byte order of the project decides the swap; a project without tags says so.
TEST_F(TagCommandTest, TheSwapFollowsThePlcByteOrderOfTheProject) {
    EXPECT_EQ(Tessara({"tag", "list", project.path()}).out, "The PLC reads big-endian.\nNo typed tags.\n");
    project.Write("PlcMap.xml", "<PlcMap><Plc ByteOrder=\"little\"/></PlcMap>");
    EXPECT_EQ(Add("Speed", "1", "--input", "3", "INT").out,
              "Speed: INT at IW 2 (node 1 byte 3 of the input area, little-endian, as the PLC reads it)\n");
    EXPECT_TRUE(Contains(Tessara({"tag", "list", "--json", project.path()}).out,
                         "{\"plcByteOrder\":\"little\",\"tags\":[{\"name\":\"Speed\""));
}

// Each refusal of "Make tag..." refuses the command too, with the same reason, and nothing is written.
TEST_F(TagCommandTest, ATagThatCannotBeMadeIsRefusedWithItsReason) {
    ASSERT_EQ(Add("Status", "1", "--input", "1", "WORD").status, 0);
    const std::string kept = PlcMap();
    const struct {
        Outcome outcome;
        const char* reason;
    } cases[] = {
        {Add("Gap", "2", "--input", "62", "INT"),
         "The tag Gap (INT, node 2 byte 62 of the input area) cannot be made: byte 63 of the node is not selected, so "
         "the 2 bytes of the INT are not consecutive in the area"},
        {Add("Level", "2", "--input", "60", "INT"),
         "The tag Level (INT, node 2 byte 60 of the input area) cannot be made: its bytes lie in slots 1 and 2, which "
         "the master may place apart"},
        {Add("Out", "2", "--output", "1", "WORD"),
         "The tag Out (WORD, node 2 byte 1 of the output area) cannot be made: its bytes do not all fit: past the 3 "
         "bytes of pargen.xml"},
        {Add("Over", "1", "--input", "2", "INT"),
         "The tag Over (INT, node 1 byte 2 of the input area) cannot be made: it shares bytes with Status (WORD, "
         "node 1 byte 1 of the input area)"},
        {Add("STATUS", "1", "--input", "3", "INT"),
         "The tag STATUS (INT, node 1 byte 3 of the input area) cannot be made: its name is taken by Status (WORD, "
         "node 1 byte 1 of the input area)"},
        {Add("Speed ref", "1", "--input", "3", "INT"),
         "The tag Speed ref (INT, node 1 byte 3 of the input area) cannot be made: \"Speed ref\" is not an IEC "
         "61131-3 name: letters and digits with single underscores between them, a letter first"},
        {Add("Ghost", "9", "--input", "1", "BYTE"),
         "The tag Ghost (BYTE, node 9 byte 1 of the input area) cannot be made: the network has no node 9"},
        {Add("Far", "1", "--input", "70", "DINT"),
         "The tag Far (DINT, node 1 byte 70 of the input area) cannot be made: byte 70 is past the node's 4 input "
         "bytes"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.outcome.status, 1) << c.reason;
        EXPECT_EQ(c.outcome.out, "");
        EXPECT_EQ(c.outcome.err, std::string("tessara tag add: ") + c.reason + "\n");
    }
    EXPECT_EQ(PlcMap(), kept);
}

TEST_F(TagCommandTest, MalformedOptionsAreUsageErrors) {
    const std::string p = project.path();
    const struct {
        std::vector<std::string> args;
        const char* problem;
    } cases[] = {
        {{"tag", "add", p, "--node", "1", "--byte", "1", "--type", "INT", "--name", "A"},
         "tessara tag add: tag add takes --node, --byte, --type, --name and one of --input and --output"},
        {{"tag", "add", p, "--node", "1", "--input", "--output", "--byte", "1", "--type", "INT", "--name", "A"},
         "one of --input and --output"},
        {{"tag", "add", p, "--node", "1", "--input", "--byte", "1", "--type", "INT"}, "tag add takes --node"},
        {{"tag", "add", p, "--node", "0", "--input", "--byte", "1", "--type", "INT", "--name", "A"},
         "--node takes the node's position in DNET_Net.xml, from 1, not \"0\""},
        {{"tag", "add", p, "--node", "x", "--input", "--byte", "1", "--type", "INT", "--name", "A"},
         "--node takes the node's position in DNET_Net.xml, from 1, not \"x\""},
        {{"tag", "add", p, "--node", "1", "--input", "--byte", "-1", "--type", "INT", "--name", "A"},
         "--byte takes the node's first byte of the value, from 1, not \"-1\""},
        {{"tag", "add", p, "--node", "1", "--input", "--byte", "1", "--type", "FLOAT", "--name", "A"},
         "--type takes BYTE, WORD, INT, UINT, DWORD, DINT, UDINT, REAL, LWORD, LINT or LREAL, not \"FLOAT\""},
        {{"tag", "add", p, "--node", "1", "--input", "--byte", "1", "--type", "INT", "--name", "A", "--byte-order",
          "middle"},
         "--byte-order takes little or big, not \"middle\""},
        {{"tag", "add", "--json", p, "--node", "1", "--input", "--byte", "1", "--type", "INT", "--name", "A"},
         "tessara tag add: --json applies only to check, inspect, map and tag list"},
        {{"tag", "list", p, "--name", "A"},
         "tessara tag list: --node, --input, --output, --byte, --type, --name and --byte-order apply only to tag add"},
        {{"map", "--input", p}, "tessara map: --node, --input"},
        {{"tag", "remove", p}, "tessara tag remove: expected 2 arguments, got 1"},
        {{"tag"}, "tessara tag: expected add, list or remove\n"},
        {{"tag", "ad", p}, "tessara tag: unknown word \"ad\": expected add, list or remove (did you mean add?)\n"},
    };
    for (const auto& c : cases) {
        const Outcome outcome = Tessara(c.args);
        EXPECT_EQ(outcome.status, 2) << c.problem;
        EXPECT_TRUE(Contains(outcome.err, c.problem)) << outcome.err;
        EXPECT_TRUE(Contains(outcome.err, "tessara tag add PROJECT_DIR --node N")) << outcome.err;
    }
    EXPECT_FALSE(tessara::base::FileExists(project.File("PlcMap.xml")));
    const Outcome help = Tessara({"tag", "--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(Contains(help.out, "tessara tag remove PROJECT_DIR NAME")) << help.out;
}

// What cannot be read is refused, and left as it was: a PlcMap.xml that is not understood is never replaced, and
// documents that give no selections give no tag.
TEST_F(TagCommandTest, AProjectThatCannotBeReadIsRefusedAndLeftAsItWas) {
    const std::string unreadable =
        "<PlcMap><TypedTag Name=\"Speed\" Area=\"input\" Node=\"1\" Byte=\"3\" "
        "Type=\"FLOAT\" ByteOrder=\"little\"/></PlcMap>";
    project.Write("PlcMap.xml", unreadable);
    const std::vector<Outcome> refused = {
        Add("Status", "1", "--input", "1", "WORD"),
        Tessara({"tag", "remove", project.path(), "Speed"}),
        Tessara({"tag", "list", project.path()}),
    };
    for (const Outcome& outcome : refused) {
        EXPECT_EQ(outcome.status, 1);
        EXPECT_EQ(outcome.out, "");
        EXPECT_TRUE(Contains(outcome.err, "FLOAT")) << outcome.err;
    }
    EXPECT_EQ(PlcMap(), unreadable);

    project.Write("PlcMap.xml", "<PlcMap/>");
    project.Write("DefByte.xml", "<DefBytes><Nodo_DNET>");
    const Outcome broken = Add("Status", "1", "--input", "1", "WORD");
    EXPECT_EQ(broken.status, 1);
    EXPECT_TRUE(Contains(broken.err, "error\tDefByte.xml\t")) << broken.err;
    EXPECT_EQ(PlcMap(), "<PlcMap/>");

    TempDir parent;
    const Outcome missing = Tessara({"tag", "list", parent.File("gone")});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "Project folder \"" + parent.File("gone") + "\" does not exist\n");
}

}  // namespace
