#include "motion/rounding.h"

#include <gtest/gtest.h>

#include "log/event_log.h"
#include "platform/headless.h"

namespace korvex {
namespace {

TEST(Rounding, HalvesGoAwayFromZero) {
    const std::pair<double, int> cases[] = {{2.5, 3},  {-2.5, -3}, {2.4999, 2},
                                            {-0.4, 0}, {0.5, 1},   {1e30, 2147483647}};
    for (const auto& [x, rounded] : cases) EXPECT_EQ(RoundHalfAway(x), rounded) << x;
    EXPECT_EQ(MmToSteps(10.0, 0.1f), 100);
    EXPECT_EQ(PeriodUs(5.0, 0.1), 20000);
    EXPECT_EQ(PeriodUs(3.0, 0.1), 33333);
}

TEST(Rounding, LowestNonZeroAndItsAxis) {
    EventLog log;
    ScriptedHost host;
    log.setHost(&host);
    int language = 1;
    log.setLanguage(&language);
    EXPECT_FLOAT_EQ(LowestNonZero(log, 0, 5, 3), 3);
    EXPECT_FLOAT_EQ(LowestNonZero(log, -2, 5, 3), -2);
    EXPECT_EQ(LowestNonZeroAxis(log, 100, 50, 0), 1);
    EXPECT_EQ(LowestNonZeroAxis(log, 0.5f, 50, 50), 2) << "later position wins among equals";
    EXPECT_EQ(LowestNonZeroAxis(log, 0.5f, 80, 0), 1) << "a value below 1 does not qualify";
    EXPECT_TRUE(host.boxes.empty());
    EXPECT_FLOAT_EQ(LowestNonZero(log, 0, 0, 0), 0);
    EXPECT_EQ(LowestNonZeroAxis(log, 0.2f, 0, 0), -1);
    ASSERT_EQ(host.boxes.size(), 2u);
    EXPECT_EQ(host.boxes[0].text, "lowest value failed");
    EXPECT_EQ(host.boxes[1].text, "lowest2 value failed");
}

}  // namespace
}  // namespace korvex
