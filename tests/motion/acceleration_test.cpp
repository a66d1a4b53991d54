#include "motion/acceleration.h"

#include <gtest/gtest.h>

#include <cmath>

#include "motion_fixture.h"

namespace korvex {
namespace {

using TablesTest = MotionTest;

TEST_F(TablesTest, FactorySettingsGiveTheKnownRamps) {
    ASSERT_EQ(BuildAccelerationTables(m), 1);
    for (const AccelerationTable& t : m.accel.axis) {
        EXPECT_EQ(t.rampConstant, 38);
        ASSERT_EQ(t.periodsUs.size(), 100u);
        EXPECT_EQ(t.periodsUs[0], 19944);
        EXPECT_EQ(t.periodsUs[49], 12661);
        EXPECT_EQ(t.periodsUs[99], 9981);
    }
    EXPECT_EQ(m.accel.working.size(), 100u);
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0], "f(ac) X[0..99]=50.14Hz - 100.19Hz");
    EXPECT_EQ(list[2], "f(ac) Z[0..99]=50.14Hz - 100.19Hz");

    m.settings.linearRampY = 0;
    BuildAccelerationTables(m);
    const AccelerationTable& y = m.accel.axis[1];
    EXPECT_EQ(y.rampConstant, 0);
    EXPECT_EQ(y.periodsUs[0], 19900);
    EXPECT_EQ(y.periodsUs[49], 15000);
    EXPECT_EQ(y.periodsUs[99], 10000);
    EXPECT_EQ(list[4], "f(ac) Y[0..99]=50.25Hz - 100.00Hz");
}

TEST_F(TablesTest, RampTooLongToAllocateIsRefusedNotAttempted) {
    ASSERT_EQ(BuildAccelerationTables(m), 1);
    m.settings.rampSteps = 2'000'000'000;
    EXPECT_EQ(BuildAccelerationTables(m), 0);
    EXPECT_EQ(boxTexts(),
              std::vector<std::string>{"Calculating of acceleration temporary table failed"});
    EXPECT_TRUE(m.accel.working.empty());
    for (const AccelerationTable& t : m.accel.axis) EXPECT_TRUE(t.periodsUs.empty());
    m.settings.rampSteps = kMaxRampSteps;
    EXPECT_EQ(BuildAccelerationTables(m), 1);
}

TEST_F(TablesTest, RampWithoutAccelerationFallsBackToLinear) {
    m.settings.accelSpeedX = m.settings.moveSpeedX;
    BuildAccelerationTables(m);
    EXPECT_EQ(m.settings.linearRampX, 0);
    EXPECT_EQ(boxTexts(), std::vector<std::string>{"Calculating acceleration for X failed"});
    for (int32_t p : m.accel.axis[0].periodsUs) EXPECT_EQ(p, 20000);
    EXPECT_EQ(m.settings.linearRampY, 1);
}

TEST(AxisTable, DegenerateInputsGiveFinitePositivePeriods) {
    struct Case {
        float fs, fa;
        int L;
        bool constant;
    };
    const Case cases[] = {
        {50, 100, 1, true},    // rampSteps 1
        {100, 100, 1, true},   // zero denominator of the ramp constant
        {0.5f, 3, 100, true},  // negative radicands
        {0, 100, 10, true},   {0, 0, 10, false},     {50, 0, 10, false},
        {50, 100, 0, false},  {1e9f, 2e9f, 5, true},
    };
    for (const Case& c : cases) {
        const AccelerationTable t = BuildAxisTable(c.fs, c.fa, c.L, c.constant);
        ASSERT_FALSE(t.periodsUs.empty());
        for (int32_t p : t.periodsUs) EXPECT_GE(p, 1) << c.fs << " " << c.fa << " " << c.L;
    }
}

TEST(AxisTable, NoRampRunsAboveItsAccelerationSpeed) {
    // Short constant-acceleration ramps top out at 121 Hz (2 steps) and
    // 110 Hz (3 steps) by the formula; 1 % above is the documented rounding.
    for (const bool constant : {true, false})
        for (int L = 2; L <= 300; L += L < 10 ? 1 : 37)
            for (const float fa : {100.0f, 800.0f, 3000.0f}) {
                const AccelerationTable t = BuildAxisTable(fa / 2, fa, L, constant);
                for (int32_t p : t.periodsUs)
                    ASSERT_LE(1e6 / p, 1.01 * fa) << constant << " L " << L << " fa " << fa;
            }
    EXPECT_EQ(BuildAxisTable(50, 100, 2, true).periodsUs.back(), 10000);
}

TEST(AxisTable, FineStepsAndEdgeRates) {
    const AccelerationTable fine = BuildAxisTable(5 / 0.0125f, 10 / 0.0125f, 100, true);
    EXPECT_EQ(fine.rampConstant, 2436);
    EXPECT_EQ(fine.periodsUs.front(), 2499) << "from half the rate";
    EXPECT_EQ(fine.periodsUs.back(), 1247) << "to the full rate";
    // Climbing from 50 Hz to 100 Hz: the one tick takes at least 10000 us.
    for (const bool constant : {true, false})
        EXPECT_GE(BuildAxisTable(50, 100, 1, constant).periodsUs.at(0), 10000) << constant;
    EXPECT_EQ(BuildAxisTable(0.5f, 100, 100, true).rampConstant, 1) << "start rate below 1 Hz";
    const AccelerationTable slower = BuildAxisTable(100, 50, 100, false);
    EXPECT_LT(slower.periodsUs.front(), slower.periodsUs.back());
}

}  // namespace
}  // namespace korvex
