#include "cli/command_line.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "base/file_system.h"
#include "support/command_runner.h"
#include "support/platform_reasons.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

using Outcome = CommandOutcome;

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// A copy of the demo project, so the test writes nothing into the source tree.
void CopyPlant1(const TempDir& project) {
    fs::copy(FixturePath("../../examples/Plant1"), project.path(), fs::copy_options::recursive);
}

TEST(CommandLine, WithoutACommandWordTheWizardStarts) {
    EXPECT_FALSE(Tessara({}).status.has_value());
    EXPECT_FALSE(Tessara({"--app-dir", "/tmp"}).status.has_value());
    EXPECT_FALSE(Tessara({"frobnicate", "x"}).status.has_value());
}

TEST(CommandLine, ImageOfTheDemoProjectIsTheWorkedExample) {
    TempDir project;
    CopyPlant1(project);
    const Outcome outcome = Tessara({"image", project.path() + "/"});
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(outcome.err, "");
    EXPECT_EQ(project.Read("bin/bank.bin"), ReadFixture("image_worked_example/expected_bank.bin"));
}

// Each of these reached the device before as a byte it cannot take. The check stops the image; --force builds
// exactly the bytes of the image format, the value kept modulo its field.
TEST(CommandLine, ImageRefusesValuesTheDeviceCannotTakeUnlessForced) {
    const struct {
        const char* file;
        const char* from;
        const char* to;
        const char* finding;
        size_t offset;
        uint8_t forced;
    } cases[] = {
        {"pargen.xml", "<PROFI_BAUD>10<", "<PROFI_BAUD>99<", "error\tpargen.xml\tPROFI_BAUD 99: ", 39, 99},
        {"pargen.xml", "<DNET_BAUD>2<", "<DNET_BAUD>-1<", "error\tpargen.xml\tDNET_BAUD -1: ", 43, 255},
        {"pargen.xml", "<PROFI_CANCEL_DATA>1<", "<PROFI_CANCEL_DATA>7<", "PROFI_CANCEL_DATA 7: ", 45, 7},
        {"DNET_Net.xml", "ID=\"5\"", "ID=\"300\"", "error\tnode 1 (ID 300)\tID 300: ", 16, 44},
    };
    for (const auto& c : cases) {
        TempDir project;
        CopyPlant1(project);
        project.Write("bin/bank.bin", "previous image");
        std::string document = project.Read(c.file);
        document.replace(document.find(c.from), std::string(c.from).size(), c.to);
        project.Write(c.file, document);

        const Outcome refused = Tessara({"image", project.path()});
        EXPECT_EQ(refused.status, 1) << c.to;
        EXPECT_TRUE(Contains(refused.err, c.finding)) << refused.err;
        EXPECT_EQ(refused.out, "");
        EXPECT_TRUE(refused.err.ends_with("\nbank.bin was not written: --force builds it anyway\n")) << refused.err;
        EXPECT_EQ(project.Read("bin/bank.bin"), "previous image");

        const Outcome forced = Tessara({"image", "--force", project.path()});
        EXPECT_EQ(forced.status, 0) << forced.err;
        std::string expected = ReadFixture("image_worked_example/expected_bank.bin");
        expected[c.offset] = static_cast<char>(c.forced);
        EXPECT_EQ(project.Read("bin/bank.bin"), expected) << c.to;
    }
}

// Confirmed and older documents hold -1 for the PROFIBUS rate; the device has always taken it as 255.
TEST(CommandLine, ImageOfAStoredProfibusRateOfMinusOneIsBuiltWithOneWarning) {
    TempDir project;
    CopyPlant1(project);
    std::string pargen = project.Read("pargen.xml");
    pargen.replace(pargen.find("<PROFI_BAUD>10<"), 15, "<PROFI_BAUD>-1<");
    project.Write("pargen.xml", pargen);
    const Outcome image = Tessara({"image", project.path()});
    EXPECT_EQ(image.status, 0) << image.err;
    std::string expected = ReadFixture("image_worked_example/expected_bank.bin");
    expected[39] = static_cast<char>(255);
    EXPECT_EQ(project.Read("bin/bank.bin"), expected);

    const Outcome check = Tessara({"check", project.path()});
    EXPECT_EQ(check.status, 0);
    EXPECT_FALSE(Contains(check.out, "error\t")) << check.out;
    EXPECT_TRUE(Contains(check.out,
                         "warning\tpargen.xml\tPROFI_BAUD -1: the device receives 255 as the PROFIBUS baud rate "
                         "code; OK in Set Communication writes 10 (\"Auto Baudrate\")\n"))
        << check.out;
}

