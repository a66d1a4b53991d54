#include "platform/edit_number.h"

#include <gtest/gtest.h>

#include <utility>

namespace korvex {
namespace {

TEST(EditNumberTest, ReadsTheLeadingNumberOfTheFirstTwentyCharacters) {
    const std::pair<const char*, double> numbers[] = {
        {"12.5 mm", 12.5}, {"  -3", -3},
        {"+2.25/s", 2.25}, {"+-2", 0},
        {"1,5", 1},        {"mm 4", 0},
        {"nan", 0},        {"inf", 0},
        {"1e999", 0},      {"000000000000000000001", 0}};
    for (const auto& [text, value] : numbers) EXPECT_EQ(ReadEditNumber(text), value) << text;
    // Integers cut toward zero and stay in range.
    const std::pair<const char*, int> integers[] = {
        {" 7.9", 7}, {"-7.9", -7}, {"1e12", 2147483647}, {"-1e12", -2147483647 - 1}};
    for (const auto& [text, value] : integers) EXPECT_EQ(ReadEditInteger(text), value) << text;
}

}  // namespace
}  // namespace korvex
