#include "gsd/gsd_file.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>

#include "documents/document_error.h"
#include "documents/profibus_areas.h"
#include "support/temp_dir.h"

using namespace tessara::documents;
using namespace tessara::gsd;

namespace {

class GsdFixture : public testing::TestWithParam<const char*> {};

TEST_P(GsdFixture, WritesTheExpectedTextAndTheSameFileTwice) {
    TempDir project;
    project.Write("pargen.xml", ReadFixture(std::string(GetParam()) + "/pargen.xml"));
    const std::string target = project.File("device.gsd");
    WriteGsdFile(project.path(), target);
    const std::string first = project.Read("device.gsd");
    EXPECT_EQ(first, ReadFixture(std::string(GetParam()) + "/expected.gsd"));
    WriteGsdFile(project.path(), target);
    EXPECT_EQ(project.Read("device.gsd"), first);
}

INSTANTIATE_TEST_SUITE_P(Sizes, GsdFixture,
                         testing::Values("gsd_in100_out20", "gsd_in0_out0", "gsd_in128_out128", "gsd_in64_out0",
                                         "gsd_in65_out0", "gsd_in0_out20"),
                         [](const testing::TestParamInfo<const char*>& info) { return std::string(info.param); });

TEST(GsdFile, SizesComeOnlyFromTheProjectsOwnSettings) {
    struct Case {
        const char* pargen;  // nullptr: no document
        int32_t nbIn;
        int32_t nbOut;
    };
    const Case cases[] = {
        {nullptr, 0, 0},
        {"<Par_Gen><PROFI_NB_OUT>20</PROFI_NB_OUT></Par_Gen>", 0, 20},
        {"<Par_Gen><PROFI_NB_IN>x</PROFI_NB_IN><PROFI_NB_OUT> $40</PROFI_NB_OUT></Par_Gen>", 0, 64},
        {"<Par_Gen><PROFI_NB_IN>100</PROFI_NB_IN><PROFI_NB_OUT></PROFI_NB_OUT></Par_Gen>", 100, 0},
        {"<Par_Gen><PROFI_NB_IN><b/></PROFI_NB_IN><PROFI_NB_OUT>7</PROFI_NB_OUT></Par_Gen>", 0, 7},
    };
    TempDir earlier;
    earlier.Write("pargen.xml", ReadFixture("gsd_in128_out128/pargen.xml"));
    for (const Case& c : cases) {
        ASSERT_EQ(ReadProfibusAreas(earlier.path()).NbIn, 128);
        TempDir project;
        if (c.pargen) project.Write("pargen.xml", c.pargen);
        const ProfibusAreas sizes = ReadProfibusAreas(project.path());
        EXPECT_EQ(sizes.NbIn, c.nbIn) << (c.pargen ? c.pargen : "no document");
        EXPECT_EQ(sizes.NbOut, c.nbOut) << (c.pargen ? c.pargen : "no document");
    }
}

TEST(GsdFile, WithoutSettingsTheFileIsThatOfZeroBytes) {
    TempDir project;
    WriteGsdFile(project.path(), project.File("device.gsd"));
    EXPECT_EQ(project.Read("device.gsd"), ReadFixture("gsd_in0_out0/expected.gsd"));
}

TEST(GsdFile, NegativeCountWritesNoModulesButCountsOneSlot) {
    EXPECT_EQ(ModuleCount(-5), 1);
    EXPECT_EQ(ModuleCount(-64), -1);
    const std::string text = GsdText(SizesFor(-5, 0));
    EXPECT_NE(text.find("\r\nMax_Module=1\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\nMax_Input_Len=-5\r\n"), std::string::npos);
    EXPECT_EQ(text.find("Module=\"DI"), std::string::npos);
    EXPECT_NE(text.find("\r\nSlotDefinition\r\nSlot(1) = \"Slot 1\" 1 1\r\nEndSlotDefinition\r\n"), std::string::npos);
}

TEST(GsdFile, DataLengthOfHugeCountsWrapsInsteadOfOverflowing) {
    ProfiSizes sizes;  // module counts 0: only the size lines matter here
    sizes.NbIn = INT32_MAX;
    sizes.NbOut = 1;
    EXPECT_NE(GsdText(sizes).find("\r\nMax_Data_Len=-2147483648\r\n"), std::string::npos);
}

TEST(GsdFile, HandEditedCountOutsideAnyDeviceIsRefusedBeforeWriting) {
    const struct {
        const char* in;
        const char* out;
        const char* message;
    } cases[] = {
        {"20", "2000000000", "PROFI_NB_OUT 2000000000 in pargen.xml is too large for a GSD file: at most 65535 bytes"},
        {"-5", "20", "PROFI_NB_IN -5 in pargen.xml is negative: a GSD file takes 0 to 65535 bytes"},
    };
    for (const auto& c : cases) {
        TempDir project;
        project.Write("pargen.xml", std::string("<Par_Gen><PROFI_NB_IN>") + c.in + "</PROFI_NB_IN><PROFI_NB_OUT>" +
                                        c.out + "</PROFI_NB_OUT></Par_Gen>");
        try {
            WriteGsdFile(project.path(), project.File("device.gsd"));
            ADD_FAILURE() << "written";
        } catch (const std::runtime_error& e) {
            EXPECT_STREQ(e.what(), c.message);
        }
        EXPECT_FALSE(std::filesystem::exists(project.File("device.gsd")));
    }
}

TEST(GsdFile, UnparsableSettingsStopBeforeAnythingIsWritten) {
    TempDir project;
    project.Write("pargen.xml", "<Par_Gen><PROFI_NB_IN>1</Par_Gen>");
    EXPECT_THROW(WriteGsdFile(project.path(), project.File("device.gsd")), ParseError);
    EXPECT_FALSE(std::filesystem::exists(project.File("device.gsd")));
}

TEST(GsdFile, TargetThatCannotBeCreatedIsReportedWithTheSystemsReason) {
    TempDir project;
    const std::string target = project.File("missing/device.gsd");
    try {
        WriteGsdFile(project.path(), target);
        ADD_FAILURE() << "written";
    } catch (const std::runtime_error& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot create file \"" + target + "\". No such file or directory");
    }
}

}  // namespace
