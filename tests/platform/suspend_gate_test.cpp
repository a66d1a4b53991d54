#include "platform/suspend_gate.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "platform/clock.h"

namespace korvex {
namespace {

TEST(SuspendGate, CountedLikeAThreadsSuspendCount) {
    SuspendGate gate;
    EXPECT_EQ(gate.resume(), 0) << "resume at 0 does nothing";
    gate.suspend();
    gate.suspend();
    EXPECT_EQ(gate.resume(), 2);
    EXPECT_EQ(gate.count(), 1);
    std::atomic<bool> passed{false};
    std::thread t([&] {
        gate.pass();
        passed = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_FALSE(passed);
    gate.resume();
    t.join();
    EXPECT_TRUE(passed);
    gate.open();
    gate.suspend();
    gate.pass();  // an opened gate never blocks again
}

TEST(SuspendGate, TheLatchHoldsOneSuspensionWithItsFlag) {
    SuspendGate gate;
    std::atomic<int32_t> stop{0};
    EXPECT_FALSE(gate.unlatch(stop)) << "nothing to release";
    EXPECT_TRUE(gate.latch(stop));
    EXPECT_FALSE(gate.latch(stop)) << "seen twice, still one suspension";
    gate.suspend();  // another holder
    EXPECT_EQ(gate.count(), 2);
    EXPECT_TRUE(gate.unlatch(stop));
    EXPECT_EQ(stop, 0);
    EXPECT_EQ(gate.count(), 1) << "the other holder keeps its suspension";
    gate.resume();
    stop = 1;  // raised without a suspension (the operator's button)
    EXPECT_TRUE(gate.unlatch(stop));
    EXPECT_EQ(gate.count(), 0);
}

TEST(VirtualClock, WaitingMovesTimeForward) {
    VirtualClock clock;
    clock.waitMicroseconds(1500);
    EXPECT_EQ(clock.now(), 1'500'000);
    clock.waitUntil(10);  // the past: no change
    EXPECT_EQ(clock.now(), 1'500'000);
    MonotonicClock real;
    const int64_t start = real.now();
    real.waitMicroseconds(200);
    EXPECT_GE(real.now() - start, 200'000);
}

}  // namespace
}  // namespace korvex