// Version control keeps no empty folder: a checked-out project has no bin/ until the image makes it.
TEST(CommandLine, ImageMakesTheMissingBinFolderAndTheCheckNamesOneInTheWay) {
    TempDir project;
    CopyPlant1(project);
    fs::remove_all(project.File("bin"));
    const Outcome built = Tessara({"image", project.path()});
    EXPECT_EQ(built.status, 0) << built.err;
    EXPECT_EQ(project.Read("bin/bank.bin"), ReadFixture("image_worked_example/expected_bank.bin"));

    fs::remove_all(project.File("bin"));
    project.Write("bin", "not a folder");
    const Outcome check = Tessara({"check", project.path()});
    EXPECT_EQ(check.status, 1);
    EXPECT_TRUE(Contains(check.out, "error\tbank.bin\t\"" + project.File("bin") + "\" is not a folder")) << check.out;
    const Outcome refused = Tessara({"image", project.path()});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(project.Read("bin"), "not a folder");
}

// Written over a project's own file, an output would replace a document or the image. A file that is not there
// yet is compared by where its name leads.
TEST(CommandLine, GsdAndReportRefuseToReplaceTheProjectsOwnFiles) {
    TempDir project;
    CopyPlant1(project);
    ASSERT_EQ(Tessara({"image", project.path()}).status, 0);
    fs::remove(project.File("DefByte.xml"));
    TempDir elsewhere;
    std::vector<std::string> targets = {project.File("pargen.xml"), project.File("bin/../DNET_Net.xml"),
                                        project.File("./DefByte.xml"), project.File("bin/../PlcMap.xml")};
    // Links need a privilege on Windows that a test run may lack; the names through them are tried where it has it.
    std::error_code noLinks;
    fs::create_symlink(project.path(), elsewhere.File("link"), noLinks);
    if (!noLinks) fs::create_symlink(project.File("DefByte.xml"), elsewhere.File("dangling"), noLinks);
    if (!noLinks) {
        targets.push_back(elsewhere.File("link/bin/bank.bin"));
        targets.push_back(elsewhere.File("dangling"));
    } else {
        std::cout << "Names through links not tried: " << noLinks.message() << "\n";
    }
    const std::string pargen = project.Read("pargen.xml");
    const std::string network = project.Read("DNET_Net.xml");
    const std::string image = project.Read("bin/bank.bin");
    for (const char* word : {"gsd", "report"}) {
        for (const std::string& target : targets) {
            const Outcome outcome = Tessara({word, project.path(), target});
            EXPECT_EQ(outcome.status, 1) << word << " " << target;
            EXPECT_TRUE(Contains(outcome.err, "is a file of the project: the ")) << outcome.err;
        }
        EXPECT_EQ(Tessara({word, project.path(), elsewhere.File("out")}).status, 0) << word;
    }
    EXPECT_EQ(Tessara({"gsd", project.path(), project.File("pargen.xml")}).err,
              "\"pargen.xml\" is a file of the project: the GSD file needs another name\n");
    EXPECT_EQ(project.Read("pargen.xml"), pargen);
    EXPECT_EQ(project.Read("DNET_Net.xml"), network);
    EXPECT_EQ(project.Read("bin/bank.bin"), image);
    EXPECT_FALSE(fs::exists(project.File("DefByte.xml")));
}

