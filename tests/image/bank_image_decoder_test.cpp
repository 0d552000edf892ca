#include "image/bank_image_decoder.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "support/temp_dir.h"

using namespace tessara::image;

namespace {

std::vector<uint8_t> Bytes(const std::string& text) {
    return {text.begin(), text.end()};
}

std::vector<uint8_t> WorkedExample() {
    const std::string bytes = ReadFixture("image_worked_example/expected_bank.bin");
    return {bytes.begin(), bytes.end()};
}

TEST(BankImageDecoder, ReadsNodesSelectionsAndParameters) {
    const std::vector<uint8_t> bytes = WorkedExample();
    const DecodedImage image = DecodeBankImage(bytes);
    EXPECT_EQ(image.length, 47u);
    EXPECT_EQ(image.recordsOffset, 16u);
    EXPECT_EQ(image.parametersOffset, 38u);
    ASSERT_EQ(image.nodes.size(), 2u);
    EXPECT_EQ(image.nodes[0].ID, 5);
    EXPECT_EQ(image.nodes[0].InSelected, (std::vector<uint32_t>{1, 3}));
    EXPECT_EQ(image.nodes[0].OutSelected, (std::vector<uint32_t>{2}));
    EXPECT_EQ(image.nodes[1].NB_IN, 10);
    EXPECT_EQ(image.nodes[1].InSelected, (std::vector<uint32_t>{2, 8, 9}));
    EXPECT_TRUE(image.nodes[1].OutSelected.empty());
    ASSERT_TRUE(image.parameters.has_value());
    EXPECT_EQ(image.parameters->PROFI_BAUD, 10);
    EXPECT_EQ(image.parameters->DNET_DEV_ID, 62);
    EXPECT_EQ(image.parameters->NodeCount, 2);
    EXPECT_EQ(image.parameters->PROFI_CANCEL_DATA, 1);
}

TEST(BankImageDecoder, ImageWithoutParameterBlockEndsAfterTheRecords) {
    std::vector<uint8_t> empty = {12, 0, 0, 0, 12, 0, 0, 0, 12, 0, 0, 0};
    const DecodedImage image = DecodeBankImage(empty);
    EXPECT_TRUE(image.nodes.empty());
    EXPECT_FALSE(image.parameters.has_value());
}

TEST(BankImageDecoder, RefusesImagesWhosePartsDoNotAgree) {
    struct Case {
        const char* what;
        std::function<void(std::vector<uint8_t>&)> damage;
        const char* expected;
    };
    const Case cases[] = {
        {"short header", [](auto& b) { b.resize(8); }, "8 bytes long, shorter than the 12-byte header"},
        {"cut in the records", [](auto& b) { b.resize(30); }, "parameter block at offset 38, outside"},
        {"cut in the parameters", [](auto& b) { b.resize(40); }, "has 2 bytes instead of 9 (truncated)"},
        {"bytes after the parameters", [](auto& b) { b.push_back(0); }, "has 10 bytes instead of 9"},
        {"bitmap area not at 12", [](auto& b) { b[0] = 13; }, "bitmaps at offset 13, not 12"},
        {"records not whole", [](auto& b) { b[8] = 37; }, "are not whole 11-byte records"},
        {"input bitmap elsewhere", [](auto& b) { b[16 + 5] = 13; },
         "input bitmap of node 1 (ID 5) is recorded at offset 13, but the bitmaps before it end at 12"},
        {"bitmap past the records", [](auto& b) { b[27 + 1] = 30; }, "input bitmap of node 2 (ID 12) runs past"},
        {"count disagrees", [](auto& b) { b[27 + 9] = 4; }, "has 3 bytes selected, but its record counts 4"},
        {"node count disagrees", [](auto& b) { b[38 + 6] = 3; }, "counts 3 nodes, but the image has 2"},
        {"a document", [](auto& b) { b = Bytes("<Par_Gen><PROFI_ID>3</PROFI_ID><PROFI_BAUD>"); },
         "Not a valid configuration image: it starts with text (\"<Par_Gen><PROFI_ID>3</PR...\"), not with the "
         "12-byte header of an image"},
        {"a short text", [](auto& b) { b = Bytes("hi\n"); }, "it starts with text (\"hi...\")"},
        {"UTF-8 text", [](auto& b) { b = Bytes("\xEF\xBB\xBFK\xC3\xA4se 12345678"); },
         "it starts with text, not with the 12-byte header"},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> bytes = WorkedExample();
        c.damage(bytes);
        try {
            DecodeBankImage(bytes);
            ADD_FAILURE() << c.what << " accepted";
        } catch (const InvalidImageError& e) {
            EXPECT_NE(std::string(e.what()).find(c.expected), std::string::npos) << c.what << ": " << e.what();
        }
    }
}

}  // namespace
