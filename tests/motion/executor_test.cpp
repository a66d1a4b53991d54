#include "motion/executor.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <thread>

#include "motion/acceleration.h"
#include "motion/homing.h"
#include "motion/motion_rig.h"
#include "motion/port.h"
#include "motion/probing.h"
#include "motion_fixture.h"

namespace korvex {
namespace {

struct ExecutorTest : ::testing::Test {
    // Written by the executor while it runs: outlive it.
    std::vector<Tick> ticks;
    std::function<void(int)> onTick;
    Reports reports;
    SimulatedRig r;
    Machine& m = r.machine;

    ExecutorTest() {
        r.rig.executor().setTickObserver([this](const Tick& t) {
            ticks.push_back(t);
            if (onTick) onTick(static_cast<int>(ticks.size()));
        });
    }
    void append(int dx, int dy, int dz, int period, int accelerated, int checkSwitches = 0) {
        AppendCommand(m, dx, dy, dz, period, accelerated, 0, checkSwitches, 0, 0);
    }
    // Keeps the executor from starting before a whole job is queued.
    void hold() { m.gate.suspend(); }
    void release() { m.gate.resume(); }
    std::vector<int> periods() const {
        std::vector<int> p;
        for (const Tick& t : ticks) p.push_back(t.periodUs);
        return p;
    }
};

// The status display reads the front entry while the move runs: its
// remaining steps go down tick by tick, not once per ramp phase.
TEST_F(ExecutorTest, TheFrontEntryCountsDownWithinARampPhase) {
    std::vector<std::array<int32_t, 2>> seen;  // dx, dy after ticks 10 and 50
    onTick = [&](int n) {
        if (n != 10 && n != 50) return;
        const MotionCommand front = m.buffer.entry(0);
        seen.push_back({front.dx, front.dy});
    };
    append(100, 30, 0, 0, 1);  // phases of 30 ticks (X and Y) and 70 (X)
    ASSERT_TRUE(r.waitUntilDrained());
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0], (std::array<int32_t, 2>{90, 20}));
    EXPECT_EQ(seen[1], (std::array<int32_t, 2>{50, 0}));
}