TEST(CommandLine, FailedImageBuildLeavesThePreviousImageAsItWas) {
    struct Case {
        const char* file;
        std::string content;
        const char* expected;
    };
    const Case cases[] = {
        {"DNET_Net.xml", "<DNET_Net><row ID=\"5\"</DNET_Net>", "DNET_Net.xml"},
        {"DNET_Net.xml",
         "<DNET_Net><row ID=\"5\" NB_IN=\"65535\" NB_OUT=\"65535\"/>"
         "<row ID=\"6\" NB_IN=\"65535\" NB_OUT=\"65535\"/><row ID=\"7\" NB_IN=\"65535\" NB_OUT=\"65535\"/>"
         "<row ID=\"8\" NB_IN=\"65535\" NB_OUT=\"65535\"/><row ID=\"9\" NB_IN=\"1\" NB_OUT=\"1\"/>"
         "</DNET_Net>",
         "node 5 (ID 9)"},
        {"pargen.xml", "<Par_Gen><PROFI_ID>3</PROFI_ID></Par_Gen>", "Element \"PROFI_BAUD\" is missing"},
    };
    for (const Case& c : cases) {
        TempDir project;
        CopyPlant1(project);
        project.Write("bin/bank.bin", "previous image");
        project.Write(c.file, c.content);
        const Outcome outcome = Tessara({"image", project.path()});
        EXPECT_EQ(outcome.status, 1);
        EXPECT_TRUE(Contains(outcome.err, c.expected)) << outcome.err;
        EXPECT_EQ(project.Read("bin/bank.bin"), "previous image");
    }
}

TEST(CommandLine, ErrorsGoToStandardErrorWithStatusOne) {
    TempDir project;
    const Outcome missing = Tessara({"image", project.File("nowhere")});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "Project folder \"" + project.File("nowhere") + "\" does not exist\n");

    project.Write("bin", "not a folder");
    const Outcome noBin = Tessara({"image", "--force", project.path()});
    EXPECT_EQ(noBin.status, 1);
    EXPECT_EQ(noBin.err, "Cannot write \"" + project.File("bin/bank.bin") + "\". " + kPathThroughAFileReason + "\n");

    const Outcome gsd = Tessara({"gsd", project.path(), project.File("no/dev.gsd")});
    EXPECT_EQ(gsd.status, 1);
    EXPECT_EQ(gsd.err, "Cannot create file \"" + project.File("no/dev.gsd") + "\". No such file or directory\n");

    const Outcome notFound = Tessara({"inspect", project.File("bank.bin")});
    EXPECT_EQ(notFound.status, 1);
    EXPECT_TRUE(Contains(notFound.err, project.File("bank.bin"))) << notFound.err;

    const Outcome folder = Tessara({"inspect", project.path()});
    EXPECT_EQ(folder.status, 1);
    EXPECT_EQ(folder.err, "Cannot read \"" + project.path() + "\": it is a folder\n");

    project.Write("DNET_Net.xml", "<DNET_Net><row ID=\"\x1b[2J\x1b]2;x\a\"</DNET_Net>");
    const Outcome quoted = Tessara({"image", "--force", project.path()});
    EXPECT_EQ(quoted.status, 1);
    EXPECT_TRUE(Contains(quoted.err, "<row ID=\"\\x1b[2J\\x1b]2;x\\x07\"")) << quoted.err;
    fs::remove(project.File("DNET_Net.xml"));

    project.Write("short.bin", std::string("\x0C\0\0\0", 4));
    const Outcome invalid = Tessara({"inspect", project.File("short.bin")});
    EXPECT_EQ(invalid.status, 1);
    EXPECT_EQ(invalid.err, project.File("short.bin") +
                               ": Not a valid configuration image: the file is 4 bytes long, shorter than the "
                               "12-byte header\n");
    EXPECT_EQ(invalid.out, "");
}

TEST(CommandLine, GsdWritesTheProjectsDescription) {
    TempDir project;
    project.Write("pargen.xml", ReadFixture("gsd_in100_out20/pargen.xml"));
    const Outcome outcome = Tessara({"gsd", project.path(), project.File("VO48210.gsd")});
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(project.Read("VO48210.gsd"), ReadFixture("gsd_in100_out20/expected.gsd"));
}

