#include <gtest/gtest.h>

#include "check/check_report_html.h"
#include "check/project_check.h"
#include "support/temp_dir.h"
#include "support/xml_characters.h"

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

// A typed tag is one row at the address of its width, as in every export.
TEST(CheckReport, TypedTagsShowTheirWordAddress) {
    const std::string html = CheckReportHtml(CheckProject(FixturePath("typed_worked_example")), "2026-01-31");
    EXPECT_NE(html.find("<tr><td>IW 2</td>"), std::string::npos) << html;
    EXPECT_NE(html.find("<td class=\"symbol\">Speed</td>"), std::string::npos) << html;
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

// A right-to-left override in a setting, a row's ID, a mnemonic or the folder's name would reverse the rest of
// its line: every text from a document stands in an isolate with its controls shown by their codes, as the
// check's text output shows them, and the page keeps no character that XML forbids.
TEST(CheckReport, TextFromDocumentsIsIsolatedAndShowsItsControls) {
    const std::string rlo = "\xE2\x80\xAE";
    TempDir parent;
    const std::string project = parent.MakeDir("Plant" + rlo + "1");
    parent.Write(
        "Plant" + rlo + "1/pargen.xml",
        "<Par_Gen><PROFI_ID>" + rlo +
            "3ab</PROFI_ID><PROFI_BAUD>10</PROFI_BAUD><PROFI_NB_IN>16</PROFI_NB_IN>"
            "<PROFI_NB_OUT>8</PROFI_NB_OUT><PROFI_CANCEL_DATA>1</PROFI_CANCEL_DATA><DNET_DEV_ID>62</DNET_DEV_ID>"
            "<DNET_BAUD>2</DNET_BAUD><DNET_CANCEL_DATA>0</DNET_CANCEL_DATA></Par_Gen>");
    parent.Write("Plant" + rlo + "1/DNET_Net.xml",
                 "<DNET_Net><row ID=\"1" + rlo + "2x\" NB_IN=\"1\" NB_OUT=\"0\" Mnemonic=\"Valve\"/></DNET_Net>");
    ProjectCheck check = CheckProject(project);
    NodeIo node{1, 5, rlo + "Pump&#1;\xEF\xBF\xBF", 2, 0, {{1, "a" + rlo + "<b>"}, {2, "c\x01"}}, {}};
    check.nodes = {node};
    check.mapRead = true;  // the address map's rows carry the same texts
    check.input.area = 2;
    const std::string html = CheckReportHtml(check, "2026-01-31");
    for (const std::string& shown : {
             std::string("<title>Project check: Plant\\u202e1</title>"),
             std::string("<h1>Project check: <bdi>Plant\\u202e1</bdi></h1>"),
             std::string("<th>PROFIBUS device ID</th><td><bdi>\\u202e3ab</bdi></td>"),
             std::string("<td><bdi>Attribute &quot;ID&quot; of element &quot;row&quot;: '1\\u202e2x' is not a valid"),
             std::string("<td><bdi>\\u202ePump&amp;#1;\\uffff</bdi></td>"),
             std::string("<td>in 1 <bdi>a\\u202e&lt;b&gt;</bdi>, 2 <bdi>c\\x01</bdi></td>"),
             std::string("<td class=\"n\">5</td><td><bdi>\\u202ePump&amp;#1;\\uffff</bdi></td><td class=\"n\">1</td>"
                         "<td><bdi>a\\u202e&lt;b&gt;</bdi></td>"),
         }) {
        EXPECT_NE(html.find(shown), std::string::npos) << shown;
    }
    EXPECT_EQ(html.find(rlo), std::string::npos);
    EXPECT_EQ(FirstCharacterXmlForbids(html), std::string::npos);
}

}  // namespace
