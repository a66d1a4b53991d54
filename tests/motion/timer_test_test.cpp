#include "motion/timer_test.h"

#include <gtest/gtest.h>

#include "motion/motion_rig.h"
#include "platform/headless.h"

namespace korvex {
namespace {

// Zeros lie on the bottom line, even with nothing larger; the largest
// value touches the top.
TEST(TimingGraph, SpansTheLogFromZeroToItsLargestValue) {
    Machine m;
    RecordingCanvas canvas(kGraphWidth, kGraphHeight + 10);
    DrawTimingGraph(ReadTimingLog(m), canvas);
    ASSERT_EQ(canvas.calls.size(), 1u + kTimingLogSize - 1);
    EXPECT_EQ(canvas.calls[0], "clear ff000000");
    EXPECT_EQ(canvas.calls[1], "line 5 205 6 205 ff20ff20 1");
    m.timing.timingLog[1] = 50;
    m.timing.timingLog[2] = 100;
    canvas.calls.clear();
    DrawTimingGraph(ReadTimingLog(m), canvas);
    EXPECT_EQ(canvas.calls[1], "line 5 205 6 105 ff20ff20 1");
    EXPECT_EQ(canvas.calls[2], "line 6 105 7 5 ff20ff20 1");
}

TEST(TimerTestStep, WithoutPortRecordsNoTimeAndWrapsTheRing) {
    Machine m;
    LoadFactoryDefaults(m.settings);
    m.timing.timingLogIndex = kTimingLogSize - 1;
    m.timing.timingLog[kTimingLogSize - 1] = -1;
    TimerTestStep(m);
    const TimingLogView log = ReadTimingLog(m);
    EXPECT_EQ(log.index, 0);
    EXPECT_GE(log.entries[kTimingLogSize - 1], 0);
    EXPECT_LT(log.entries[kTimingLogSize - 1], 1000) << "no port: the period is not waited";
    EXPECT_EQ(m.position.absX, 0);
}

// On the real clock the first ticks after start-up (the port test's among
// them) are late by microseconds, not by the time since the system booted.
TEST(TimingLog, StartsWithTheMachine) {
    Machine m;
    LoadFactoryDefaults(m.settings);
    m.settings.oldTimer = 0;
    MotionRig rig(m, {"sim", false});
    AppendCommand(m, 2, 0, 0, 100, 0, 0, 0, 0, 0);
    ASSERT_TRUE(WaitUntilDrained(m));
    ASSERT_GE(m.timing.timingLogIndex, 3);
    for (int i = 0; i < 3; ++i) EXPECT_LT(m.timing.timingLog[i], 1'000'000) << i;
}

}  // namespace
}  // namespace korvex
