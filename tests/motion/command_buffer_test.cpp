#include "motion/command_buffer.h"

#include <gtest/gtest.h>

#include <thread>

#include "motion/machine.h"
#include "motion_fixture.h"

namespace korvex {
namespace {

struct BufferTest : MotionTest {
    BufferTest() {
        m.buffer.allocate(4);
        m.settings.softLimits = 0;  // the queue alone: no travel to keep to
    }
    int append(int dx, int dy = 0, int dz = 0, int period = 1000, int dwell = 0) {
        return AppendCommand(m, dx, dy, dz, period, 0, dwell, 0, 0, 0);
    }
};

TEST_F(BufferTest, ZeroMoveAndEndingProgramAppendNothing) {
    EXPECT_EQ(append(0), kZeroMove);
    m.executor.quitRequest = 1;
    EXPECT_EQ(append(5), kAppended);
    EXPECT_EQ(m.buffer.lastIndex(), -1);
    EXPECT_EQ(m.position.plannedX, 0);
    EXPECT_EQ(m.gate.count(), 0);
}

TEST_F(BufferTest, AppendEstimatesTimeAndTracksPlannedPosition) {
    m.gate.suspend();  // as the emergency stop does
    EXPECT_EQ(append(3, 4, 0, 1000, 1), kAppended);
    EXPECT_EQ(m.gate.count(), 1) << "an append leaves the stop in force";
    // Four ticks of the 1000 us period, the 5 us set-up and the 10 us pulse
    // (each wait a nanosecond over), then the whole second of the dwell.
    const double tick = 1'015'003e-9;
    EXPECT_DOUBLE_EQ(m.buffer.entry(0).remainingTimeS, 4 * tick + 1);
    append(-10);
    append(10);
    EXPECT_EQ(m.position.plannedX, 3);
    EXPECT_EQ(m.position.plannedY, 4);
    EXPECT_EQ(m.buffer.lastIndex(), 2);
    EXPECT_EQ(m.buffer.freeSlots(), 1);
    EXPECT_NEAR(m.buffer.remainingTimeS(), 24 * tick + 1, 1e-12);
}

TEST_F(BufferTest, FullBufferRefusesWithoutOverwriting) {
    for (int i = 1; i <= 4; ++i) ASSERT_EQ(append(i), kAppended);
    EXPECT_EQ(append(99), kBufferFull);
    EXPECT_EQ(m.position.plannedX, 10);
    EXPECT_EQ(boxTexts(),
              std::vector<std::string>{"The command buffer is full, the command was not added"});
    for (int i = 0; i < 4; ++i) EXPECT_EQ(m.buffer.entry(i).dx, i + 1);
    EXPECT_EQ(m.buffer.entry(4), MotionCommand{});
}

TEST_F(BufferTest, FrontProgressIsVisibleWhileRunning) {
    append(100, 0, 0, 1000);
    append(5);
    m.buffer.publishFront(40, 0, 0, 0.04);
    EXPECT_EQ(m.buffer.entry(0).dx, 40);
    EXPECT_DOUBLE_EQ(m.buffer.entry(0).remainingTimeS, 0.04);
    EXPECT_NEAR(m.buffer.remainingTimeS(), 0.04 + 5 * 1'015'003e-9, 1e-12);
    m.buffer.removeFront();
    EXPECT_EQ(m.buffer.entry(0).dx, 5);
}

TEST_F(BufferTest, ProducerAndConsumerThreadsLoseAndRepeatNothing) {
    m.buffer.allocate(64);
    constexpr int kCommands = 20000;
    long long sum = 0;
    std::thread consumer([&] {
        for (int done = 0; done < kCommands; ++done) {
            m.buffer.waitForCommand();
            MotionCommand c = m.buffer.entry(0);
            m.buffer.publishFront(c.dx, 0, 0, 0);
            sum += c.dx;
            m.buffer.removeFront();
        }
    });
    for (int i = 1; i <= kCommands;) {
        if (m.buffer.freeSlots() > 0 && append(i) == kAppended) ++i;
    }
    consumer.join();
    EXPECT_EQ(sum, 1LL * kCommands * (kCommands + 1) / 2);
    EXPECT_EQ(m.buffer.lastIndex(), -1);
}

TEST_F(BufferTest, CapacityBeyondMemoryIsRefusedKeepingTheQueue) {
    append(5);
    EXPECT_THROW(m.buffer.allocate(100'000'000), std::bad_alloc);
    EXPECT_EQ(m.buffer.capacity(), 4);
    EXPECT_EQ(m.buffer.queued(), 1);
    EXPECT_EQ(m.buffer.entry(0).dx, 5);
}

}  // namespace
}  // namespace korvex
