#include "plc/eds_tags.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "plc/plc_symbols.h"
#include "support/temp_dir.h"

using namespace tessara::documents;
using namespace tessara::plc;

namespace {

TypedTag Tag(const char* name, AreaDirection direction, uint32_t byte, TagType type) {
    return {name, direction, 0, byte, type, ByteOrder::Little};
}

constexpr auto kIn = AreaDirection::Input;
constexpr auto kOut = AreaDirection::Output;

TEST(EdsTags, TheDrivesValuesGiveNamedSelectedBytesAndTagsOfUniqueIecNames) {
    const EdsDevice drive = ReadEdsFile(FixturePath("eds_assembly/drive.eds"));
    // Another node has a tag named Speed, in another case; this node has its own DINT where Position would go.
    const DeviceImport import = DeviceImportOf(drive, 7, {{"SPEED", kIn, 1, 1, TagType::Int, ByteOrder::Little}},
                                               {Tag("Pos", kIn, 5, TagType::Dint)});
    const std::vector<NamedByte> bytes = {{kIn, 1, "Status word"},
                                          {kIn, 2, "Status word byte 2"},
                                          {kIn, 3, "Speed"},
                                          {kIn, 4, "Speed byte 2"},
                                          {kIn, 5, "Position"},
                                          {kIn, 6, "Position byte 2"},
                                          {kIn, 7, "Position byte 3"},
                                          {kIn, 8, "Position byte 4"},
                                          {kIn, 9, "Mode"},
                                          {kIn, 10, "Ready, Fault"},
                                          {kOut, 1, "Control word"},
                                          {kOut, 2, "Control word byte 2"},
                                          {kOut, 3, "Speed reference"},
                                          {kOut, 4, "Speed reference byte 2"}};
    EXPECT_EQ(import.bytes, bytes);
    const std::vector<TypedTag> tags = {Tag("Status_word", kIn, 1, TagType::Word), Tag("Speed_2", kIn, 3, TagType::Int),
                                        Tag("Control_word", kOut, 1, TagType::Word),
                                        Tag("Speed_reference", kOut, 3, TagType::Int)};
    EXPECT_EQ(import.tags, tags);
    EXPECT_EQ(DeviceImportQuestion(import, 4),
              "The EDS file describes the values this device exchanges. Select and name their 14 bytes and make these "
              "typed tags?\n\nStatus_word (WORD, input byte 1)\nSpeed_2 (INT, input byte 3)\nControl_word (WORD, "
              "output byte 1)\nSpeed_reference (INT, output byte 3)\n\nA typed tag is a run of selected bytes, so the "
              "bytes of each value are selected. The bytes and tags are saved at OK.");
}

TEST(EdsTags, NamesThePlcWouldRefuseOrThatAreTakenGetANumber) {
    EdsDevice device;
    device.InputBytes = 8;
    device.inputMembers = {{"Word", 0, 2, TagType::Word},  // a reserved word
                           {"", 2, 2, TagType::Int},       // no name: the byte's default symbol
                           {"A very long name of a value indeed", 4, 4, TagType::Real}};
    const std::vector<TypedTag> taken = {Tag("a_very_long_name_of_a_va", kOut, 1, TagType::Word)};
    const DeviceImport import = DeviceImportOf(device, 12, taken, {});
    ASSERT_EQ(import.tags.size(), 3u);
    EXPECT_EQ(import.tags[0].name, "Word_2");
    EXPECT_EQ(import.tags[1].name, "N12_I3");
    EXPECT_EQ(import.tags[2].name, "A_very_long_name_of_a_2");
    for (const TypedTag& tag : import.tags) EXPECT_FALSE(PlcNameProblem(tag.name)) << tag.name;
    EXPECT_EQ(DeviceImportQuestion({{{kIn, 1, "Mode"}}, {}}, 10),
              "The EDS file describes the values this device exchanges. Select and name their 1 byte?");
}

// A data sheet may list thousands of values of one name: each gets its own, without a pass over the others.
TEST(EdsTags, ADeviceOfManyValuesOfOneNameIsNamedAtOnce) {
    EdsDevice device;
    device.InputBytes = 65534;
    for (size_t offset = 0; offset < 65534; offset += 2) device.inputMembers.push_back({"V", offset, 2, TagType::Int});
    const DeviceImport import = DeviceImportOf(device, 1, {Tag("v_2", kOut, 1, TagType::Int)}, {});
    ASSERT_EQ(import.tags.size(), 32767u);
    EXPECT_EQ(import.tags[0].name, "V");
    EXPECT_EQ(import.tags[1].name, "V_3");
    EXPECT_EQ(import.tags.back().name, "V_32768");
    EXPECT_EQ(import.bytes.size(), 65534u);
    // The question names the first few and counts the rest; the list behind it has them all.
    const std::string question = DeviceImportQuestion(import, 2);
    EXPECT_NE(question.find("tags?\n\nV (INT, input byte 1)\nV_3 (INT, input byte 3)\nand 32765 more\n\n"),
              std::string::npos);
    EXPECT_EQ(std::count(question.begin(), question.end(), '\n'), 6);
    const std::string list = DeviceImportTagList(import);
    EXPECT_EQ(std::count(list.begin(), list.end(), '\n'), 32766);
}

}  // namespace
