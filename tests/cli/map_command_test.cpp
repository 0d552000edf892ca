#include <gtest/gtest.h>

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
        {nullptr, "IB 20         4     2  12  Conveyor drive     9            N12_I9    yes\n"},
        {"--json", "{\"offset\":4,\"address\":20,\"node\":2,\"id\":12,\"nodeMnemonic\":\"Conveyor drive\",\"byte\":9,"},
        {"--csv", "output,0,7,1,5,Valve 3,2,Command,Command,true\r\n"},
        {"--sdf", "\"Command                 \",\"QB 7        \",\"BYTE      \",\"node 1 (ID 5) byte 2 "},
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
        Contains(text.out, "-             3     2   7  Drive             1  Speed           Speed         no\n"))
        << text.out;
    EXPECT_EQ(text.err,
              "tessara map: 2 of 6 selected bytes do not fit the PROFIBUS areas of pargen.xml and have no address\n");

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
              "tessara map: --input-start 65532 puts byte 4 of the area at 65536, past the last PLC "
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
         "tessara check: --csv, --sdf, --plcopen, --input-start and --output-start apply "
         "only to map"},
    };
    for (const auto& c : cases) {
        const Outcome outcome = Tessara(c.args);
        EXPECT_EQ(outcome.status, 2) << c.problem;
        EXPECT_TRUE(Contains(outcome.err, c.problem)) << outcome.err;
        EXPECT_TRUE(Contains(outcome.err, "tessara map [--json | --csv | --sdf | --plcopen]")) << outcome.err;
    }
}

}  // namespace
