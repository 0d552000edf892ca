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

// Data sheets come from anywhere: whatever bytes a file holds, the reader answers or refuses, never crashes.
TEST(EdsReader, MutatedFilesNeverCrashTheReader) {
    const std::string good = ReadFixture("eds_good/valve_block.eds");
    std::mt19937 random(20260314);
    for (int round = 0; round < 3000; ++round) {
        std::string text = good;
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