TEST(CommandLine, GsdRefusesByteCountsTheDeviceCannotTakeUnlessForced) {
    TempDir project;
    std::string pargen = ReadFixture("gsd_in100_out20/pargen.xml");
    pargen.replace(pargen.find("<PROFI_NB_IN>100<"), 17, "<PROFI_NB_IN>200<");
    project.Write("pargen.xml", pargen);
    const Outcome refused = Tessara({"gsd", project.path(), project.File("VO48210.gsd")});
    EXPECT_EQ(refused.status, 1);
    EXPECT_TRUE(Contains(refused.err, "error\tpargen.xml\tPROFI_NB_IN 200: ")) << refused.err;
    EXPECT_FALSE(fs::exists(project.File("VO48210.gsd")));

    const Outcome forced = Tessara({"gsd", "--force", project.path(), project.File("VO48210.gsd")});
    EXPECT_EQ(forced.status, 0) << forced.err;
    EXPECT_TRUE(Contains(project.Read("VO48210.gsd"), "200")) << project.Read("VO48210.gsd");
}

// A folder named like a document is no missing document: the image of a project without nodes would be built.
TEST(CommandLine, AFolderNamedLikeADocumentIsRefusedAsAFolder) {
    for (const char* name : {"DNET_Net.xml", "pargen.xml", "DefByte.xml"}) {
        TempDir project;
        CopyPlant1(project);
        fs::remove(project.File(name));
        project.MakeDir(name);
        const Outcome forced = Tessara({"image", "--force", project.path()});
        EXPECT_EQ(forced.status, 1) << name;
        EXPECT_EQ(forced.err, "Cannot read \"" + project.File(name) + "\": it is a folder\n");
        EXPECT_FALSE(fs::exists(project.File("bin/bank.bin"))) << name;
    }
}

TEST(CommandLine, InspectPrintsTheImageAsTableOrJson) {
    const std::string file = FixturePath("image_worked_example/expected_bank.bin");
    const Outcome table = Tessara({"inspect", file});
    EXPECT_EQ(table.status, 0);
    for (const char* line : {"Configuration image: 47 bytes, 2 nodes\n",
                             "Header: bitmaps at 12, node records at 16, parameter block at 38\n",
                             "   1    5         3          2      12       13       2        1  1, 3 / 2\n",
                             "   2   12        10          0      14       16       3        0  2, 8-9 / -\n",
                             "  PROFIBUS baud rate              10 (Auto Baudrate)\n",
                             "  DeviceNet baud rate             2 (500K)\n", "  Cancel data on DeviceNet error  1\n"}) {
        EXPECT_TRUE(Contains(table.out, line)) << line << "\n" << table.out;
    }

    const Outcome json = Tessara({"inspect", "--json", file});
    EXPECT_EQ(json.status, 0);
    EXPECT_TRUE(Contains(json.out, "{\"length\":47,\"header\":{\"bitmaps\":12,\"records\":16,\"parameters\":38},"))
        << json.out;
    EXPECT_TRUE(Contains(json.out, "\"InSelected\":[2,8,9],\"OutSelected\":[]}")) << json.out;
    EXPECT_TRUE(Contains(json.out, "\"PROFI_BAUD\":10,\"PROFI_BAUD_NAME\":\"Auto Baudrate\"")) << json.out;
    EXPECT_TRUE(Contains(json.out, "\"DNET_BAUD\":2,\"DNET_BAUD_NAME\":\"500K\"")) << json.out;
}

TEST(CommandLine, UsageErrorsGiveStatusTwoAndHelpGivesZero) {
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{{"image"},
                                                                                      {"image", "a", "b"},
                                                                                      {"gsd", "a"},
                                                                                      {"inspect", "--yaml", "f"},
                                                                                      {"image", "--json", "a"},
                                                                                      {"check", "--force", "a"}}) {
        const Outcome outcome = Tessara(args);
        EXPECT_EQ(outcome.status, 2) << args[0];
        EXPECT_TRUE(Contains(outcome.err, "tessara image [--force] PROJECT_DIR")) << outcome.err;
    }
    const Outcome help = Tessara({"gsd", "--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(Contains(help.out, "tessara inspect [--json] FILE"));
}

}  // namespace
