#include <gtest/gtest.h>

#include "check/check_report_html.h"
#include "check/project_check.h"
#include "support/temp_dir.h"

using namespace tessara::check;

namespace {

TEST(CheckReport, MatchesTheCommittedPage) {
    const ProjectCheck check = CheckProject(FixturePath("check_overflow"));
    EXPECT_EQ(CheckReportHtml(check, "2026-01-31"), ReadFixture("check_report/expected_overflow.html"));
}

TEST(CheckReport, NeedsNoOtherFileAndSaysWhenThereIsNothingToFix) {
    const std::string html = CheckReportHtml(CheckProject(FixturePath("check_clean")), "2026-01-31");
    for (const char* external : {"src=", "href=", "url(", "@import", "<script"}) {
        EXPECT_EQ(html.find(external), std::string::npos) << external;
    }
    EXPECT_NE(html.find("<p>No findings.</p>"), std::string::npos);
    EXPECT_NE(html.find("<span>5 of 5 bytes used</span>"), std::string::npos);
}

// What the page cannot know it says, rather than show defaults or an empty map as if they were the project's.
TEST(CheckReport, SaysWhenSettingsOrTheMapCannotBeRead) {
    const std::string noPargen = CheckReportHtml(CheckProject(FixturePath("check_no_pargen")), "2026-01-31");
    EXPECT_NE(noPargen.find("<p>No readable pargen.xml: the settings editor shows its defaults.</p>"),
              std::string::npos);
    const std::string unreadable = CheckReportHtml(CheckProject(FixturePath("check_unreadable_network")), "2026-01-31");
    EXPECT_NE(unreadable.find("<p>The documents could not all be read: see the findings.</p>"), std::string::npos);
    EXPECT_EQ(unreadable.find("<h3>Input</h3>"), std::string::npos);
}

TEST(CheckReport, TextFromDocumentsIsIsolatedSoAnOverrideReordersNothingAroundIt) {
    ProjectCheck check;
    NodeIo node{1, 5, "\xE2\x80\xAEValve", 2, 0, {{1, "a\xE2\x80\xAE<b>"}, {2, "c"}}, {}};
    check.nodes.push_back(node);
    check.mapRead = true;  // the address map's rows carry the same texts
    check.input.area = 2;
    const std::string html = CheckReportHtml(check, "2026-01-31");
    for (const char* isolated :
         {"<td><bdi>\xE2\x80\xAEValve</bdi></td>", "<td>in 1 <bdi>a\xE2\x80\xAE&lt;b&gt;</bdi>, 2 <bdi>c</bdi></td>",
          "<td class=\"n\">5</td><td><bdi>\xE2\x80\xAEValve</bdi></td><td "
          "class=\"n\">1</td><td><bdi>a\xE2\x80\xAE&lt;b&gt;"
          "</bdi></td>"}) {
        EXPECT_NE(html.find(isolated), std::string::npos) << isolated;
    }
}

}  // namespace
