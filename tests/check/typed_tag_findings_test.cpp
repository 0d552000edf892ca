#include "check/typed_tag_findings.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "check/findings_text.h"
#include "support/temp_dir.h"

using namespace tessara::check;

namespace tessara::check {

// Found by the test framework's printer through the argument's namespace: a finding as the check command prints
// it, with where it leads.
void PrintTo(const Finding& f, std::ostream* out) {
    *out << FindingLine(f) << " -> document " << static_cast<int>(f.target.document) << " index " << f.target.index
         << " output " << f.target.output << " byte " << f.target.byte;
}

}  // namespace tessara::check

namespace {

constexpr Severity E = Severity::Error;
constexpr Severity W = Severity::Warning;

FindingTarget TagBytes(size_t node, bool output, int byte) {
    FindingTarget target = FindingTarget::NodeBytes(node, output);
    target.byte = byte;
    return target;
}

// A drive of 4 input bytes (status word, speed), then a node of 65 selected input bytes (byte 63 left out) whose
// bytes 61 and on lie in the second input slot; the output area takes 3 of the 4 selected output bytes. Of the
// tags of PlcMap.xml only Status and Speed are sound; each other one has a fault of its own, and leads to the
// byte editor at its first byte (a tag of a node that is gone, to the network editor).
TEST(TypedTagFindings, EachFaultyTagIsOneWarningLeadingToItsFirstByte) {
    const ProjectCheck check = CheckProject(FixturePath("check_typed_tags"));
    const std::string tag = "Typed tag ";
    const std::vector<Finding> expected = {
        {E, "PROFIBUS output", "4 DeviceNet output bytes are selected, but the PROFIBUS output area holds 3",
         FindingTarget::Setting("PROFI_NB_OUT")},
        {W, "PlcMap.xml",
         tag + "speed (INT, node 2 byte 1 of the input area): its name is taken by Speed (INT, node 1 byte 3 of the "
               "input area)",
         TagBytes(1, false, 0)},
        {W, "PlcMap.xml",
         tag + "Level (INT, node 2 byte 60 of the input area): its bytes lie in slots 1 and 2, which the master may "
               "place apart",
         TagBytes(1, false, 59)},
        {W, "PlcMap.xml",
         tag + "Gap (INT, node 2 byte 62 of the input area): byte 63 of the node is not selected, so the 2 bytes of "
               "the INT are not consecutive in the area",
         TagBytes(1, false, 61)},
        {W, "PlcMap.xml",
         tag + "Out (WORD, node 2 byte 1 of the output area): its bytes do not all fit: past the 3 bytes of "
               "pargen.xml",
         TagBytes(1, true, 0)},
        {W, "PlcMap.xml",
         tag + "Over (INT, node 1 byte 2 of the input area): it shares bytes with Status (WORD, node 1 byte 1 of the "
               "input area)",
         TagBytes(0, false, 1)},
        {W, "PlcMap.xml", tag + "Ghost (BYTE, node 9 byte 1 of the input area): the network has no node 9",
         FindingTarget::Whole(FindingDocument::DNetNet)},
        {W, "PlcMap.xml",
         tag + "INT (WORD, node 2 byte 64 of the input area): \"INT\" is a reserved word of IEC 61131-3",
         TagBytes(1, false, 63)},
    };
    EXPECT_EQ(check.findings, expected);
    // The command line's JSON carries them as it carries every finding.
    EXPECT_NE(ProjectCheckJson(check).find("\"Typed tag Ghost (BYTE, node 9 byte 1 of the input area): the network "
                                           "has no node 9\""),
              std::string::npos);
}

// Tags are judged on the selections and slots the documents give: where those cannot be read, no tag is
// faulted for it (the unreadable document is the finding).
TEST(TypedTagFindings, NoneWhereTheSelectionsCannotBeRead) {
    TempDir project;
    for (const char* name : {"pargen.xml", "DNET_Net.xml", "PlcMap.xml"})
        project.Write(name, ReadFixture(std::string("check_typed_tags/") + name));
    project.Write("DefByte.xml", "<DefBytes><Nodo_DNET>");
    const ProjectCheck check = CheckProject(project.path());
    ASSERT_FALSE(check.findings.empty());
    for (const Finding& f : check.findings) EXPECT_NE(f.place, "PlcMap.xml") << f.text;
}

}  // namespace
