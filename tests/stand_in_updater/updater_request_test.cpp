#include "stand_in_updater/updater_request.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace tessara::stand_in_updater;

namespace {

std::vector<std::string> Arguments(std::vector<std::string> codes) {
    std::vector<std::string> args = {"/dev/ttyUSB0"};
    args.insert(args.end(), codes.begin(), codes.end());
    args.push_back("/opt/tessara/MASTER/sim48210.sim");
    args.push_back("/opt/tessara/PROJECTS/Plant 1/bin/");
    return args;
}

TEST(UpdaterRequest, ReadsTheSevenArgumentsAsTheToolPassesThem) {
    const UpdaterRequest all = ParseUpdaterArguments(Arguments({"FW", "FR", "PW", "PR"}));
    EXPECT_EQ(all.port, "/dev/ttyUSB0");
    EXPECT_TRUE(all.writeFirmware && all.readFirmware && all.writeProject && all.readProject);
    EXPECT_EQ(all.binDir, "/opt/tessara/PROJECTS/Plant 1/bin/");

    const UpdaterRequest some = ParseUpdaterArguments(Arguments({"NO", "FR", "NO", "PR"}));
    EXPECT_FALSE(some.writeFirmware);
    EXPECT_TRUE(some.readFirmware);
    EXPECT_FALSE(some.writeProject);
    EXPECT_TRUE(some.readProject);
}

TEST(UpdaterRequest, RefusesArgumentsOutOfPlace) {
    struct Case {
        std::vector<std::string> args;
        const char* expected;
    };
    std::vector<std::string> noSeparator = Arguments({"FW", "FR", "PW", "PR"});
    noSeparator[6] = "/opt/tessara/PROJECTS/Plant1/bin";
    std::vector<std::string> otherFile = Arguments({"FW", "FR", "PW", "PR"});
    otherFile[5] = "/opt/tessara/MASTER/firmware.bin";
    std::vector<std::string> emptyPort = Arguments({"FW", "FR", "PW", "PR"});
    emptyPort[0] = "";
    const Case cases[] = {
        {{"/dev/ttyUSB0 FW FR PW PR \"/m/sim48210.sim\" \"/p/bin/\""}, "Expected 7 arguments, got 1"},
        {Arguments({"FR", "FW", "PW", "PR"}), "Argument 2 is \"FR\": it must be \"FW\" or \"NO\""},
        {Arguments({"FW", "FR", "PW", "no"}), "Argument 5 is \"no\": it must be \"PR\" or \"NO\""},
        {otherFile, "Argument 6"},
        {noSeparator, "Argument 7"},
        {emptyPort, "Argument 1"},
    };
    for (const Case& c : cases) {
        try {
            ParseUpdaterArguments(c.args);
            ADD_FAILURE() << c.expected;
        } catch (const UpdaterArgumentError& e) {
            EXPECT_NE(std::string(e.what()).find(c.expected), std::string::npos) << e.what();
        }
    }
}

}  // namespace

TEST(UpdaterRequest, SplitsTheWindowsParameterStringAsTheDeviceUpdaterDoes) {
    // The tool's string ends in bin\" : the backslash stays with the folder and the quote only closes it.
    const std::vector<std::string> pieces = SplitParameterString(
        R"("C:\Program Files\Tool\Ser_48210_Update.exe" \\.\COM12 FW NO PW PR "C:\Program Files\Tool\MASTER\sim48210.sim" "C:\Program Files\Tool\PROJECTS\Plant 1\bin\")");
    const std::vector<std::string> expected = {R"(C:\Program Files\Tool\Ser_48210_Update.exe)",
                                               R"(\\.\COM12)",
                                               "FW",
                                               "NO",
                                               "PW",
                                               "PR",
                                               R"(C:\Program Files\Tool\MASTER\sim48210.sim)",
                                               R"(C:\Program Files\Tool\PROJECTS\Plant 1\bin\)"};
    EXPECT_EQ(pieces, expected);

    EXPECT_EQ(SplitParameterString("  a\t\tb  "), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(SplitParameterString(R"(a "" b"c d"e)"), (std::vector<std::string>{"a", "", "bc de"}));
    EXPECT_TRUE(SplitParameterString("   ").empty());
}
