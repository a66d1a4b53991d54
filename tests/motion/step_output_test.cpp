#include "motion/step_output.h"

#include <gtest/gtest.h>

#include "motion/port.h"
#include "motion_fixture.h"
#include "platform/headless.h"

namespace korvex {
namespace {

struct PortFixture : MotionTest {
    PortFixture() { openPort(); }
    std::vector<int> data() const { return port.written(0x378); }
};

TEST_F(PortFixture, TickWritesIdlePulseIdle) {
    m.position.absZ = 5;
    OutputStep(m, 1, 0, -1, 0, 100, 0);
    EXPECT_EQ(data(), (std::vector<int>{87, 70, 87}));
    m.settings.invertStep = 0;
    PrepareStepOutput(m);
    port.writes.clear();
    OutputStep(m, 1, 0, -1, 0, 100, 0);
    EXPECT_EQ(data(), (std::vector<int>{2, 19, 2}));
    EXPECT_EQ(Executed(m), (Steps3{2, 0, 3}));
}

TEST_F(PortFixture, EmptyOrOutOfRangeTickOnlySettlesTheOutputs) {
    m.position.absY = 10;
    OutputStep(m, 0, 0, 0, 0, 0, 0);
    OutputStep(m, 0, 2, 0, 0, 10, 0);  // a step of 2 is no step
    EXPECT_EQ(data(), (std::vector<int>(6, 85)));
    EXPECT_EQ(Executed(m), (Steps3{0, 10, 0}));
}

TEST_F(PortFixture, NewTimerLogsLatenessRoundTheRing) {
    m.settings.oldTimer = 0;
    PrepareStepOutput(m);
    for (int i = 0; i < 1000; ++i) {
        if (i == 805) clock.advance(1'000'001 + 3'600);  // the caller came 3.6 µs late
        OutputStep(m, 1, 1, 1, 1, 1000, 1);
    }
    EXPECT_TRUE(data().empty()) << "timing only";
    EXPECT_EQ(m.position.absX, 0);
    EXPECT_EQ(m.timing.timingLogIndex, 200);
    EXPECT_EQ(m.timing.timingLog[5], 4);
    EXPECT_EQ(m.timing.timingLog[6], 0);
}

using StepOutput = MotionTest;

TEST_F(StepOutput, WithoutPortCountersMoveAndNothingWaits) {
    m.timing.clock = &clock;
    m.position.absX = 3;
    OutputStep(m, 1, 0, 0, 1, 5000, 0);
    EXPECT_EQ(m.position.absX, 4);
    EXPECT_EQ(m.position.absS4, 1);
    EXPECT_EQ(clock.now(), 0);
}

TEST_F(StepOutput, PriorityLevelIsCheckedStoredAndLoggedByName) {
    EXPECT_EQ(SetExecutorPriority(m, 7, 1), 0);
    EXPECT_EQ(SetExecutorPriority(m, -1, 1), 0);
    EXPECT_EQ(m.timing.priorityLevel, -1) << "levels outside the table are refused";
    EXPECT_STREQ(PriorityName(6), "THREAD_PRIORITY_TIME_CRITICAL");
    EXPECT_STREQ(PriorityName(9), "priority unknown");
    std::thread worker([&] {  // a thread of its own, like the executor's
        m.timing.executorThreadId = 0;
        EXPECT_EQ(SetExecutorPriority(m, 1, 1), 1);
        EXPECT_EQ(SetExecutorPriority(m, 1, 1), 0) << "already in force";
    });
    worker.join();
    EXPECT_EQ(m.timing.priorityLevel, 1);
    ASSERT_FALSE(list.empty());
    EXPECT_EQ(list[0], "THREAD_PRIORITY_LOWEST");
}

}  // namespace
}  // namespace korvex
