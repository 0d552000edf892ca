#include "check/project_check.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/file_system.h"
#include "support/hostile_text.h"
#include "support/temp_dir.h"

using namespace tessara::check;

// Found by the test framework's printer through the argument's namespace.
void PrintTo(const Finding& f, std::ostream* out) {
    *out << SeverityName(f.severity) << " | " << f.place << " | " << f.text;
}

namespace {

constexpr Severity E = Severity::Error;
constexpr Severity W = Severity::Warning;

const char* const kFollow = ": selections follow positions, so they may belong to another node";

struct ProjectCase {
    const char* fixture;
    std::vector<Finding> expected;  // "{dir}/" stands for the project folder and the separator
};

std::string Expand(std::string text, const std::string& dir) {
    const std::string folder = dir + tessara::base::kPathSeparator;
    for (size_t at = text.find("{dir}/"); at != std::string::npos; at = text.find("{dir}/", at)) {
        text.replace(at, 6, folder);
    }
    return text;
}

void PrintTo(const ProjectCase& c, std::ostream* out) {
    *out << c.fixture;
}

// What the findings say, without where the window would open them (tested on its own below).
std::vector<Finding> Said(std::vector<Finding> findings) {
    for (Finding& f : findings) f.target = {};
    return findings;
}

class ProjectCheckTest : public ::testing::TestWithParam<ProjectCase> {};

TEST_P(ProjectCheckTest, GivesExactlyTheExpectedFindings) {
    const ProjectCase& c = GetParam();
    const std::string dir = FixturePath(c.fixture);
    std::vector<Finding> expected = c.expected;
    for (Finding& f : expected) f.text = Expand(f.text, dir);
    const ProjectCheck check = CheckProject(dir);
    EXPECT_EQ(Said(check.findings), expected) << c.fixture;
    bool hasError = false;
    for (const Finding& f : expected) hasError = hasError || f.severity == E;
    EXPECT_EQ(check.HasError(), hasError);
}

const std::string kNoModules =
    " PROFIBUS input and output sizes are both 0: the GSD file has no modules, and a master cannot configure the "
    "gateway";

INSTANTIATE_TEST_SUITE_P(
    Projects, ProjectCheckTest,
    ::testing::Values(
        ProjectCase{"check_clean", {}},
        ProjectCase{
            "../../examples/Plant1",
            {{W, "PROFIBUS input", "11 of the 16 PROFIBUS input bytes are left unused (5 selected on DeviceNet)"},
             {W, "PROFIBUS output", "7 of the 8 PROFIBUS output bytes are left unused (1 selected on DeviceNet)"}}},
        ProjectCase{
            "check_overflow",
            {{E, "node 2 (ID 7)", "Address 7 is the gateway's own DeviceNet ID"},
             {E, "node 3 (ID 5)", "Address 5 is also used by node 1"},
             {E, "PROFIBUS input", "4 DeviceNet input bytes are selected, but the PROFIBUS input area holds 3"},
             {E, "PROFIBUS output", "2 DeviceNet output bytes are selected, but the PROFIBUS output area holds 1"}}},
        ProjectCase{
            "check_shifted",
            {{W, "DefByte.xml", std::string("DefByte.xml lists 2 nodes, DNET_Net.xml 1 node") + kFollow},
             {W, "node 1 (ID 12)",
              std::string("DefByte.xml lists 3 input and 2 output bytes, DNET_Net.xml 10 and 0") + kFollow},
             {W, "PROFIBUS input", "14 of the 16 PROFIBUS input bytes are left unused (2 selected on DeviceNet)"},
             {W, "PROFIBUS output", "8 of the 8 PROFIBUS output bytes are left unused (0 selected on DeviceNet)"}}},
        ProjectCase{"check_zero_sizes", {{W, "pargen.xml", "The" + kNoModules}}},
        ProjectCase{
            "check_no_pargen",
            {{E, "PROFIBUS input", "5 DeviceNet input bytes are selected, but the PROFIBUS input area holds 0"},
             {E, "PROFIBUS output", "1 DeviceNet output byte is selected, but the PROFIBUS output area holds 0"},
             {W, "pargen.xml", "There is no pargen.xml, so the" + kNoModules}}},
        ProjectCase{"check_editor_refusals",
                    {{E, "pargen.xml", "PROFI_ID 126: the PROFIBUS ID must be between 1 and 125"},
                     {E, "node 1 (ID 64)", "ID 64: a DeviceNet address must be between 0 and 63"}}},
        ProjectCase{
            "check_unreadable_network",
            {{E, "DNET_Net.xml",
              "{dir}/DNET_Net.xml: Error parsing start element tag\r\nLine: 1\r\n<DNET_Net><row ID=\"5\"</DNET_Net>"}}},
        ProjectCase{"check_unreadable_settings",
                    {{E, "pargen.xml", "'fast' is not a valid integer value (in {dir}/pargen.xml)"}}},
        ProjectCase{"check_missing_group",
                    {{E, "DefByte.xml",
                      "Child 2 of element \"Nodo_DNET\" is missing: it has 1 child nodes (in {dir}/DefByte.xml)"}}},
        ProjectCase{"check_image_too_large",
                    {{E, "bank.bin",
                      "The configuration image cannot be built: the input bitmap of node 5 (ID 9) would begin at "
                      "offset 65548, but node records hold bitmap offsets only up to 65535"},
                     {W, "pargen.xml", "The" + kNoModules},
                     {W, "DefByte.xml", "DefByte.xml does not exist: no byte of the 5 nodes is selected"}}}));

TEST(ProjectCheck, AMissingFolderIsAnErrorNotAnEmptyProject) {
    TempDir parent;
    const std::string dir = parent.File("gone");
    const ProjectCheck check = CheckProject(dir);
    EXPECT_EQ(Said(check.findings),
              (std::vector<Finding>{{E, "project", "Project folder \"" + dir + "\" does not exist"}}));
    EXPECT_TRUE(check.nodes.empty());
}

// A missing document is an empty table, so it stops nothing; what the image then lacks is said, and a folder of
// none of the documents is said to be no project (image and gsd printed nothing for one).
TEST(ProjectCheck, MissingDocumentsAreWarnedOfAndAFolderOfNoneIsNoProject) {
    const struct {
        const char* name;
        std::vector<std::string> documents;  // written from check_clean
        std::vector<std::string> warnings;   // "place: text" of the warnings this adds
    } cases[] = {
        {"none",
         {},
         {"project: \"{dir}\" is not a project folder: none of pargen.xml, DNET_Net.xml, DefByte.xml is in it"}},
        {"no network",
         {"pargen.xml", "DefByte.xml"},
         {"DNET_Net.xml: DNET_Net.xml does not exist: the image has no nodes"}},
        {"no selections",
         {"pargen.xml", "DNET_Net.xml"},
         {"DefByte.xml: DefByte.xml does not exist: no byte of the 2 nodes is selected"}},
        {"all three", {"pargen.xml", "DNET_Net.xml", "DefByte.xml"}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir project;
        for (const std::string& name : c.documents) project.Write(name, ReadFixture("check_clean/" + name));
        std::vector<std::string> said;
        for (const Finding& f : CheckProject(project.path()).findings) {
            if (f.place != "project" && f.text.find("does not exist") == std::string::npos) continue;
            said.push_back(f.place + ": " + f.text);
            EXPECT_EQ(f.severity, W);
        }
        std::vector<std::string> expected;
        for (std::string w : c.warnings) {
            if (const size_t at = w.find("{dir}"); at != std::string::npos) w.replace(at, 5, project.path());
            expected.push_back(w);
        }
        EXPECT_EQ(said, expected);
    }
}

TEST(ProjectCheck, IoMapListsEveryNodeWithItsSelectedBytesAndTheirMnemonics) {
    const ProjectCheck check = CheckProject(FixturePath("check_overflow"));
    ASSERT_EQ(check.nodes.size(), 3u);
    const NodeIo& first = check.nodes[0];
    EXPECT_EQ(first.position, 1u);
    EXPECT_EQ(first.ID, 5);
    EXPECT_EQ(first.mnemonic, "Valve <A&B>");
    EXPECT_EQ(first.NB_IN, 3u);
    EXPECT_EQ(first.NB_OUT, 2u);
    EXPECT_EQ(SelectedBytesText(first), "in 1 Position, 2, 3 Status & alarm; out 1 Command");
    EXPECT_EQ(SelectedBytesText(check.nodes[1]), "in 1 Speed; out 1 Setpoint");
    EXPECT_EQ(SelectedBytesText(check.nodes[2]), "");
    EXPECT_EQ(check.input.selected, 4u);
    EXPECT_EQ(check.input.area, 3);
    EXPECT_EQ(check.output.selected, 2u);
    EXPECT_EQ(check.output.area, 1);
}

TEST(ProjectCheck, AnImageTooLargeForTheDeviceStillShowsItsNodes) {
    const ProjectCheck check = CheckProject(FixturePath("check_image_too_large"));
    ASSERT_EQ(check.nodes.size(), 5u);
    EXPECT_EQ(check.nodes[4].ID, 9);
    EXPECT_EQ(check.nodes[0].NB_IN, 65535u);
}

TEST(ProjectCheck, ANetworkOnlyTheNetworkEditorCannotLoadStillGivesTheIoMap) {
    TempDir project;
    project.Write("pargen.xml", ReadFixture("check_clean/pargen.xml"));
    project.Write("DefByte.xml", ReadFixture("check_clean/DefByte.xml"));
    project.Write(
        "DNET_Net.xml",
        "<DNET_Net><row ID=\"5\" NB_IN=\"3\" NB_OUT=\"2\"/><row ID=\"12\" NB_IN=\"10\" NB_OUT=\"0\"/></DNET_Net>");
    const ProjectCheck check = CheckProject(project.path());
    ASSERT_EQ(check.findings.size(), 1u);
    EXPECT_EQ(check.findings[0].place, "DNET_Net.xml");
    EXPECT_EQ(check.nodes.size(), 2u);
    EXPECT_EQ(check.input.selected, 5u);
}

TEST(ProjectCheck, MoreNodesThanTheNetworkEditorShowsAreToldOf) {
    TempDir project;
    std::string rows;
    for (int i = 0; i < 70; ++i) {
        rows += "<row ID=\"" + std::to_string(i % 64) + "\" NB_IN=\"0\" NB_OUT=\"0\" Mnemonic=\"\"/>";
    }
    project.Write("DNET_Net.xml", "<DNET_Net>" + rows + "</DNET_Net>");
    const ProjectCheck check = CheckProject(project.path());
    const Finding expected{E, "DNET_Net.xml",
                           "DNET_Net.xml lists 70 nodes: the network editor shows only the first 64 and drops the "
                           "rest at its next OK, while the image takes them all"};
    const std::vector<Finding> said = Said(check.findings);
    EXPECT_NE(std::find(said.begin(), said.end(), expected), said.end());
    EXPECT_EQ(check.nodes.size(), 70u);
}

// The readers take the first of what a document gives twice and pass over a second root: the check says so.
TEST(ProjectCheck, WhatTheReadersPassOverIsWarnedOf) {
    const std::string row = "<row ID=\"5\" NB_IN=\"1\" NB_OUT=\"1\" Mnemonic=\"\"/>";
    const std::string pargen = ReadFixture("check_clean/pargen.xml");
    const std::string network = "<DNET_Net>" + row + "</DNET_Net>";
    const struct {
        const char* file;
        std::string content;
        std::string warning;
    } cases[] = {
        {"DNET_Net.xml", "<DNET_Net>" + row + "</DNET_Net><DNET_Net>" + row + "</DNET_Net>",
         "DNET_Net.xml holds a second root element \"DNET_Net\", which is not read: only the first one is"},
        {"DNET_Net.xml", "<DNET_Net><row ID=\"5\" ID=\"9\" NB_IN=\"1\" NB_OUT=\"1\" Mnemonic=\"\"/></DNET_Net>",
         "DNET_Net.xml: element \"row\" gives the attribute \"ID\" twice; only the first is read"},
        // Many attributes: a repeat far along, of a near one and of a far one.
        {"DNET_Net.xml",
         "<DNET_Net><row ID=\"5\" NB_IN=\"1\" NB_OUT=\"1\" Mnemonic=\"\" a=\"\" b=\"\" c=\"\" d=\"\" e=\"\" "
         "NB_IN=\"2\"/></DNET_Net>",
         "DNET_Net.xml: element \"row\" gives the attribute \"NB_IN\" twice; only the first is read"},
        {"DNET_Net.xml",
         "<DNET_Net><row ID=\"5\" NB_IN=\"1\" NB_OUT=\"1\" Mnemonic=\"\" a=\"\" b=\"\" c=\"\" d=\"\" e=\"\" f=\"\" "
         "f=\"\"/></DNET_Net>",
         "DNET_Net.xml: element \"row\" gives the attribute \"f\" twice; only the first is read"},
        {"pargen.xml", "<Par_Gen><PROFI_ID>20</PROFI_ID>" + pargen.substr(std::string("<Par_Gen>").size()),
         "pargen.xml gives the setting \"PROFI_ID\" twice; only the first is read"},
        {"DNET_Net.xml", network + std::string(1, '\0') + "<row ID=\"6\"/>" + network,
         "DNET_Net.xml holds a NUL character at byte offset " + std::to_string(network.size()) +
             ", where reading stops: nothing from there on is read"},
        // Two bytes a character, the first of them zero for every ASCII one: only a whole zero character stops.
        {"DNET_Net.xml", Utf16(network + std::string(1, '\0') + "<DNET_Net/>"),
         "DNET_Net.xml holds a NUL character at byte offset " + std::to_string(2 + 2 * network.size()) +
             ", where reading stops: nothing from there on is read"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.warning);
        TempDir project;
        project.Write("pargen.xml", pargen);
        project.Write("DNET_Net.xml", network);
        project.Write(c.file, c.content);
        const std::vector<Finding> said = Said(CheckProject(project.path()).findings);
        EXPECT_EQ(std::count(said.begin(), said.end(), Finding{W, c.file, c.warning}), 1);
    }
    TempDir project;
    project.Write("pargen.xml", pargen);
    project.Write("DNET_Net.xml", Utf16(network));
    for (const Finding& f : CheckProject(project.path()).findings) EXPECT_EQ(f.text.find("NUL"), std::string::npos);
}

// A save killed while it rewrote a file in place leaves the file perhaps cut and its previous content in a copy.
TEST(ProjectCheck, ACopyAnInterruptedSaveLeftIsWarnedOfWithBothPaths) {
    TempDir project;
    for (const char* name : {"pargen.xml", "DNET_Net.xml", "DefByte.xml"}) {
        project.Write(name, ReadFixture(std::string("check_clean/") + name));
    }
    project.Write(".DefByte.xml.tessara-12", ReadFixture("check_clean/DefByte.xml"));
    project.Write("bin/bank.bin", "image");
    project.Write("bin/.bank.bin.tessara-3", "previous image");
    project.Write(".tessara-4.tmp", "a temporary, not a copy");
    const std::string lead = "An interrupted save of \"";
    const std::string bytes = project.File("DefByte.xml");
    const std::string image = project.File("bin/bank.bin");
    const std::vector<Finding> expected{
        {W, "DefByte.xml",
         lead + bytes + "\" left the whole previous content in \"" + project.File(".DefByte.xml.tessara-12") +
             "\"; its editor offers to put it back",
         FindingTarget::Whole(FindingDocument::DefByte)},
        {W, "bank.bin",
         lead + image + "\" left the whole previous content in \"" + project.File("bin/.bank.bin.tessara-3") + "\""}};
    EXPECT_EQ(CheckProject(project.path()).findings, expected);
}

}  // namespace
