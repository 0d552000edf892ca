#include "plc/swap_program.h"

#include <gtest/gtest.h>

#include "plc/address_map.h"

using namespace tessara::documents;
using namespace tessara::plc;

namespace {

std::vector<SelectedByte> Bytes(uint32_t count, const std::string& stem) {
    std::vector<SelectedByte> bytes;
    for (uint32_t b = 1; b <= count; ++b) bytes.push_back({b, stem + std::to_string(b)});
    return bytes;
}

const StPou& Program(const SwapProgram& program) {
    return program.pous.back();
}

// Each type's statement, in both directions: the raw bit string swapped and converted into the tag's type, or
// the tag converted and swapped into its raw bit string.
TEST(SwapProgram, EachTypeIsSwappedAndConvertedInItsDirection) {
    const NodeIo node{1, 5, "Drive", 28, 10, Bytes(28, "I"), Bytes(10, "Q")};
    constexpr AreaDirection I = AreaDirection::Input;
    constexpr AreaDirection Q = AreaDirection::Output;
    const std::vector<TypedTag> tags = {
        {"Speed", I, 1, 1, TagType::Int},     {"Torque", I, 1, 3, TagType::Uint}, {"Count", I, 1, 5, TagType::Udint},
        {"Flow", I, 1, 9, TagType::Real},     {"Total", I, 1, 13, TagType::Lint}, {"Energy", I, 1, 21, TagType::Lreal},
        {"Setpoint", Q, 1, 1, TagType::Dint}, {"Limit2", Q, 1, 5, TagType::Real}, {"Mask", Q, 1, 9, TagType::Word},
    };
    const AddressMap map = BuildAddressMap("Plant", {node}, ProfibusLayout({28, 10}, {}), SymbolStyle::Byte, {tags});
    ASSERT_TRUE(map.unmadeTags.empty());
    const std::optional<SwapProgram> program = PlanSwapProgram(map);
    ASSERT_TRUE(program);
    EXPECT_EQ(Program(*program).body,
              "(* Each value the device sends in the other byte order than the PLC reads: an input is read from its "
              "raw\n   bit string into its tag, an output written from its tag into its raw bit string. *)\n"
              "Speed := WORD_TO_INT(ROL(Speed_RAW, 8));\n"
              "Torque := WORD_TO_UINT(ROL(Torque_RAW, 8));\n"
              "Count := DWORD_TO_UDINT(SwapDwordBytes(Count_RAW));\n"
              "Flow := RealFromBits(SwapDwordBytes(Flow_RAW));\n"
              "Total := LWORD_TO_LINT(SwapLwordBytes(Total_RAW));\n"
              "Energy := LrealFromBits(SwapLwordBytes(Energy_RAW));\n"
              "Setpoint_RAW := SwapDwordBytes(DINT_TO_DWORD(Setpoint));\n"
              "Limit2_RAW := SwapDwordBytes(BitsOfReal(Limit2));\n"
              "Mask_RAW := ROL(Mask, 8);\n");
    std::vector<std::string> functions;
    for (const StPou& pou : program->pous) {
        if (pou.function) functions.push_back(pou.name + ":" + TagTypeName(pou.returnType));
    }
    EXPECT_EQ(functions, (std::vector<std::string>{"SwapDwordBytes:DWORD", "SwapLwordBytes:LWORD", "RealFromBits:REAL",
                                                   "LrealFromBits:LREAL", "BitsOfReal:DWORD"}));
    EXPECT_EQ(program->raw.size(), 9u);
    EXPECT_EQ(Program(*program).externals.front(), (StVariable{"Speed_RAW", TagType::Word}));
}

// A byte may already be called what the program would call a raw variable or itself: the program's names
// step aside, without regard to case, and never the map's symbols.
TEST(SwapProgram, ItsNamesDifferFromEverySymbol) {
    const NodeIo node{
        1, 5, "Drive",
        6, 0, {{1, "Speed_raw"}, {2, "SwapTagBytes"}, {3, ""}, {4, ""}, {5, "SWAPTAGS"}, {6, "Speed_RAW_2"}},
        {}};
    const AddressMap map = BuildAddressMap("Plant", {node}, ProfibusLayout({6, 0}, {}), SymbolStyle::Byte,
                                           {{{"Speed", AreaDirection::Input, 1, 3, TagType::Int}}});
    const std::optional<SwapProgram> program = PlanSwapProgram(map);
    ASSERT_TRUE(program);
    EXPECT_EQ(program->raw.at(&map.input[2]), "Speed_RAW_3");
    EXPECT_EQ(Program(*program).name, "SwapTagBytes_2");
    EXPECT_EQ(program->instance, "SwapTags_2");
}

// A device that sends its bytes as the PLC reads them, or a map of single bytes, needs no program.
TEST(SwapProgram, NoneWhereNoTagIsSwapped) {
    const NodeIo node{1, 5, "Drive", 4, 0, Bytes(4, "I"), {}};
    const std::vector<TypedTag> tags = {{"Speed", AreaDirection::Input, 1, 1, TagType::Int, ByteOrder::Big},
                                        {"Level", AreaDirection::Input, 1, 3, TagType::Int, ByteOrder::Big}};
    const ProfibusLayout layout({4, 0}, {});
    EXPECT_FALSE(PlanSwapProgram(BuildAddressMap("Plant", {node}, layout, SymbolStyle::Byte, {tags})));
    EXPECT_FALSE(PlanSwapProgram(BuildAddressMap("Plant", {node}, layout)));
    EXPECT_TRUE(
        PlanSwapProgram(BuildAddressMap("Plant", {node}, layout, SymbolStyle::Byte, {tags, ByteOrder::Little})));
}

}  // namespace
