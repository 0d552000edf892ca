#include "documents/int_text.h"

#include <gtest/gtest.h>

#include "documents/document_error.h"

using namespace tessara::documents;

namespace {

struct IntCase {
    const char* text;
    std::optional<int32_t> value;
};

class IntTextTest : public ::testing::TestWithParam<IntCase> {};

TEST_P(IntTextTest, FollowsTheIntegerTextRule) {
    const IntCase& c = GetParam();
    EXPECT_EQ(ParseIntText(c.text), c.value) << "text: '" << c.text << "'";
    EXPECT_EQ(IntOrMinusOne(c.text), c.value.value_or(-1));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IntTextTest,
    ::testing::Values(IntCase{"20", 20}, IntCase{" 20", 20}, IntCase{"   7", 7}, IntCase{"+5", 5}, IntCase{"-1", -1},
                      IntCase{"$7D", 125}, IntCase{"x7d", 125}, IntCase{"X7D", 125}, IntCase{"0x7D", 125},
                      IntCase{"0X7d", 125}, IntCase{"-$10", -16}, IntCase{"2147483647", 2147483647},
                      IntCase{"-2147483648", INT32_MIN}, IntCase{"0x7FFFFFFF", 2147483647}, IntCase{"007", 7},
                      // not integer texts
                      IntCase{"", std::nullopt}, IntCase{"   ", std::nullopt}, IntCase{"20 ", std::nullopt},
                      IntCase{"abc", std::nullopt}, IntCase{"$", std::nullopt}, IntCase{"0x", std::nullopt},
                      IntCase{"-", std::nullopt}, IntCase{"1.5", std::nullopt}, IntCase{"2147483648", std::nullopt},
                      IntCase{"0x80000000", std::nullopt}, IntCase{"7D", std::nullopt}, IntCase{"\t5", std::nullopt},
                      IntCase{"+-5", std::nullopt}));

TEST(IntOrError, NamesTheTextInItsMessage) {
    EXPECT_EQ(IntOrError("$7D"), 125);
    try {
        IntOrError("abc");
        FAIL() << "no error";
    } catch (const DocumentError& e) {
        EXPECT_STREQ(e.what(), "'abc' is not a valid integer value");
    }
}

}  // namespace