TEST_F(ExecutorTest, RampedMovesWaitForTablesThatCouldBeBuilt) {
    reports.attach(m);
    m.settings.rampSteps = 2'000'000'000;  // the tables cannot be built
    ASSERT_EQ(BuildAccelerationTables(m), 0);
    const size_t boxes = reports.host.boxes.size();
    hold();
    append(4, 0, 0, 0, 1);
    append(0, 3, 0, 0, 1);
    release();
    // The executor says it waits, then waits: once the box is there it has
    // moved nothing.
    for (int i = 0; i < 5000 && reports.host.boxCount() == boxes; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(reports.host.boxCount(), boxes + 1) << "one box for the held job";
    EXPECT_TRUE(ticks.empty()) << "no ramped move without tables";
    EXPECT_EQ(m.buffer.queued(), 2) << "nothing lost";
    m.settings.rampSteps = 100;
    ASSERT_EQ(BuildAccelerationTables(m), 1);
    ASSERT_TRUE(r.waitUntilDrained());
    EXPECT_EQ(Executed(m), (Steps3{4, 3, 0}));
    EXPECT_EQ(reports.host.boxCount(), boxes + 1);
}

TEST_F(ExecutorTest, WithoutAnAccelerationRateARampRunsAtTheTravelRate) {
    m.settings.accelSpeedX = 0.01f;  // under 1 Hz: no table is chosen
    append(4, 0, 0, 0, 1);
    ASSERT_TRUE(r.waitUntilDrained());
    EXPECT_EQ(periods(), (std::vector<int>(4, 20000)));
    EXPECT_EQ(m.accel.working.size(), 4u) << "filled for the phase's ticks only";
}

TEST_F(ExecutorTest, HomingStopsEachAxisAtItsSwitch) {
    HomeAllAxes(m);
    ASSERT_TRUE(r.waitUntilDrained());
    EXPECT_EQ(m.position.homedAxes, 7);
    for (int axis = 0; axis < 3; ++axis) EXPECT_EQ(r.sim().position(axis), 0) << axis;
    EXPECT_EQ(Executed(m), Steps3{});
    EXPECT_EQ(Planned(m), Steps3{});
    EXPECT_EQ(r.sim().controlRegister() & 8, 0) << "pin 17 on again";
    EXPECT_EQ(r.sim().crashes(0), 0);
    hold();
    HomeAxis(m, 0);
    EXPECT_EQ(m.position.homedAxes, 6) << "homed anew once its switch answers again";
    release();
    ASSERT_TRUE(r.waitUntilDrained());
    EXPECT_EQ(m.position.homedAxes, 7);
}

TEST_F(ExecutorTest, ProbingLeavesTheTipSafeHeightAboveTheSurface) {
    const int64_t lostAtPowerOn = r.sim().stepsLost(2);
    // Homed: Z counts from the top switch, the probe's top 600 steps down.
    HomeAllAxes(m);
    ASSERT_TRUE(r.waitUntilDrained());
    for (const int softLimits : {1, 0}) {
        SCOPED_TRACE(softLimits);
        m.settings.softLimits = softLimits;
        r.sim().placeProbe(true);
        ScriptedHost host;
        hold();
        ProbeToolLength(m, host);
        release();
        WaitUntilDrained(m, [&] { return m.signals.estopActive && m.gate.count() > 0; });
        EXPECT_EQ(r.sim().position(2), 600 - 50) << "raised by safeHeight off the probe";
        EXPECT_EQ(m.position.relOriginZ, 600 + 100) << "the surface, probe 100 steps high";
        r.sim().placeProbe(false);
        ASSERT_EQ(ReleaseEmergencyStop(m), 1);
        ASSERT_TRUE(r.waitUntilDrained());
        EXPECT_EQ(r.sim().position(2), 700 - 50) << "safeHeight above the surface";
        EXPECT_EQ(m.position.absZ, 650) << "still the homed frame";
        EXPECT_EQ(m.position.plannedZ, 650);
        AppendCommand(m, 0, 0, -650, 200, 1, 0, 0, 0, 0);
        ASSERT_TRUE(r.waitUntilDrained());
        EXPECT_EQ(r.sim().position(2), 0) << "back at the top switch";
    }
    EXPECT_EQ(r.sim().crashes(2), 0);
    EXPECT_EQ(r.sim().stepsLost(2), lostAtPowerOn);
}

// Moves are shortened when queued; a switch-checking move is not, and the
// executor is its last guard.
TEST_F(ExecutorTest, SoftLimitsReportDroppedPulsesOnce) {
    reports.attach(m);
    hold();
    append(-5, 0, 0, 200, 1, 1);  // unhomed: X stands at 0
    append(0, -3, 0, 200, 1, 1);
    append(4, 0, 0, 200, 0);
    int clippedAtTheLastMove = 0;
    onTick = [&](int) { clippedAtTheLastMove = m.executor.softLimitClipped.load(); };
    release();
    ASSERT_TRUE(r.waitUntilDrained());
    EXPECT_EQ(clippedAtTheLastMove, 1) << "the state line shows the clip while the run goes on";
    EXPECT_EQ(m.executor.softLimitClipped.load(), 0) << "and forgets it once the buffer drained";
    EXPECT_EQ(m.position.absX, 4);
    EXPECT_EQ(r.sim().stepsReceived(1), 0);
    EXPECT_EQ(reports.listed("soft limits"), 1) << "one report for the run, not one per command";
    EXPECT_TRUE(reports.host.boxes.empty());
}

// Halted mid-move the soak covers; halted while idle, an append must neither
// move nor, in laser/pen mode, switch the laser on before the release.
TEST_F(ExecutorTest, CommandsQueuedDuringAnIdleEmergencyStopWaitForItsRelease) {
    m.settings.laserPenMode = 1;
    r.sim().pressEmergency(true);
    ReadInputs(m);  // the window's status timer sees it
    for (int i = 0; i < 3; ++i) AppendCommand(m, 0, 5, 0, 200, 0, 0, 0, 1, 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(r.sim().stepsReceived(1), 0);
    EXPECT_EQ(m.signals.spindleOnState.load(), 0) << "the laser stays off";
    r.sim().pressEmergency(false);
    ASSERT_EQ(ReleaseEmergencyStop(m), 1);
    ASSERT_TRUE(r.waitUntilDrained());
    EXPECT_EQ(m.position.absY, 15);
}

TEST_F(ExecutorTest, ResetWhileIdleDoesNotDiscardTheNextCommand) {
    RequestBufferReset(m);
    append(7, 0, 0, 200, 0);
    ASSERT_TRUE(r.waitUntilDrained());
    EXPECT_EQ(m.position.absX, 7);
}

// The feed override on the virtual clock: a cutting move's time scales
// with it from the next tick on, never beyond the axis's top speed, while
// ramped moves keep their tables. Factory settings: cutting 100 000 us a
// step, top speed 20 000 us.
TEST_F(ExecutorTest, FeedOverrideScalesCuttingMovesWithinTheTopSpeed) {
    const auto timed = [&](int percent, int dx, int dy, int period, int accelerated) {
        m.executor.feedPercent = percent;
        const int64_t start = r.rig.clock().now();
        append(dx, dy, 0, period, accelerated);
        EXPECT_TRUE(r.waitUntilDrained());
        return static_cast<double>(r.rig.clock().now() - start);
    };
    for (const auto& [dx, dy] : {std::pair{40, 0}, {25, -17}, {3, 60}}) {
        const double normal = timed(100, dx, dy, 100'000, 0);
        EXPECT_NEAR(timed(50, -dx, -dy, 100'000, 0) / normal, 2.0, 0.02);
        EXPECT_NEAR(timed(200, dx, dy, 100'000, 0) / normal, 0.5, 0.005);
        // Near the top speed the override stops there.
        EXPECT_NEAR(timed(200, -dx, -dy, 30'000, 0) / timed(100, dx, dy, 20'000, 0), 1.0, 0.01);
    }
    ticks.clear();
    timed(200, 0, 30, 30'000, 0);
    for (const Tick& t : ticks) EXPECT_GE(t.periodUs, 20'000);

    const double ramp = timed(100, 300, 0, 0, 1);
    EXPECT_EQ(timed(50, -300, 0, 0, 1), ramp) << "positioning keeps its ramp";

    // A change lands on the tick after it.
    ticks.clear();
    m.executor.feedPercent = 100;
    onTick = [&](int n) {
        if (n == 5) m.executor.feedPercent = 50;
    };
    append(10, 0, 0, 1000, 0);
    ASSERT_TRUE(r.waitUntilDrained());
    EXPECT_EQ(periods(),
              (std::vector<int>{1000, 1000, 1000, 1000, 1000, 2000, 2000, 2000, 2000, 2000}));
}

// The move flagged stopAfter holds the next one until the release; a reset
// meanwhile drops it but keeps what was queued after the reset.
TEST_F(ExecutorTest, StopAfterHoldsTheNextCommandUntilReleased) {
    hold();
    AppendCommand(m, 5, 0, 0, 200, 0, 0, 0, 0, 1);
    append(0, 5, 0, 200, 0);
    release();
    WaitUntilDrained(m, [&] { return m.signals.estopActive && m.gate.count() > 0; });
    EXPECT_EQ(m.position.absX, 5);
    EXPECT_EQ(m.buffer.queued(), 2) << "removed only after the release";
    EXPECT_EQ(r.sim().stepsReceived(1), 0);
    RequestBufferReset(m);
    append(0, 0, 3, 200, 0);
    ASSERT_EQ(ReleaseEmergencyStop(m), 1);
    ASSERT_TRUE(r.waitUntilDrained());
    EXPECT_EQ(Executed(m), (Steps3{5, 0, 3}));
}

// The window changes settings only once ExecutorAtRest says so; the
// executor's own reads (at start-up and per command) must be ordered
// before those writes. Under ThreadSanitizer a handover that leans on a flag
// stored before the reads is reported, whatever the timing, so a few rounds
// of start, change, run, change suffice.
TEST(ExecutorSettingsHandover, SettingsChangedAtRestNeverRaceTheExecutorsReads) {
    for (int round = 0; round < 20; ++round) {
        SimulatedRig r;
        Machine& m = r.machine;
        ASSERT_TRUE(ExecutorAtRest(m));
        m.settings.executorPriority = round % 2 ? 2 : 3;
        m.settings.dwellSeconds = 0;
        AppendCommand(m, 5, 0, 0, 200, 0, 1, 0, 0, 0);
        ASSERT_TRUE(WaitUntilDrained(m));
        ASSERT_TRUE(ExecutorAtRest(m));
        m.settings.dwellSeconds = 1;
        EXPECT_EQ(m.position.absX, 5);
    }
}

TEST_F(ExecutorTest, AQueuedOrHeldCommandIsNotRest) {
    hold();
    append(5, 0, 0, 200, 0);
    EXPECT_FALSE(ExecutorAtRest(m));
    release();
    ASSERT_TRUE(r.waitUntilDrained());
    EXPECT_TRUE(ExecutorAtRest(m));
}

}  // namespace
}  // namespace korvex
