#include "platform/edit_number.h"

#include <gtest/gtest.h>

namespace korvex {
namespace {

TEST(EditNumberTest, ReadsTheLeadingNumberOfTheFirstTwentyCharacters) {
    EXPECT_EQ(ReadEditNumber("12.5 mm"), 12.5);
    EXPECT_EQ(ReadEditNumber("  -3"), -3);
    EXPECT_EQ(ReadEditNumber("+2.25/s"), 2.25);
    EXPECT_EQ(ReadEditNumber("+-2"), 0);
    EXPECT_EQ(ReadEditNumber("1,5"), 1);
    EXPECT_EQ(ReadEditNumber("mm 4"), 0);
    EXPECT_EQ(ReadEditNumber("nan"), 0);
    EXPECT_EQ(ReadEditNumber("inf"), 0);
    EXPECT_EQ(ReadEditNumber("1e999"), 0);
    EXPECT_EQ(ReadEditNumber("000000000000000000001"), 0);
    // Integers cut toward zero and stay in range.
    EXPECT_EQ(ReadEditInteger(" 7.9"), 7);
    EXPECT_EQ(ReadEditInteger("-7.9"), -7);
    EXPECT_EQ(ReadEditInteger("1e12"), 2147483647);
    EXPECT_EQ(ReadEditInteger("-1e12"), -2147483647 - 1);
}

}  // namespace
}  // namespace korvex
