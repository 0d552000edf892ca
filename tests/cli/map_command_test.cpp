#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/command_runner.h"
#include "support/temp_dir.h"

namespace {

using Outcome = CommandOutcome;

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST(MapCommand, PrintsTheMapOfTheWorkedExampleInEveryFormat) {
    const std::string project = FixturePath("image_worked_example");
    const struct {
        const char* option;
        const char* line;
    } cases[] = {
        {nullptr,
         "IB 20       1       4     2  12  Conveyor drive     9            N12_I9    BYTE     1               yes\n"},
        {"--json", "{\"offset\":4,\"slot\":1,\"slotOffset\":4,\"address\":20,\"node\":2,\"id\":12,"},
        {"--csv", "output,0,2,0,7,1,5,Valve 3,2,Command,Command,BYTE,1,,false,true,\r\n"},
        {"--sdf", "\"Command                 \",\"QB 7        \",\"BYTE      \",\"Valve 3, node 1 (ID 5) byte 2 "},
        {"--plcopen", "<variable name=\"N12_I9\" address=\"%IB20\">"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = {"map", project, "--input-start", "16", "--output-start", "7"};
        if (c.option) args.insert(args.begin() + 1, c.option);
        const Outcome outcome = Tessara(args);
        EXPECT_EQ(outcome.status, 0) << outcome.err;
        EXPECT_EQ(outcome.err, "");
        EXPECT_TRUE(Contains(outcome.out, c.line)) << (c.option ? c.option : "text") << "\n" << outcome.out;
    }
}

// Bytes past an area are listed, with no address, and the command fails after writing.
TEST(MapCommand, BytesBeyondTheAreaAreListedAndFailTheCommand) {
    const std::string project = FixturePath("check_overflow");
    const Outcome text = Tessara({"map", project});
    EXPECT_EQ(text.status, 1);
    EXPECT_TRUE(
        Contains(text.out,
                 "-           -       3     2   7  Drive             1  Speed           Speed         BYTE     1       "
                 "        no: past the 3 bytes of pargen.xml\n"))
        << text.out;
    EXPECT_EQ(text.err,
              "tessara map: 2 of 6 selected bytes do not fit the PROFIBUS areas (of pargen.xml, or the device's 128 "
              "bytes) and have no address\n");

    const Outcome sdf = Tessara({"map", "--sdf", project});
    EXPECT_EQ(sdf.status, 1);
    EXPECT_TRUE(Contains(sdf.out, "\"Status_alarm ")) << sdf.out;
    EXPECT_FALSE(Contains(sdf.out, "Speed")) << sdf.out;
    EXPECT_FALSE(Contains(sdf.out, "Setpoint")) << sdf.out;
}

// A map built from documents that could not be read, or past the PLC's addresses, would be wrong without a word.
TEST(MapCommand, WhatGivesNoMapIsSaidOnStandardError) {
    const Outcome unreadable = Tessara({"map", "--json", FixturePath("check_unreadable_network")});
    EXPECT_EQ(unreadable.status, 1);
    EXPECT_EQ(unreadable.out, "");
    EXPECT_TRUE(Contains(unreadable.err, "error\tDNET_Net.xml\t")) << unreadable.err;

    // The worked example's 5 input bytes from 65531 would end at 65535; from 65532 the last is past it.
    EXPECT_EQ(Tessara({"map", FixturePath("image_worked_example"), "--input-start", "65531"}).status, 0);
    const Outcome beyond = Tessara({"map", FixturePath("image_worked_example"), "--input-start", "65532"});
    EXPECT_EQ(beyond.status, 1);
    EXPECT_EQ(beyond.out, "");
    EXPECT_EQ(beyond.err,
              "tessara map: Slot 1 starting at 65532 puts byte 4 of the input area at 65536, past the last PLC "
              "byte address 65535\n");

    TempDir parent;
    const Outcome missing = Tessara({"map", parent.File("gone")});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "Project folder \"" + parent.File("gone") + "\" does not exist\n");
}

TEST(MapCommand, UsageErrorsGiveStatusTwo) {
    const struct {
        std::vector<std::string> args;
        const char* problem;
    } cases[] = {
        {{"map"}, "tessara map: expected 1 argument, got 0"},
        {{"map", "--json", "--plcopen", "p"}, "tessara map: choose one of --json, --csv, --sdf and --plcopen"},
        {{"map", "--input-start", "-1", "p"}, "--input-start takes a byte address from 0 to 65535, not \"-1\""},
        {{"map", "--output-start", "65536", "p"}, "--output-start takes a byte address from 0 to 65535, not \"65536\""},
        {{"map", "p", "--output-start"}, "--output-start takes a byte address from 0 to 65535, not \"\""},
        {{"check", "--csv", "p"},
         "tessara check: --csv, --sdf, --plcopen, --input-start, --output-start, --slot-start, --symbols, --bom, "
         "--against, --record, --plc-byte-order and --swap-pou apply only to map"},
        {{"map", "--plc-byte-order", "middle", "p"}, "--plc-byte-order takes big or little, not \"middle\""},
        {{"map", "--swap-pou", "p"}, "--swap-pou applies only to --plcopen"},
        {{"map", "--sdf", "--swap-pou", "p"}, "--swap-pou applies only to --plcopen"},
        {{"map", "--slot-start", "2", "p"}, "--slot-start takes SLOT=ADDRESS"},
        {{"map", "--slot-start", "0=5", "p"}, "--slot-start takes SLOT=ADDRESS"},
        {{"map", "--slot-start", "2=65536", "p"}, "--slot-start takes SLOT=ADDRESS"},
        {{"map", "--symbols", "tag", "p"}, "--symbols takes node or byte, not \"tag\""},
        {{"map", "--bom", "--json", "p"}, "--bom applies only to --csv"},
        {{"map", "--against", "old.json", "--sdf", "p"}, "--against takes the file of an earlier"},
    };
    for (const auto& c : cases) {
        const Outcome outcome = Tessara(c.args);
        EXPECT_EQ(outcome.status, 2) << c.problem;
        EXPECT_TRUE(Contains(outcome.err, c.problem)) << outcome.err;
        EXPECT_TRUE(Contains(outcome.err, "tessara map [--json | --csv [--bom] | --sdf | --plcopen]")) << outcome.err;
    }
}

// A project of one node that selects every byte of an input area of 100 and an output area of 70: two slots
// each way, byte k named In<k> / Out<k>.
void WriteSlotsProject(const TempDir& project, int areaIn = 100, int selectedIn = 100) {
    project.Write("pargen.xml", "<Par_Gen><PROFI_ID>3</PROFI_ID><PROFI_BAUD>10</PROFI_BAUD><PROFI_NB_IN>" +
                                    std::to_string(areaIn) +
                                    "</PROFI_NB_IN><PROFI_NB_OUT>70</PROFI_NB_OUT><DNET_DEV_ID>62</DNET_DEV_ID>"
                                    "<DNET_BAUD>2</DNET_BAUD></Par_Gen>");
    project.Write("DNET_Net.xml", "<DNET_Net><row ID=\"5\" NB_IN=\"" + std::to_string(selectedIn) +
                                      "\" NB_OUT=\"70\" Mnemonic=\"Valve\"/></DNET_Net>");
    std::string bytes = "<DefBytes><Nodo_DNET><ByteIN>";
    for (int k = 1; k <= selectedIn; ++k) bytes += "<row Select=\"Y\" Mnemonic=\"In" + std::to_string(k) + "\"/>";
    bytes += "</ByteIN><ByteOUT>";
    for (int k = 1; k <= 70; ++k) bytes += "<row Select=\"Y\" Mnemonic=\"Out" + std::to_string(k) + "\"/>";
    project.Write("DefByte.xml", bytes + "</ByteOUT></Nodo_DNET></DefBytes>");
}

// Slot 2 placed apart at 200 and slot 4 at 500: the bytes of those slots take their slot's start in every format.
TEST(MapCommand, SlotsPlacedApartGiveEveryByteItsSlotsAddressInEveryFormat) {
    TempDir project;
    WriteSlotsProject(project);
    const struct {
        const char* option;
        std::vector<const char*> lines;
    } cases[] = {
        {nullptr,
         {"IB 63       1      63     1   5  Valve            64  In64      In64    BYTE     1               yes\n",
          "IB 200      2      64     1   5  Valve            65  In65      In65    BYTE     1               yes\n",
          "IB 235      2      99     1   5  Valve           100  In100     In100   BYTE     1               yes\n",
          "QB 505      4      69     1   5  Valve            70  Out70     Out70   BYTE     1               yes\n",
          "Slot 2  input  36 bytes  from IB 200\n"}},
        {"--json",
         {"{\"offset\":64,\"slot\":2,\"slotOffset\":0,\"address\":200,",
          "{\"offset\":99,\"slot\":2,\"slotOffset\":35,"
          "\"address\":235,",
          "{\"offset\":69,\"slot\":4,\"slotOffset\":5,\"address\":505,"}},
        {"--csv",
         {"input,64,2,0,200,1,5,Valve,65,In65,In65,BYTE,1,,false,true,\r\n",
          "output,69,4,5,505,1,5,Valve,70,Out70,Out70,BYTE,1,,false,true,\r\n"}},
        {"--sdf", {"\"In65                    \",\"IB 200      \"", "\"Out70                   \",\"QB 505      \""}},
        {"--plcopen",
         {"<variable name=\"In65\" address=\"%IB200\">", "<variable name=\"In100\" address=\"%IB235\">",
          "<variable name=\"Out64\" address=\"%QB63\">", "<variable name=\"Out65\" address=\"%QB500\">"}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = {"map", project.path(), "--slot-start", "2=200", "--slot-start", "4=500"};
        if (c.option) args.insert(args.begin() + 1, c.option);
        const Outcome outcome = Tessara(args);
        EXPECT_EQ(outcome.status, 0) << outcome.err;
        for (const char* line : c.lines) {
            EXPECT_TRUE(Contains(outcome.out, line)) << (c.option ? c.option : "text") << ": " << line;
        }
    }
}

TEST(MapCommand, StartsThatOverlapOrReachPast65535AreRefusedByName) {
    TempDir project;
    WriteSlotsProject(project);
    const struct {
        std::vector<std::string> options;
        const char* message;
    } cases[] = {
        {{"--slot-start", "2=40"},
         "tessara map: The input slots overlap: slot 1 (IB 0 to 63) and slot 2 (IB 40 to 75)\n"},
        {{"--output-start", "10", "--slot-start", "4=70"},
         "tessara map: The output slots overlap: slot 3 (QB 10 to 73) and slot 4 (QB 70 to 75)\n"},
        {{"--slot-start", "2=65500"}, "tessara map: Slot 2 starting at 65500 puts byte 99 of the input area at 65535"},
        {{"--slot-start", "5=0"}, "tessara map: --slot-start 5=0: the project has slots 1 to 4\n"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = {"map", project.path()};
        args.insert(args.end(), c.options.begin(), c.options.end());
        const Outcome outcome = Tessara(args);
        if (std::string(c.message).find("65535") != std::string::npos) {
            EXPECT_EQ(outcome.status, 0) << outcome.err;  // byte 99 lands on 65535 itself
            args.back() = "2=65501";
            const Outcome past = Tessara(args);
            EXPECT_EQ(past.status, 1);
            EXPECT_TRUE(Contains(past.err, "at 65536, past the last PLC byte address 65535")) << past.err;
            continue;
        }
        EXPECT_EQ(outcome.status, 1);
        EXPECT_EQ(outcome.out, "");
        EXPECT_EQ(outcome.err, c.message);
    }
}

// Starts recorded in PlcMap.xml are read by every later command: map and report agree without options.
TEST(MapCommand, RecordedStartsReachLaterMapsAndTheReport) {
    TempDir project;
    WriteSlotsProject(project);
    const Outcome recorded = Tessara({"map", "--record", project.path(), "--slot-start", "2=200"});
    ASSERT_EQ(recorded.status, 0) << recorded.err;
    EXPECT_TRUE(Contains(project.Read("PlcMap.xml"), "<Slot Area=\"input\" Position=\"2\" Start=\"200\"/>"));
    EXPECT_TRUE(Contains(Tessara({"map", "--csv", project.path()}).out, "input,64,2,0,200,"));
    TempDir elsewhere;
    ASSERT_EQ(Tessara({"report", project.path(), elsewhere.File("report.html")}).status, 0);
    const std::string report = elsewhere.Read("report.html");
    EXPECT_TRUE(Contains(report, "<tr><td>IB 200</td><td class=\"n\">2</td>")) << report;
    // An option still wins over the stored start, for that command only.
    EXPECT_TRUE(Contains(Tessara({"map", "--csv", project.path(), "--slot-start", "2=300"}).out, "input,64,2,0,300,"));
    EXPECT_TRUE(Contains(Tessara({"map", "--csv", project.path()}).out, "input,64,2,0,200,"));
    // Starts edited by hand into an overlap: the check says so, the map refuses them.
    project.Write("PlcMap.xml", "<PlcMap><Slot Area=\"input\" Position=\"2\" Start=\"10\"/></PlcMap>");
    EXPECT_TRUE(
        Contains(Tessara({"check", project.path()}).out,
                 "warning\tPlcMap.xml\tThe input slots overlap: slot 1 (IB 0 to 63) and slot 2 (IB 10 to 45)\n"));
    EXPECT_EQ(Tessara({"map", project.path()}).status, 1);
}

// A count above the device's 128 bytes: the bytes past 128 have no address, and the map fails as the check does.
TEST(MapCommand, BytesPastTheDevicesAreaDoNotFit) {
    TempDir project;
    WriteSlotsProject(project, 200, 150);
    const Outcome map = Tessara({"map", project.path()});
    EXPECT_EQ(map.status, 1);
    EXPECT_TRUE(Contains(map.out, "IB 127      2     127")) << map.out;
    EXPECT_TRUE(Contains(map.out,
                         "-           -     128     1   5  Valve           129  In129     In129   BYTE     1       "
                         "        no: past the device's 128 bytes\n"))
        << map.out;
    EXPECT_TRUE(Contains(map.err, "22 of 220 selected bytes do not fit")) << map.err;
    EXPECT_EQ(Tessara({"check", project.path()}).status, 1);
}

// The byte counts stop the image before its selections are read; the map and the check still have them all
// (node 5 takes one input byte).
TEST(MapCommand, AnImageTooLargeStillGivesItsWholeMap) {
    TempDir project;
    for (const char* name : {"pargen.xml", "DNET_Net.xml"}) {
        project.Write(name, ReadFixture(std::string("check_image_too_large/") + name));
    }
    std::string bytes = "<DefBytes>";
    for (int node = 0; node < 5; ++node) {
        bytes +=
            "<Nodo_DNET><ByteIN><row Select=\"Y\" Mnemonic=\"a\"/><row Select=\"Y\" Mnemonic=\"\"/></ByteIN>"
            "<ByteOUT><row Select=\"Y\" Mnemonic=\"\"/></ByteOUT></Nodo_DNET>";
    }
    project.Write("DefByte.xml", bytes + "</DefBytes>");
    const Outcome map = Tessara({"map", "--csv", project.path()});
    EXPECT_EQ(map.status, 1);
    EXPECT_EQ(std::count(map.out.begin(), map.out.end(), '\n'), 1 + 9 + 5) << map.out;
    const Outcome check = Tessara({"check", "--json", project.path()});
    EXPECT_EQ(check.status, 1);
    EXPECT_TRUE(Contains(check.out, "\"input\":{\"selected\":9,")) << check.out;
    EXPECT_TRUE(Contains(check.out, "\"output\":{\"selected\":5,")) << check.out;
}

// Nodes reordered since an export: --against names every tag that moved, from the JSON or the CSV export, and
// the check warns once the export was recorded.
TEST(MapCommand, AgainstAnEarlierExportListsTheMovesOfAReorderedProject) {
    TempDir project;
    project.Write("pargen.xml", ReadFixture("image_worked_example/pargen.xml"));
    project.Write("DNET_Net.xml", ReadFixture("image_worked_example/DNET_Net.xml"));
    project.Write("DefByte.xml", ReadFixture("image_worked_example/DefByte.xml"));
    TempDir exports;
    exports.Write("old.json", Tessara({"map", "--json", project.path()}).out);
    exports.Write("old.csv", Tessara({"map", "--csv", "--bom", project.path()}).out);
    ASSERT_EQ(Tessara({"map", "--against", exports.File("old.json"), project.path()}).status, 0);
    ASSERT_EQ(Tessara({"map", "--record", "--sdf", project.path()}).status, 0);

    // The two nodes change places in both documents, as the network editor's reorder writes them.
    const auto swapped = [](const std::string& text, const std::string& open, const std::string& close) {
        const size_t first = text.find(open);
        const size_t second = text.find(open, first + 1);
        const size_t end = text.find(close, second);
        return text.substr(0, first) + text.substr(second, end - second) + text.substr(first, second - first) +
               text.substr(end);
    };
    project.Write("DNET_Net.xml", swapped(project.Read("DNET_Net.xml"), "<row", "</DNET_Net>"));
    project.Write("DefByte.xml", swapped(project.Read("DefByte.xml"), "<Nodo_DNET", "</DefBytes>"));
    for (const char* earlier : {"old.json", "old.csv"}) {
        const Outcome moves = Tessara({"map", project.path(), "--against", exports.File(earlier)});
        EXPECT_EQ(moves.status, 1) << earlier;
        EXPECT_EQ(moves.out, std::string("Compared with ") + exports.File(earlier) +
                                 ": 5 moved, 0 removed, 0 added\n"
                                 "moved    Position: IB 0 -> IB 3\n"
                                 "moved    Status: IB 1 -> IB 4\n"
                                 "moved    N12_I2: IB 2 -> IB 0\n"
                                 "moved    N12_I8: IB 3 -> IB 1\n"
                                 "moved    N12_I9: IB 4 -> IB 2\n")
            << earlier;
    }
    const Outcome check = Tessara({"check", project.path()});
    EXPECT_TRUE(Contains(check.out, "warning\tPlcMap.xml\t5 PLC addresses moved since tags were exported on "))
        << check.out;
    EXPECT_TRUE(Contains(check.out, ": Position: IB 0 -> IB 3; Status: IB 1 -> IB 4;")) << check.out;
}

TEST(MapCommand, AnEarlierExportThatIsNotOneIsRefused) {
    TempDir exports;
    const struct {
        const char* text;
        const char* message;
    } cases[] = {
        {"{\"input\":[{\"symbol\":\"A\",\"address\":3}", "byte 36: no ']'"},
        {"{\"input\":[{\"symbol\":\"A\",\"address\":70000}]}", "an address that is not from 0 to 65535"},
        {"{\"input\":[]} x", "text after the document"},
        {"area,symbol\r\ninput,A\r\n", "line 1: no column \"address\""},
        {"area,address,symbol\r\ninput,3\r\n", "line 2: a record of another length than the header"},
        {"area,address,symbol\r\ninput,\"3,A\r\n", "line 2: a quote left open"},
    };
    for (const auto& c : cases) {
        exports.Write("old", c.text);
        const Outcome outcome = Tessara({"map", FixturePath("image_worked_example"), "--against", exports.File("old")});
        EXPECT_EQ(outcome.status, 1) << c.text;
        EXPECT_TRUE(Contains(outcome.err, c.message)) << outcome.err;
    }
}

// A symbol of the earlier file is its own text: a control or a direction override in it is shown by its code.
TEST(MapCommand, AnEarlierExportsSymbolsAreShownAsText) {
    TempDir exports;
    exports.Write("old.csv",
                  "area,address,symbol\r\ninput,0,\x1b[2J\xE2\x80\xAE"
                  "A\r\n");
    const Outcome outcome = Tessara({"map", FixturePath("image_worked_example"), "--against", exports.File("old.csv")});
    EXPECT_TRUE(Contains(outcome.out, "removed  \\x1b[2J\\u202eA: IB 0 -> no address\n")) << outcome.out;
    EXPECT_FALSE(Contains(outcome.out, "\x1b")) << outcome.out;
}

// The image never reads PlcMap.xml, so a broken one is only a warning of the check; the map cannot guess the
// starts and refuses, saying why.
TEST(MapCommand, AnUnreadablePlcDocumentStopsTheMapButNotTheImage) {
    TempDir project;
    for (const char* name : {"pargen.xml", "DNET_Net.xml", "DefByte.xml"}) {
        project.Write(name, ReadFixture(std::string("image_worked_example/") + name));
    }
    project.Write("PlcMap.xml", "<PlcMap><Slot Area=\"input\" Position=\"1\" Start=\"x\"/></PlcMap>");
    const Outcome map = Tessara({"map", project.path()});
    EXPECT_EQ(map.status, 1);
    EXPECT_EQ(map.out, "");
    EXPECT_TRUE(Contains(map.err, "PlcMap.xml")) << map.err;
    EXPECT_TRUE(Contains(map.err, "'x' is not a valid integer value")) << map.err;
    const Outcome check = Tessara({"check", project.path()});
    EXPECT_EQ(check.status, 0) << check.out;
    EXPECT_TRUE(Contains(check.out, "warning\tPlcMap.xml\t")) << check.out;
    EXPECT_EQ(Tessara({"image", project.path()}).status, 0);
}

}  // namespace

namespace {

// A project folder holding a copy of a fixture's documents, for the commands that write PlcMap.xml.
void CopyFixture(const TempDir& project, const std::string& fixture) {
    for (const char* name : {"pargen.xml", "DNET_Net.xml", "DefByte.xml", "PlcMap.xml"})
        project.Write(name, ReadFixture(fixture + "/" + name));
}

// The worked example: a drive (node 1, ID 5) sends a status WORD in bytes 1-2 and an INT speed in bytes 3-4,
// least significant byte first; the PLC reads words most significant first, so both are swapped.
TEST(MapCommand, TheWorkedExamplesTypedTagsInEveryFormat) {
    const std::string project = FixturePath("typed_worked_example");
    const struct {
        std::vector<std::string> options;
        std::vector<std::string> lines;
    } cases[] = {
        {{},
         {"PLC byte order: big\n",
          "Address  Slot  Offset  Node  ID  Node mnemonic  Byte  Mnemonic  Symbol  Type  Size  Order   Swap  Fits\n"
          "IW 0        1       0     1   5  Drive           1-2  Status    Status  WORD     2  little  yes   yes\n"
          "IW 2        1       2     1   5  Drive           3-4  Speed     Speed   INT      2  little  yes   yes\n"}},
        {{"--json"},
         {"\"plcByteOrder\":\"big\",",
          "{\"offset\":2,\"slot\":1,\"slotOffset\":2,\"address\":2,\"node\":1,\"id\":5,\"nodeMnemonic\":\"Drive\","
          "\"byte\":3,\"mnemonic\":\"Speed\",\"symbol\":\"Speed\",\"type\":\"INT\",\"size\":2,\"byteOrder\":"
          "\"little\",\"swap\":true,\"fits\":true,\"reason\":null}],\"output\":[],\"unmadeTags\":[]}\n"}},
        {{"--csv"},
         {"area,offset,slot,slotOffset,address,node,id,nodeMnemonic,byte,mnemonic,symbol,type,size,byteOrder,swap,"
          "fits,reason\r\n"
          "input,0,1,0,0,1,5,Drive,1,Status,Status,WORD,2,little,true,true,\r\n"
          "input,2,1,2,2,1,5,Drive,3,Speed,Speed,INT,2,little,true,true,\r\n"}},
        {{"--sdf"},
         {"\"Status                  \",\"IW 0        \",\"WORD      \",\"swap bytes: Drive, node 1 (ID 5) bytes 1-2" +
          std::string(38, ' ') + "\"\r\n" +
          "\"Speed                   \",\"IW 2        \",\"INT       \",\"swap bytes: Drive, node 1 (ID 5) bytes 3-4" +
          std::string(38, ' ') + "\"\r\n"}},
        {{"--plcopen"},
         {"<pous />",
          "<variable name=\"Speed\" address=\"%IW2\">\n"
          "              <type>\n"
          "                <INT />\n"
          "              </type>\n"
          "              <documentation>\n"
          "                <xhtml:p>Speed: Drive, node 1 (ID 5) bytes 3-4 (the device sends its bytes little-endian: "
          "swap them)</xhtml:p>\n"}},
        {{"--plcopen", "--swap-pou"},
         {"<pou name=\"SwapTagBytes\" pouType=\"program\">",
          "Status := ROL(Status_RAW, 8);\nSpeed := WORD_TO_INT(ROL(Speed_RAW, 8));\n</xhtml:p>",
          "<variable name=\"Speed_RAW\" address=\"%IW2\">\n"
          "              <type>\n"
          "                <WORD />\n",
          "<variable name=\"Speed\">\n"
          "              <type>\n"
          "                <INT />\n"
          "              </type>\n"
          "              <documentation>\n"
          "                <xhtml:p>Speed: Drive, node 1 (ID 5) bytes 3-4 (swapped from Speed_RAW by "
          "SwapTagBytes)</xhtml:p>\n",
          "</globalVars>\n          <pouInstance name=\"SwapTags\" typeName=\"SwapTagBytes\" />\n"}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = {"map", project};
        args.insert(args.begin() + 1, c.options.begin(), c.options.end());
        const Outcome outcome = Tessara(args);
        const std::string format = c.options.empty() ? "text" : c.options.front();
        EXPECT_EQ(outcome.status, 0) << format << ": " << outcome.err;
        for (const std::string& line : c.lines)
            EXPECT_TRUE(Contains(outcome.out, line)) << format << "\n" << outcome.out;
    }
    // The SDF holds the two tags and nothing else.
    EXPECT_EQ(std::ranges::count(Tessara({"map", "--sdf", project}).out, '\n'), 2);
}

// The PLC's byte order is a choice of the run, or of PlcMap.xml once recorded; where it is the device's, no tag
// is swapped and the swap program has nothing to do.
TEST(MapCommand, PlcByteOrderDecidesTheSwapAndRecordKeepsIt) {
    TempDir project;
    CopyFixture(project, "typed_worked_example");
    const Outcome little = Tessara({"map", "--csv", project.path(), "--plc-byte-order", "little"});
    EXPECT_EQ(little.status, 0) << little.err;
    EXPECT_TRUE(Contains(little.out, "input,2,1,2,2,1,5,Drive,3,Speed,Speed,INT,2,little,false,true,\r\n"))
        << little.out;
    const Outcome plcopen = Tessara({"map", "--plcopen", "--swap-pou", "--plc-byte-order", "little", project.path()});
    EXPECT_TRUE(Contains(plcopen.out, "<pous />")) << plcopen.out;
    EXPECT_TRUE(Contains(plcopen.out, "<variable name=\"Speed\" address=\"%IW2\">")) << plcopen.out;
    EXPECT_FALSE(Contains(plcopen.out, "pouInstance")) << plcopen.out;
    EXPECT_TRUE(Contains(Tessara({"map", "--json", project.path()}).out, "\"plcByteOrder\":\"big\""));

    EXPECT_EQ(Tessara({"map", "--record", "--plc-byte-order", "little", project.path()}).status, 0);
    EXPECT_TRUE(Contains(project.Read("PlcMap.xml"), "<Plc ByteOrder=\"little\"/>")) << project.Read("PlcMap.xml");
    EXPECT_TRUE(Contains(Tessara({"map", "--json", project.path()}).out, "\"plcByteOrder\":\"little\""));
    EXPECT_TRUE(Contains(Tessara({"map", "--csv", project.path(), "--plc-byte-order", "big"}).out,
                         ",Speed,INT,2,little,true,true,"));
}

// A tag that is not one value leaves its bytes as rows of their own; it is named in the map and on standard
// error, and the command fails after writing.
TEST(MapCommand, TypedTagsNotUsedAreToldAndFailTheCommand) {
    TempDir project;
    CopyFixture(project, "typed_worked_example");
    project.Write("DefByte.xml",
                  "<DefBytes><Nodo_DNET><ByteIN><row Select=\"Y\" Mnemonic=\"Status\"/><row Select=\"Y\" "
                  "Mnemonic=\"\"/><row Select=\"Y\" Mnemonic=\"Speed\"/><row Select=\"N\" Mnemonic=\"\"/></ByteIN>"
                  "<ByteOUT/></Nodo_DNET></DefBytes>");
    const std::string reason =
        "byte 4 of the node is not selected, so the 2 bytes of the INT are not consecutive in the area";
    const Outcome text = Tessara({"map", project.path()});
    EXPECT_EQ(text.status, 1);
    EXPECT_EQ(text.err,
              "tessara map: typed tag Speed (INT, node 1 byte 3 of the input area) is not used: " + reason + "\n");
    EXPECT_TRUE(Contains(
        text.out,
        "IB 2        1       2     1   5  Drive             3  Speed     Speed   BYTE     1                yes\n"))
        << text.out;
    EXPECT_TRUE(Contains(text.out,
                         "\nTyped tags (their bytes are listed one by one)\nSpeed (INT, node 1 byte 3 of "
                         "the input area) is not used: " +
                             reason + "\n"))
        << text.out;
    const Outcome json = Tessara({"map", "--json", project.path()});
    EXPECT_EQ(json.status, 1);
    EXPECT_TRUE(Contains(json.out,
                         "\"unmadeTags\":[{\"name\":\"Speed\",\"area\":\"input\",\"node\":1,\"byte\":3,"
                         "\"type\":\"INT\",\"byteOrder\":\"little\",\"reason\":\"" +
                             reason + "\"}]}\n"))
        << json.out;
}

// STEP 7's classic symbol table has no unsigned or 8-byte types: UINT and UDINT go as WORD and DWORD with
// their type in the comment; 8-byte tags are left out, named on standard error, and fail the command.
TEST(MapCommand, TheSymbolTableWritesOnlyTypesStep7Knows) {
    const Outcome sdf = Tessara({"map", "--sdf", FixturePath("typed_all_types")});
    EXPECT_EQ(sdf.status, 1);
    EXPECT_EQ(sdf.err,
              "tessara map: Total (LINT at IL 16) is left out of the symbol table: STEP 7's has no 8-byte type\n"
              "tessara map: Energy (LREAL at IL 24) is left out of the symbol table: STEP 7's has no 8-byte type\n"
              "tessara map: Pattern (LREAL at QL 6) is left out of the symbol table: STEP 7's has no 8-byte type\n");
    for (const std::string line : {
             "\"Count                   \",\"ID 12       \",\"DWORD     \",\"UDINT, swap bytes: Drive, node 1 (ID 5) "
             "bytes 13-16",
             "\"Torque                  \",\"IW 32       \",\"WORD      \",\"UINT: Drive, node 1 (ID 5) bytes 33-34",
             "\"Flow                    \",\"ID 8        \",\"REAL      \",\"swap bytes:",
             "\"MaxFlow                 \",\"QD 2        \",\"REAL      \",\"swap bytes:",
         }) {
        EXPECT_TRUE(Contains(sdf.out, line)) << line << "\n" << sdf.out;
    }
    EXPECT_FALSE(Contains(sdf.out, "Total")) << sdf.out;
    EXPECT_EQ(Tessara({"map", "--plcopen", FixturePath("typed_all_types")}).status, 0);
}

}  // namespace
