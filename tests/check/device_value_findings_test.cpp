#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "check/project_check.h"
#include "support/temp_dir.h"

using namespace tessara::check;

// Defined with the check's other tests; declared here so that failures print the finding.
void PrintTo(const Finding& f, std::ostream* out);

namespace {

constexpr Severity E = Severity::Error;

// The clean project of the fixtures with one element of pargen.xml set to `value`.
std::string PargenWith(const std::string& element, const std::string& value) {
    const std::regex text("<" + element + ">[^<]*</" + element + ">");
    return std::regex_replace(ReadFixture("check_clean/pargen.xml"), text,
                              "<" + element + ">" + value + "</" + element + ">");
}

struct SettingCase {
    const char* element;
    const char* value;
    const char* text;
    Severity severity = Severity::Error;
};

void PrintTo(const SettingCase& c, std::ostream* out) {
    *out << c.element << " " << c.value;
}

class SettingValueTest : public ::testing::TestWithParam<SettingCase> {};

// Each of these used to reach the device as a byte it cannot take (-1 as 255, 99, 7). A stored PROFIBUS rate of
// -1 is what confirmed and older documents hold: the device has always taken it, so it warns.
TEST_P(SettingValueTest, IsFoundAtItsField) {
    const SettingCase& c = GetParam();
    TempDir project;
    project.Write("pargen.xml", PargenWith(c.element, c.value));
    project.Write("DNET_Net.xml", ReadFixture("check_clean/DNET_Net.xml"));
    project.Write("DefByte.xml", ReadFixture("check_clean/DefByte.xml"));
    const ProjectCheck check = CheckProject(project.path());
    ASSERT_EQ(check.findings.size(), 1u) << check.findings[0].text;
    EXPECT_EQ(check.findings[0], (Finding{c.severity, "pargen.xml", c.text, FindingTarget::Setting(c.element)}));
}

INSTANTIATE_TEST_SUITE_P(
    OutOfRange, SettingValueTest,
    ::testing::Values(
        SettingCase{"PROFI_ID", "0", "PROFI_ID 0: the PROFIBUS ID must be between 1 and 125"},
        SettingCase{"PROFI_ID", "126", "PROFI_ID 126: the PROFIBUS ID must be between 1 and 125"},
        SettingCase{"PROFI_BAUD", "99", "PROFI_BAUD 99: the PROFIBUS baud rate code must be between 0 and 10"},
        SettingCase{"PROFI_BAUD", "11", "PROFI_BAUD 11: the PROFIBUS baud rate code must be between 0 and 10"},
        SettingCase{"PROFI_BAUD", "-2", "PROFI_BAUD -2: the PROFIBUS baud rate code must be between 0 and 10"},
        SettingCase{"PROFI_BAUD", "-1",
                    "PROFI_BAUD -1: the device receives 255 as the PROFIBUS baud rate code; OK in Set Communication "
                    "writes 10 (\"Auto Baudrate\")",
                    Severity::Warning},
        SettingCase{"DNET_BAUD", "-1", "DNET_BAUD -1: the DeviceNet baud rate code must be between 0 and 2"},
        SettingCase{"DNET_BAUD", "3", "DNET_BAUD 3: the DeviceNet baud rate code must be between 0 and 2"},
        SettingCase{"DNET_DEV_ID", "64", "DNET_DEV_ID 64: the gateway's DeviceNet ID must be between 0 and 63"},
        SettingCase{"PROFI_CANCEL_DATA", "7",
                    "PROFI_CANCEL_DATA 7: the flag \"Cancel Data on DeviceNet Error\" must be 0 or 1"},
        SettingCase{"DNET_CANCEL_DATA", "-1",
                    "DNET_CANCEL_DATA -1: the flag \"Cancel Data on PROFIBUS Error\" must be 0 or 1"}));

TEST(SettingValues, EveryValueAtFaultIsListedNotOnlyTheFirstAndTheEdgesPass) {
    TempDir project;
    std::string pargen = PargenWith("PROFI_NB_IN", "129");
    pargen = std::regex_replace(pargen, std::regex("<PROFI_NB_OUT>1<"), "<PROFI_NB_OUT>-1<");
    project.Write("pargen.xml", pargen);
    std::vector<std::string> texts;
    for (const Finding& f : CheckProject(project.path()).findings) {
        if (f.place == "pargen.xml") texts.push_back(f.text);
    }
    EXPECT_EQ(texts,
              (std::vector<std::string>{"PROFI_NB_IN 129: the PROFIBUS input byte count must be between 0 and 128",
                                        "PROFI_NB_OUT -1: the PROFIBUS output byte count must be between 0 and 128"}));

    project.Write("pargen.xml",
                  "<Par_Gen><PROFI_ID>125</PROFI_ID><PROFI_BAUD>0</PROFI_BAUD><PROFI_NB_IN>128</PROFI_NB_IN>"
                  "<PROFI_NB_OUT>0</PROFI_NB_OUT><PROFI_CANCEL_DATA>1</PROFI_CANCEL_DATA><DNET_DEV_ID>63</DNET_DEV_ID>"
                  "<DNET_BAUD>0</DNET_BAUD><DNET_CANCEL_DATA>x</DNET_CANCEL_DATA></Par_Gen>");
    for (const Finding& f : CheckProject(project.path()).findings) EXPECT_NE(f.place, "pargen.xml") << f.text;
}

std::string Row(const std::string& id, const std::string& in, const std::string& out) {
    return "<row ID=\"" + id + "\" NB_IN=\"" + in + "\" NB_OUT=\"" + out + "\" Mnemonic=\"\"/>";
}

// The image keeps only 8 bits of an address and 16 of a count: 300 reached the device as 44, 65 537 as 1.
TEST(NetworkValues, EveryRowIsHeldToTheDeviceRangesAlsoBeyondTheEditorsSixtyFour) {
    TempDir project;
    std::string rows = Row("1", "0", "0") + Row("2", "0", "-1");
    for (int id = 3; id < 65; ++id) rows += Row(std::to_string(id % 64), "0", "0");
    rows += Row("300", "65537", "0");
    project.Write("DNET_Net.xml", "<DNET_Net>" + rows + "</DNET_Net>");
    const ProjectCheck check = CheckProject(project.path());
    std::vector<Finding> errors;
    for (const Finding& f : check.findings) {
        if (f.severity == E && f.place.rfind("node", 0) == 0 && f.text.find("Address") != 0) errors.push_back(f);
    }
    EXPECT_EQ(errors, (std::vector<Finding>{
                          {E, "node 2 (ID 2)", "NB_OUT -1: a node's output byte count must be between 0 and 65535",
                           FindingTarget::NetworkCell(1, 3)},
                          {E, "node 65 (ID 300)", "ID 300: a DeviceNet address must be between 0 and 63",
                           FindingTarget::Whole(FindingDocument::DNetNet)},
                          {E, "node 65 (ID 300)", "NB_IN 65537: a node's input byte count must be between 0 and 65535",
                           FindingTarget::Whole(FindingDocument::DNetNet)}}));
    const Finding tooMany{E, "DNET_Net.xml",
                          "DNET_Net.xml lists 65 nodes: the network editor shows only the first 64 and drops the "
                          "rest at its next OK, while the image takes them all",
                          FindingTarget::Whole(FindingDocument::DNetNet)};
    EXPECT_NE(std::find(check.findings.begin(), check.findings.end(), tooMany), check.findings.end());
}

TEST(FindingTargets, NameTheEditorAndThePlaceWhereTheFindingIsMended) {
    const ProjectCheck overflow = CheckProject(FixturePath("check_overflow"));
    ASSERT_EQ(overflow.findings.size(), 4u);
    EXPECT_EQ(overflow.findings[0].target, FindingTarget::NetworkCell(1, 1));  // the gateway's own ID
    EXPECT_EQ(overflow.findings[1].target, FindingTarget::NetworkCell(2, 1));  // an address used twice
    EXPECT_EQ(overflow.findings[2].target, FindingTarget::Setting("PROFI_NB_IN"));
    EXPECT_EQ(overflow.findings[3].target, FindingTarget::Setting("PROFI_NB_OUT"));

    const ProjectCheck shifted = CheckProject(FixturePath("check_shifted"));
    EXPECT_EQ(shifted.findings[0].target, FindingTarget::Whole(FindingDocument::DefByte));
    EXPECT_EQ(shifted.findings[1].target, FindingTarget::NodeBytes(0, false));
    EXPECT_EQ(CheckProject(FixturePath("check_unreadable_network")).findings[0].target,
              FindingTarget::Whole(FindingDocument::DNetNet));
}

TEST(ByteSelectionShape, ANetworkThatOnlyGrewAtItsEndNamesTheNodesWithoutSelection) {
    TempDir project;
    const std::string clean = ReadFixture("check_clean/DNET_Net.xml");
    const std::string two = clean.substr(0, clean.find("</DNET_Net>"));
    project.Write("pargen.xml", ReadFixture("check_clean/pargen.xml"));
    project.Write("DefByte.xml", ReadFixture("check_clean/DefByte.xml"));
    project.Write("DNET_Net.xml", two + Row("20", "1", "0") + "</DNET_Net>");
    EXPECT_EQ(CheckProject(project.path()).findings[0],
              (Finding{Severity::Warning, "DefByte.xml",
                       "DefByte.xml has no byte selection yet for node 3 (ID 20): open Define Byte and press OK",
                       FindingTarget::NodeBytes(2, false)}));
    project.Write("DNET_Net.xml", two + Row("20", "1", "0") + Row("21", "0", "2") + "</DNET_Net>");
    EXPECT_EQ(CheckProject(project.path()).findings[0].text,
              "DefByte.xml has no byte selection yet for nodes 3 (ID 20) to 4 (ID 21): open Define Byte and press OK");
    // A node inserted before the others moves every selection: that is still told as a shift.
    project.Write("DNET_Net.xml", "<DNET_Net>" + Row("20", "1", "0") + clean.substr(10));
    EXPECT_EQ(CheckProject(project.path()).findings[0].text,
              "DefByte.xml lists 2 nodes, DNET_Net.xml 3 nodes: selections follow positions, so they may belong to "
              "another node");
}

// With the same nodes in both documents, a count that differs was changed in the network editor: the finding says
// so in the editors' words, and what it does to the selections.
TEST(ByteSelectionShape, AByteCountChangedInTheNetworkEditorIsNamedThere) {
    TempDir project;
    project.Write("pargen.xml", ReadFixture("check_clean/pargen.xml"));
    project.Write("DefByte.xml", ReadFixture("check_clean/DefByte.xml"));
    const struct {
        std::string rows;
        size_t node;
        const char* text;
    } cases[] = {
        {Row("5", "3", "2") + Row("12", "8", "0"), 1,
         "N BYTE IN went from 10 to 8 in DeviceNet Network after Define Byte last saved: the selections of input "
         "bytes 9 to 10 are not passed on and go at Define Byte's next OK"},
        {Row("5", "1", "4") + Row("12", "10", "0"), 0,
         "N BYTE IN went from 3 to 1 in DeviceNet Network after Define Byte last saved: the selections of input "
         "bytes 2 to 3 are not passed on and go at Define Byte's next OK; N BYTE OUT went from 2 to 4 in DeviceNet "
         "Network after Define Byte last saved: output bytes 3 to 4 are not selected yet"},
    };
    for (const auto& c : cases) {
        project.Write("DNET_Net.xml", "<DNET_Net>" + c.rows + "</DNET_Net>");
        std::vector<std::string> texts;
        for (const Finding& f : CheckProject(project.path()).findings) {
            if (f.place.starts_with("node ")) texts.push_back(f.text);
        }
        EXPECT_EQ(texts, std::vector<std::string>{c.text}) << c.node;
    }
}

}  // namespace
