#include "documents/profibus_slots.h"

#include <gtest/gtest.h>

using namespace tessara::documents;

namespace {

constexpr AreaDirection I = AreaDirection::Input;
constexpr AreaDirection Q = AreaDirection::Output;

TEST(ProfibusSlots, AreFromTheGsdModulesInputsFirstAndFollowTheSlotBeforeThemUnlessGiven) {
    const ProfibusLayout layout({100, 70}, {{I, 2, 200}, {Q, 1, 10}});
    const std::vector<ProfibusSlot> expected = {{1, I, 1, 0, 64, 0, false},
                                                {2, I, 2, 64, 36, 200, true},
                                                {3, Q, 1, 0, 64, 10, true},
                                                {4, Q, 2, 64, 6, 74, false}};
    EXPECT_EQ(layout.Slots(), expected);
    EXPECT_EQ(layout.SlotNumbered(4), &layout.Slots()[3]);
    EXPECT_EQ(layout.SlotNumbered(5), nullptr);
    // The output slots are numbered after every input module of the GSD, those past the device's bytes too.
    EXPECT_EQ(ProfibusLayout({0, 20}, {}).Slots().front().number, 1);
    EXPECT_EQ(ProfibusLayout({200, 20}, {}).Slots().back().number, 5);
    // A start kept for a module the areas no longer have is not used.
    EXPECT_EQ(ProfibusLayout({10, 0}, {{I, 2, 500}}).Slots().size(), 1u);
}

TEST(ProfibusSlots, GiveEachByteItsSlotOffsetAndAddressOrWhyItDoesNotFit) {
    const ProfibusLayout apart({100, 200}, {{I, 1, 12}, {I, 2, 300}, {Q, 3, 65500}});
    struct Case {
        AreaDirection direction;
        size_t offset;
        ProfibusAddress expected;
    };
    const Case cases[] = {
        {I, 0, {1, 0, 12, true, FitProblem::None}},         {I, 63, {1, 63, 75, true, FitProblem::None}},
        {I, 64, {2, 0, 300, true, FitProblem::None}},       {I, 99, {2, 35, 335, true, FitProblem::None}},
        {I, 100, {0, 0, 0, false, FitProblem::PastArea}},   {Q, 127, {4, 63, 127, true, FitProblem::None}},
        {Q, 128, {0, 0, 0, false, FitProblem::PastDevice}}, {Q, 199, {0, 0, 0, false, FitProblem::PastDevice}},
        {Q, 200, {0, 0, 0, false, FitProblem::PastArea}},
    };
    for (const Case& c : cases) EXPECT_EQ(apart.Address(c.direction, c.offset), c.expected) << c.offset;
    EXPECT_EQ(ProfibusLayout({-5, 0}, {}).Address(I, 0).problem, FitProblem::PastArea);
    EXPECT_EQ(ProfibusLayout({100, 0}, {{I, 2, 65501}}).Address(I, 99).problem, FitProblem::PastLastPlcByte);
    EXPECT_EQ(FitProblemText(FitProblem::PastArea, 100), "past the 100 bytes of pargen.xml");
    EXPECT_EQ(FitProblemText(FitProblem::PastDevice, 200), "past the device's 128 bytes");
    EXPECT_EQ(PlcByteAddress(Q, 7), "QB 7");
}

TEST(ProfibusSlots, StartsThatOverlapOrPlaceAFittingBytePast65535AreRefusedByName) {
    struct Case {
        std::vector<SlotStart> starts;
        size_t selectedIn;
        const char* problem;  // nullptr for none
    };
    const Case cases[] = {
        {{{I, 2, 40}}, 0, "The input slots overlap: slot 1 (IB 0 to 63) and slot 2 (IB 40 to 75)"},
        {{{Q, 1, 100}, {Q, 2, 150}}, 0, "The output slots overlap: slot 3 (QB 100 to 163) and slot 4 (QB 150 to 155)"},
        {{{I, 2, 64}, {Q, 1, 0}}, 100, nullptr},  // an input and an output slot may share numbers
        {{{I, 2, 65500}}, 100, nullptr},          // byte 99 lands on 65535 itself
        {{{I, 2, 65501}},
         100,
         "Slot 2 starting at 65501 puts byte 99 of the input area at 65536, past the last PLC byte address 65535"},
        {{{I, 2, 65501}}, 64, nullptr},  // nothing selected reaches slot 2
        {{{I, 1, 65500}}, 30, nullptr},  // the slot after it, past 65535, carries nothing
    };
    for (const Case& c : cases) {
        const std::optional<std::string> problem =
            SlotStartProblem(ProfibusLayout({100, 70}, c.starts), c.selectedIn, 0);
        if (c.problem == nullptr) {
            EXPECT_FALSE(problem) << *problem;
        } else {
            EXPECT_EQ(problem.value_or("none"), c.problem);
        }
    }
}

}  // namespace
