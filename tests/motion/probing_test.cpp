#include "motion/probing.h"

#include <gtest/gtest.h>

#include "motion_fixture.h"

namespace korvex {
namespace {

using ProbingTest = MotionTest;

TEST_F(ProbingTest, QueuesFourZMovesAfterTheQuestion) {
    m.buffer.allocate(5);
    ProbeToolLength(m, host);
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].title, "info");
    EXPECT_EQ(host.boxes[0].buttons, Buttons::OkCancel);
    ASSERT_EQ(m.buffer.queued(), 4);
    const MotionCommand expected[4] = {
        {0, 0, 1000, 20000, 1, 0, 0, 1, 0, 0},
        {0, 0, -50, 20000, 1, 0, 0, 0, 0, kStopRemoveProbe},  // waits for the probe's removal
        {0, 0, 50, 20000, 1, 0, 0, 0, 0, 0},
        {0, 0, 50, 20000, 1, 0, 0, 0, 0, 0},
    };
    for (int i = 0; i < 4; ++i) {
        MotionCommand c = m.buffer.entry(i);
        c.remainingTimeS = 0;
        EXPECT_EQ(c, expected[i]) << i;
    }
}

TEST_F(ProbingTest, FourFreeEntriesOrCancelQueueNothingAndEqualHeightsSkipTheLastMove) {
    m.buffer.allocate(4);
    ProbeToolLength(m, host);
    EXPECT_EQ(m.buffer.queued(), 0);
    ASSERT_EQ(host.boxes.size(), 2u);
    EXPECT_EQ(host.boxes[1].text, "not enought memory of buffern to execute 4 command");
    m.buffer.allocate(10);
    host.answers.push_back(Answer::Cancel);
    ProbeToolLength(m, host);
    EXPECT_EQ(m.buffer.queued(), 0);
    m.settings.sensorDepth = m.settings.safeHeight;
    ProbeToolLength(m, host);
    EXPECT_EQ(m.buffer.queued(), 3);
}

}  // namespace
}  // namespace korvex
