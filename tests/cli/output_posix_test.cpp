#include <gtest/gtest.h>

#include <filesystem>

#include "support/command_runner.h"
#include "support/temp_dir.h"
#include "support/tool_process.h"

namespace {

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// Output that never arrived is a failure the caller must see, not a success with nothing written.
TEST(CommandOutput, OutputThatCannotBeWrittenFailsWithAMessage) {
    const std::string project = FixturePath("check_overflow");
    const std::pair<const char*, const char*> cases[] = {
        {"> /dev/full", "No space left on device"},
        {">&-", "Bad file descriptor"},
    };
    for (const auto& [redirect, reason] : cases) {
        const ToolRun run = RunTool({"check", "--json", project}, redirect);
        EXPECT_EQ(run.status, 1) << redirect;
        EXPECT_TRUE(Contains(run.output, std::string("tessara check: cannot write the output. ") + reason))
            << redirect << ": " << run.output;
    }
    const ToolRun gsd = RunTool({"gsd", FixturePath("check_overflow"), "/dev/stdout"});
    EXPECT_EQ(gsd.status, 0);
    EXPECT_TRUE(Contains(gsd.output, "#Profibus_DP")) << gsd.output;
}

TEST(CommandOutput, HelpAndVersionThatCannotBeWrittenFail) {
    const std::pair<std::vector<std::string>, const char*> cases[] = {
        {{"--help"}, "tessara: cannot write the output. No space left on device"},
        {{"--version"}, "tessara: cannot write the output. No space left on device"},
        {{"check", "--help"}, "tessara check: cannot write the output. No space left on device"},
    };
    for (const auto& [args, message] : cases) {
        const ToolRun run = RunTool(args, "> /dev/full");
        EXPECT_EQ(run.status, 1) << args[0];
        EXPECT_TRUE(Contains(run.output, message)) << args[0] << ": " << run.output;
    }
}

// The file size limit makes the write fail like a full disk: the old file stays, with no copy left beside it.
TEST(CommandOutput, AWritePastTheFileSizeLimitFailsAndKeepsTheOldFile) {
    TempDir dir;
    const std::string target = dir.Write("out.gsd", "old");
    const ToolRun run = RunToolAfter("ulimit -f 1; ", {"gsd", FixturePath("check_overflow"), target});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(Contains(run.output, "File too large")) << run.output;
    EXPECT_EQ(dir.Read("out.gsd"), "old");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST(CommandOutput, JsonIsUtf8WhateverBytesAFolderNameHolds) {
    TempDir dir;
    const std::string project = dir.MakeDir(
        "Plant\xff\xc3(\xed\xa0\x80"
        "\xc3\xa9");
    const CommandOutcome check = Tessara({"check", "--json", project});
    EXPECT_TRUE(Contains(check.out, "Plant\xEF\xBF\xBD\xEF\xBF\xBD(\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xc3\xa9\""))
        << check.out;
}

// The start options are read whole before help or version is answered, so an extra word is a usage error.
TEST(CommandOutput, AnExtraWordBesideHelpOrVersionIsAUsageError) {
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{"--version", "extra"}, {"--help", "extra"}, {"extra", "--version"}}) {
        const ToolRun run = RunTool(args);
        EXPECT_EQ(run.status, 2) << args[0] << " " << args[1];
        EXPECT_TRUE(Contains(run.output, "tessara: unknown argument 'extra'")) << run.output;
    }
    EXPECT_EQ(RunTool({"--version"}).status, 0);
}

}  // namespace
