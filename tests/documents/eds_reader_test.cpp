#include "documents/eds_reader.h"

#include <gtest/gtest.h>

#include <random>

#include "support/temp_dir.h"

using namespace tessara::documents;

namespace {

TEST(EdsReader, GoodFileGivesThePolledSizesAndTheProductName) {
    const std::string path = FixturePath("eds_good/valve_block.eds");
    const EdsDevice device = ReadEdsFile(path);
    EXPECT_EQ(device.InputBytes, 6);   // PollInfo names Input2, not Input1
    EXPECT_EQ(device.OutputBytes, 4);  // a hexadecimal size
    EXPECT_EQ(device.ProdName, "Valve block VB-8");
}

// Each refusal names the file and the line where the reader gave up.
TEST(EdsReader, FixturesWithoutAUsablePolledConnectionAreRefused) {
    struct Case {
        const char* fixture;
        const char* where;
    };
    for (const Case& c : {Case{"eds_no_poll/strobe_sensor.eds", ", line 6: [IO_Info] has no PollInfo entry"},
                          Case{"eds_broken/bad_input_size.eds", ", line 6: Input1 does not begin with a size"}}) {
        const std::string path = FixturePath(c.fixture);
        try {
            ReadEdsFile(path);
            ADD_FAILURE() << c.fixture << " was accepted";
        } catch (const EdsError& e) {
            EXPECT_EQ(std::string(e.what()).rfind(path + c.where, 0), 0u) << e.what();
        }
    }
}

std::string Io(const std::string& entries) {
    return "[Device]\nProdName = \"X\";\n[IO_Info]\n" + entries;
}

TEST(EdsReader, MalformedEntriesAreRefusedWithTheirLine) {
    struct Case {
        std::string text;
        const char* message;
    };
    const Case cases[] = {
        {"[Device]\nProdName = \"X\";\n", "x.eds, line 3: the file has no [IO_Info] section"},
        {Io("PollInfo = 1, 1;\n"), "x.eds, line 4: PollInfo needs three fields"},
        {Io("PollInfo = 1, 2, 0;\nInput1 = 4;\n"), "x.eds, line 4: PollInfo names Input2, which [IO_Info] does not"},
        {Io("PollInfo = 1, one, 0;\n"), "x.eds, line 4: PollInfo field 2 is not an entry number"},
        {Io("PollInfo = 1, 1, 0;\nInput1 = 65536;\n"), "x.eds, line 5: Input1 does not begin with a size"},
        {Io("PollInfo = 1, 1, 0;\nInput1 = -1;\n"), "x.eds, line 5: Input1 does not begin with a size"},
        {Io("PollInfo = 1, 1, 0;\nInput1 = \"4\";\n"), "x.eds, line 5: Input1 does not begin with a size"},
        {Io("PollInfo = 1, 1, 0\nInput1 = 4;\n"), "x.eds, line 4: the entry is not ended by ';'"},
        {Io("PollInfo = 1, 1, 0;\nInput1 = 4, \"open;\n"), "x.eds, line 5: a quoted text is not closed"},
        {Io("PollInfo = 1, \"a\" 2, 0;\n"), "x.eds, line 4: two values stand without a comma"},
        {"ProdName = \"X\";\n", "x.eds, line 1: an entry stands before the first section header"},
        {"[Device\nProdName = \"X\";\n", "x.eds, line 1: a section header lacks its closing ']'"},
        {Io("just words\n"), "x.eds, line 4: expected 'Keyword = value;'"},
    };
    for (const Case& c : cases) {
        try {
            ParseEds(c.text, "x.eds");
            ADD_FAILURE() << c.text << " was accepted";
        } catch (const EdsError& e) {
            EXPECT_EQ(std::string(e.what()).rfind(c.message, 0), 0u) << e.what();
        }
    }
}

TEST(EdsReader, SpellingsThatMakersUseAreRead) {
    // Keywords in any case, a comment sign inside quotes, an output-less connection, Latin-1 product names.
    const EdsDevice device = ParseEds(
        "[device]\nprodname = \"Pr\xFC"
        "fger\xE4t $1\";\n[io_info]\npollinfo=1,1,0;input1=0x10;",
        "x.eds");
    EXPECT_EQ(device.InputBytes, 16);
    EXPECT_EQ(device.OutputBytes, 0);
    EXPECT_EQ(device.ProdName,
              "Pr\xC3\xBC"
              "fger\xC3\xA4t $1");
    EXPECT_FALSE(ParseEds("[IO_Info]\nPollInfo = 1, 0, 0;", "x.eds").ProdName.has_value());
    EXPECT_EQ(ParseEds("\xEF\xBB\xBF[IO_Info]\nPollInfo = 1, 2, 0;Input2=0x4;", "bom.eds").InputBytes, 4);
}

TEST(EdsReader, DescribedAssembliesGiveTheirMembersWithTagTypes) {
    const EdsDevice device = ReadEdsFile(FixturePath("eds_assembly/drive.eds"));
    EXPECT_EQ(device.InputBytes, 10);
    EXPECT_EQ(device.OutputBytes, 4);
    // Two one-bit members share byte 9; the padding after them is left out.
    const std::vector<EdsMember> input = {{"Status word", 0, 2, TagType::Word}, {"Speed", 2, 2, TagType::Int},
                                          {"Position", 4, 4, TagType::Dint},    {"Mode", 8, 1, TagType::Byte},
                                          {"Ready", 9, 1, std::nullopt},        {"Fault", 9, 1, std::nullopt}};
    EXPECT_EQ(device.inputMembers, input);
    const std::vector<EdsMember> output = {{"Control word", 0, 2, TagType::Word},
                                           {"Speed reference", 2, 2, TagType::Int}};
    EXPECT_EQ(device.outputMembers, output);
    EXPECT_TRUE(device.memberProblems.empty());
}

// A drive of one input assembly with members of the given sizes and parameters, its connection of `bytes`.
std::string Drive(const std::string& members, const std::string& params, int bytes = 4,
                  const std::string& path = "20 04 24 64 30 03") {
    return "[IO_Info]\nPollInfo = 1, 1, 0;\nInput1 = " + std::to_string(bytes) + ", 0, 1, \"In\", 6, \"" + path +
           "\", \"\";\n[Params]\n" + params + "[Assembly]\nAssem100 = \"In\", \"\", 4, 0, , , " + members + ";\n";
}

std::string Param(int n, const std::string& type, const std::string& name) {
    return "Param" + std::to_string(n) + " = 0, 0, \"\", 0, " + type + ", 2, \"" + name + "\", \"\", \"\";\n";
}

TEST(EdsReader, EachDataTypeGivesItsTagTypeWhereTheMemberFillsIt) {
    struct Case {
        const char* code;
        int bits;
        std::optional<TagType> type;
    };
    const Case cases[] = {
        {"0xC6", 8, TagType::Byte},   {"0xC2", 8, TagType::Byte},  {"0xD1", 8, TagType::Byte},
        {"0xC7", 16, TagType::Uint},  {"0xC3", 16, TagType::Int},  {"0xD2", 16, TagType::Word},
        {"0xC8", 32, TagType::Udint}, {"0xC4", 32, TagType::Dint}, {"0xD3", 32, TagType::Dword},
        {"0xCA", 32, TagType::Real},  {"0xC1", 8, std::nullopt},  // BOOL: no tag type
        {"0xDA", 16, std::nullopt},                               // a string
        {"0xC3", 8, std::nullopt},                                // an INT the member does not fill
        {"0xC6", 16, std::nullopt},                               // two bytes read as one
    };
    for (const Case& c : cases) {
        const std::string bits = std::to_string(c.bits);
        const std::string padding = c.bits < 32 ? ", " + std::to_string(32 - c.bits) + "," : "";
        const EdsDevice device = ParseEds(Drive(bits + ", Param1" + padding, Param(1, c.code, "V")), "x.eds");
        ASSERT_EQ(device.inputMembers.size(), 1u) << c.code;
        EXPECT_EQ(device.inputMembers[0].type, c.type) << c.code << " of " << c.bits << " bits";
        EXPECT_EQ(device.inputMembers[0].size, static_cast<size_t>(c.bits / 8));
    }
    const std::string eight = "[IO_Info]\nPollInfo = 1, 1, 0;\nInput1 = 8, 0, 1, \"In\", 6, \"20 04 24 64 30 03\";\n" +
                              std::string("[Params]\n") + Param(1, "0xC9", "A") + Param(2, "0xC5", "B") +
                              Param(3, "0xD4", "C") + Param(4, "0xCB", "D") + "[Assembly]\n";
    for (const auto& [param, type] : {std::pair{"Param1", TagType::Lword}, std::pair{"Param2", TagType::Lint},
                                      std::pair{"Param3", TagType::Lword}, std::pair{"Param4", TagType::Lreal}}) {
        const EdsDevice device = ParseEds(eight + "Assem100 = \"In\", \"\", 8, 0, , , 64, " + param + ";", "x.eds");
        ASSERT_EQ(device.inputMembers.size(), 1u);
        EXPECT_EQ(device.inputMembers[0].type, type) << param;
    }
    // A member that does not start on a byte gives no tag, whatever its size.
    const EdsDevice shifted = ParseEds(Drive("4, , 16, Param1, 12,", Param(1, "0xC3", "V")), "x.eds");
    EXPECT_EQ(shifted.inputMembers, (std::vector<EdsMember>{{"V", 0, 3, std::nullopt}}));
}

TEST(EdsReader, AssembliesThatAreNotDescribedGiveNoMembersAndNoProblem) {
    const std::string param = Param(1, "0xC3", "Speed");
    for (const std::string& text : {
             Drive("16, Param1, 16,", param, 4, "20 04 24 65 30 03"),  // Assem101 is not there
             Drive("16, Param1, 16,", param, 4, "20 05 24 64 30 03"),  // class 5 is no assembly
             Drive("16, Param1, 16,", param, 4, "20 04 24 zz 30 03"),  // not a path
             std::string("[IO_Info]\nPollInfo = 1, 1, 0;\nInput1 = 4, 0, 1, \"In\", 6, \"20 04 24 64 30 03\";\n"),
             std::string("[IO_Info]\nPollInfo = 1, 1, 0;\nInput1 = 4;\n[Assembly]\nAssem100 = \"In\", \"\", 4;\n"),
         }) {
        const EdsDevice device = ParseEds(text, "x.eds");
        EXPECT_EQ(device.InputBytes, 4);
        EXPECT_TRUE(device.inputMembers.empty()) << text;
        EXPECT_TRUE(device.memberProblems.empty()) << text;
    }
    // Instances past 255 take the wide segment: 0x25, a pad byte, then the number low byte first.
    const std::string wide = Drive("16, Param1, 16,", param, 4, "20 04 25 00 2C 01 30 03");
    std::string renamed = wide;
    renamed.replace(renamed.find("Assem100"), 8, "Assem300");
    EXPECT_EQ(ParseEds(renamed, "x.eds").inputMembers.size(), 1u);
}

// A broken description costs the tags, never the import: the counts stand and the problem names file and line.
TEST(EdsReader, BrokenAssemblyDescriptionsGiveNoMembersAndSayWhy) {
    const std::string speed = Param(1, "0xC3", "Speed");
    struct Case {
        std::string text;
        const char* problem;
    };
    const Case cases[] = {
        {Drive("16, Param2, 16,", speed), "x.eds, line 7: Assem100 member 1 names Param2, which [Params] does not"},
        {Drive("16, Param1, wide, Param1", speed), "x.eds, line 7: Assem100 member 2 has no size in bits"},
        {Drive("16, Param1, 32,", speed), "x.eds, line 7: Assem100 lists members of 48 bits, more than its 4 bytes"},
        {Drive("16, Param1, 16,", speed, 6), "x.eds, line 7: Assem100 holds 4 bytes and Input1 carries 6, so"},
        {Drive("16, Param1, 16,", "Param1 = 0, 0, \"\", 0, 0xC3;\n"), "x.eds, line 5: Param1 needs seven fields"},
        {Drive("16, Param1, 16,", Param(1, "INT", "Speed")), "x.eds, line 5: Param1 field 5 is not a data type"},
    };
    for (const Case& c : cases) {
        const EdsDevice device = ParseEds(c.text, "x.eds");
        EXPECT_EQ(device.InputBytes, c.text.find("Input1 = 6") == std::string::npos ? 4 : 6);
        EXPECT_TRUE(device.inputMembers.empty()) << c.text;
        ASSERT_EQ(device.memberProblems.size(), 1u) << c.text;
        EXPECT_EQ(device.memberProblems[0].rfind(c.problem, 0), 0u) << device.memberProblems[0];
    }
}

// Data sheets come from anywhere: whatever bytes a file holds, the reader answers or refuses, never crashes.
TEST(EdsReader, MutatedFilesNeverCrashTheReader) {
    const std::string goods[] = {ReadFixture("eds_good/valve_block.eds"), ReadFixture("eds_assembly/drive.eds")};
    std::mt19937 random(20260314);
    for (int round = 0; round < 4000; ++round) {
        std::string text = goods[round % 2];
        const int edits = 1 + static_cast<int>(random() % 8);
        for (int k = 0; k < edits; ++k) {
            const size_t at = random() % (text.size() + 1);
            switch (random() % 3) {
                case 0:
                    text.insert(at, 1, static_cast<char>(random() % 256));
                    break;
                case 1:
                    if (at < text.size()) text.erase(at, 1 + random() % 20);
                    break;
                default:
                    text.insert(at, std::string("[];,=\"$\n").substr(random() % 8, 1));
            }
        }
        try {
            ParseEds(text, "fuzz.eds");
        } catch (const EdsError& e) {
            EXPECT_EQ(std::string(e.what()).rfind("fuzz.eds, line ", 0), 0u);
        }
    }
}

}  // namespace
