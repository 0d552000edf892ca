#include <gtest/gtest.h>

#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "base/file_system.h"
#include "check/check_report_html.h"
#include "check/project_check.h"
#include "cli/command_line.h"
#include "support/command_runner.h"
#include "support/temp_dir.h"

using namespace tessara::base;
using namespace tessara::check;

namespace {

using Outcome = CommandOutcome;

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST(CheckCommand, ListsOneFindingPerLineAndFailsOnlyOnAnError) {
    const Outcome clean = Tessara({"check", FixturePath("check_clean")});
    EXPECT_EQ(clean.status, 0);
    EXPECT_EQ(clean.out, "");

    const Outcome warnings = Tessara({"check", FixturePath("check_zero_sizes")});
    EXPECT_EQ(warnings.status, 0);
    EXPECT_EQ(warnings.out,
              "warning\tpargen.xml\tThe PROFIBUS input and output sizes are both 0: the GSD file has no modules, and "
              "a master cannot configure the gateway\n");

    const Outcome errors = Tessara({"check", FixturePath("check_overflow") + "/"});
    EXPECT_EQ(errors.status, 1);
    EXPECT_EQ(errors.out,
              "error\tnode 2 (ID 7)\tAddress 7 is the gateway's own DeviceNet ID\n"
              "error\tnode 3 (ID 5)\tAddress 5 is also used by node 1\n"
              "error\tPROFIBUS input\t4 DeviceNet input bytes are selected, but the PROFIBUS input area holds 3\n"
              "error\tPROFIBUS output\t2 DeviceNet output bytes are selected, but the PROFIBUS output area holds 1\n");
    EXPECT_EQ(errors.err, "");
}

TEST(CheckCommand, KeepsAParseErrorOnOneLineAndAMissingFolderIsAnError) {
    const std::string dir = FixturePath("check_unreadable_network");
    const Outcome unreadable = Tessara({"check", dir});
    EXPECT_EQ(unreadable.status, 1);
    EXPECT_EQ(unreadable.out,
              "error\tDNET_Net.xml\t" + dir + kPathSeparator +
                  "DNET_Net.xml: Error parsing start element tag Line: 1 <DNET_Net><row ID=\"5\"</DNET_Net>\n");

    TempDir parent;
    const Outcome missing = Tessara({"check", parent.File("gone")});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.out, "error\tproject\tProject folder \"" + parent.File("gone") + "\" does not exist\n");
}

TEST(CheckCommand, JsonCarriesTheMapTheAreasAndTheFindings) {
    const Outcome json = Tessara({"check", "--json", FixturePath("check_overflow")});
    EXPECT_EQ(json.status, 1);
    for (const char* part :
         {"{\"position\":1,\"ID\":5,\"mnemonic\":\"Valve <A&B>\",\"NB_IN\":3,\"NB_OUT\":2,\"selectedIn\":[{\"byte\":1,"
          "\"mnemonic\":\"Position\"},{\"byte\":2,\"mnemonic\":\"\"},{\"byte\":3,\"mnemonic\":\"Status & alarm\"}],"
          "\"selectedOut\":[{\"byte\":1,\"mnemonic\":\"Command\"}]}",
          "\"input\":{\"selected\":4,\"profibus\":3},\"output\":{\"selected\":2,\"profibus\":1}",
          "{\"severity\":\"error\",\"place\":\"node 3 (ID 5)\",\"text\":\"Address 5 is also used by node 1\"},",
          "\"error\":true}\n"}) {
        EXPECT_TRUE(Contains(json.out, part)) << part << "\n" << json.out;
    }
    const Outcome parseError = Tessara({"check", "--json", FixturePath("check_unreadable_network")});
    EXPECT_TRUE(
        Contains(parseError.out, "start element tag\\u000d\\u000aLine: 1\\u000d\\u000a<DNET_Net><row ID=\\\"5\\\"<"))
        << parseError.out;
}

TEST(ReportCommand, WritesThePageOrFailsWithoutWritingAnything) {
    TempDir out;
    const std::string dir = FixturePath("check_overflow");
    const Outcome written = Tessara({"report", dir, out.File("plant.html")});
    EXPECT_EQ(written.status, 0) << written.err;
    EXPECT_EQ(out.Read("plant.html"), CheckReportHtml(CheckProject(dir), TodayText()));

    const Outcome missing = Tessara({"report", out.File("gone"), out.File("gone.html")});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "Project folder \"" + out.File("gone") + "\" does not exist\n");
    EXPECT_FALSE(FileExists(out.File("gone.html")));

    const Outcome unwritable = Tessara({"report", dir, out.File("no/plant.html")});
    EXPECT_EQ(unwritable.status, 1);
    EXPECT_TRUE(Contains(unwritable.err, out.File("no/plant.html"))) << unwritable.err;
}

TEST(CheckCommand, UsageErrorsGiveStatusTwo) {
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"check"}, {"check", "a", "b"}, {"report", "a"}, {"report", "--json", "a", "b"}}) {
        const Outcome outcome = Tessara(args);
        EXPECT_EQ(outcome.status, 2) << args.size();
        EXPECT_TRUE(Contains(outcome.err, "tessara check [--json] PROJECT_DIR")) << outcome.err;
    }
}

}  // namespace
