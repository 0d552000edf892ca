#include "image/bank_image.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "base/file_system.h"
#include "documents/document_error.h"
#include "support/platform_reasons.h"
#include "support/temp_dir.h"

using namespace tessara::base;
using namespace tessara::documents;
using namespace tessara::image;

namespace {

namespace fs = std::filesystem;

std::string Bytes(const BankImage& image) {
    return std::string(image.bytes.begin(), image.bytes.end());
}

// Copies the documents of a fixture folder into a fresh project with its bin folder.
void CopyDocuments(const std::string& fixture, const TempDir& project) {
    project.MakeDir("bin");
    for (const char* name : {"pargen.xml", "DNET_Net.xml", "DefByte.xml"}) {
        const std::string source = FixturePath(fixture + "/" + name);
        if (FileExists(source)) project.Write(name, ReadWholeFile(source));
    }
}

class BankImageFixture : public testing::TestWithParam<const char*> {};

TEST_P(BankImageFixture, WritesTheExpectedBytesAndTheSameFileTwice) {
    TempDir project;
    CopyDocuments(GetParam(), project);
    WriteBankFile(project.path(), BuildBankImage(project.path()));
    const std::string first = project.Read("bin/bank.bin");
    EXPECT_EQ(first, ReadFixture(std::string(GetParam()) + "/expected_bank.bin"));

    WriteBankFile(project.path(), BuildBankImage(project.path()));
    EXPECT_EQ(project.Read("bin/bank.bin"), first);
}

INSTANTIATE_TEST_SUITE_P(Projects, BankImageFixture,
                         testing::Values("image_worked_example", "image_empty_network",
                                         "image_empty_network_with_pargen", "image_no_network"),
                         [](const testing::TestParamInfo<const char*>& info) { return std::string(info.param); });

TEST(BankImage, ProjectWithoutNetworkHasNoNodesEvenAfterAnotherProjectsBuild) {
    TempDir plant;
    TempDir bare;
    CopyDocuments("image_worked_example", plant);
    CopyDocuments("image_no_network", bare);
    ASSERT_EQ(BuildBankImage(plant.path()).nodes.size(), 2u);
    const BankImage image = BuildBankImage(bare.path());
    EXPECT_TRUE(image.nodes.empty());
    EXPECT_EQ(Bytes(image), ReadFixture("image_no_network/expected_bank.bin"));
}

TEST(BankImage, RecordsTheBitmapOffsetsAndCountsInTheNodeTable) {
    TempDir project;
    CopyDocuments("image_worked_example", project);
    const BankImage image = BuildBankImage(project.path());
    EXPECT_EQ(image.BankLength(), 47);
    ASSERT_EQ(image.nodes.size(), 2u);
    EXPECT_EQ(image.nodes[0].InMapPos, 12);
    EXPECT_EQ(image.nodes[0].OutMapPos, 13);
    EXPECT_EQ(image.nodes[1].InMapPos, 14);
    EXPECT_EQ(image.nodes[1].OutMapPos, 16);
    EXPECT_EQ(image.nodes[1].InSelCount, 3);
    EXPECT_EQ(image.nodes[1].OutSelCount, 0);
}

std::string SelectRows(int count, int selectedFrom) {
    std::string rows;
    for (int j = 1; j <= count; ++j)
        rows += j >= selectedFrom ? "<row Select=\"Y\" Mnemonic=\"\"/>" : "<row Select=\"N\" Mnemonic=\"\"/>";
    return rows;
}

TEST(BankImage, StoresValuesModuloTheirFieldsAndSparseBitmapsBitByBit) {
    TempDir project;
    project.Write("DNET_Net.xml",
                  "<DNET_Net><row ID=\"300\" NB_IN=\"300\" NB_OUT=\"9\" Mnemonic=\"\"/>"
                  "<row ID=\"1\" NB_IN=\"0\" NB_OUT=\"0\" Mnemonic=\"\"/></DNET_Net>");
    project.Write("DefByte.xml", "<DefBytes><Nodo_DNET><ByteIN>" + SelectRows(300, 1) + "</ByteIN><ByteOUT>" +
                                     SelectRows(9, 9) + "</ByteOUT></Nodo_DNET></DefBytes>");
    project.Write("pargen.xml",
                  "<Par_Gen><PROFI_ID>$7D</PROFI_ID><PROFI_BAUD>-1</PROFI_BAUD><PROFI_NB_IN>128</PROFI_NB_IN>"
                  "<PROFI_NB_OUT>0</PROFI_NB_OUT><PROFI_CANCEL_DATA> 1</PROFI_CANCEL_DATA><DNET_DEV_ID>63</DNET_DEV_ID>"
                  "<DNET_BAUD>257</DNET_BAUD><DNET_CANCEL_DATA>true</DNET_CANCEL_DATA></Par_Gen>");
    const BankImage image = BuildBankImage(project.path());
    const std::vector<uint8_t>& b = image.bytes;
    // 38 input bitmap bytes at 12, two output bitmap bytes at 50, records at 52.
    ASSERT_EQ(b.size(), 12u + 38 + 2 + 22 + 9);
    EXPECT_EQ(b[12], 0xFF);
    EXPECT_EQ(b[12 + 37], 0x0F);  // bytes 297 to 300
    EXPECT_EQ(b[50], 0x00);
    EXPECT_EQ(b[51], 0x01);  // only output byte 9
    const std::vector<uint8_t> first(b.begin() + 52, b.begin() + 63);
    EXPECT_EQ(first, (std::vector<uint8_t>{44, 0x2C, 0x01, 9, 0, 12, 0, 50, 0, 44, 1}));
    // A node without bytes points both offsets at the end of the bitmaps.
    const std::vector<uint8_t> second(b.begin() + 63, b.begin() + 74);
    EXPECT_EQ(second, (std::vector<uint8_t>{1, 0, 0, 0, 0, 52, 0, 52, 0, 0, 0}));
    const std::vector<uint8_t> block(b.begin() + 74, b.end());
    EXPECT_EQ(block, (std::vector<uint8_t>{125, 255, 128, 0, 63, 1, 2, 1, 0}));
}

TEST(BankImage, MissingOrUnreadableSettingStopsTheBuildNamingDocumentAndElement) {
    struct Case {
        const char* pargen;
        const char* expected;
    };
    const Case cases[] = {
        {"<Par_Gen><PROFI_ID>3</PROFI_ID></Par_Gen>", "Element \"PROFI_BAUD\" is missing"},
        {"<Par_Gen><PROFI_ID>3x</PROFI_ID></Par_Gen>", "Element \"PROFI_ID\": '3x' is not a valid integer value"},
        {"<Par_Gen><PROFI_ID><a/></PROFI_ID></Par_Gen>", "Element \"PROFI_ID\": Element does not contain a single"},
    };
    for (const Case& c : cases) {
        TempDir project;
        project.Write("DNET_Net.xml", "<DNET_Net/>");
        const std::string path = project.Write("pargen.xml", c.pargen);
        try {
            BuildBankImage(project.path());
            ADD_FAILURE() << c.pargen;
        } catch (const DocumentError& e) {
            EXPECT_NE(std::string(e.what()).find(c.expected), std::string::npos) << e.what();
            EXPECT_NE(std::string(e.what()).find(path), std::string::npos) << e.what();
        }
    }
}

// A checked-out project may lack bin/: it is made. Something in its way is an error with path and reason, and a
// project folder that is gone is never recreated.
TEST(BankImage, MissingBinFolderIsMadeAndOneInTheWayIsAnErrorWithPathAndReason) {
    TempDir project;
    project.Write("DNET_Net.xml", "<DNET_Net/>");
    const BankImage image = BuildBankImage(project.path());
    WriteBankFile(project.path(), image);
    EXPECT_EQ(project.Read("bin/bank.bin").size(), 12u);

    std::filesystem::remove_all(project.File("bin"));
    project.Write("bin", "in the way");
    const std::string gone = project.File("gone");
    for (const auto& [dir, reason] :
         {std::pair{project.path(), kPathThroughAFileReason}, std::pair{gone, "No such file or directory"}}) {
        try {
            WriteBankFile(dir, image);
            ADD_FAILURE() << "written into " << dir;
        } catch (const std::runtime_error& e) {
            const std::string message = e.what();
            EXPECT_NE(message.find(dir + kPathSeparator + "bin" + kPathSeparator + "bank.bin"), std::string::npos)
                << message;
            EXPECT_NE(message.find(reason), std::string::npos) << message;
        }
    }
    EXPECT_FALSE(std::filesystem::exists(gone));
}

}  // namespace
