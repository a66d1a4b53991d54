#include "motion/move_time.h"

#include <gtest/gtest.h>

#include <random>

#include "motion/motion_rig.h"

namespace korvex {
namespace {

// Random settings, each with a run of random moves on the simulated machine
// and the virtual clock: what the append estimates is what the move takes.
// A one-step move with a zero period follows each move: its tick starts
// once the move's last period and dwell are over, in either timer mode.
TEST(MoveTime, EstimateEqualsTheVirtualClockForRandomMovesAndSettings) {
    std::mt19937 random(29);
    auto pick = [&](int low, int high) { return std::uniform_int_distribution(low, high)(random); };
    for (int variant = 0; variant < 10; ++variant) {
        MachineSettings s = FactorySettings();
        s.softLimits = 0;
        s.oldTimer = variant % 2;
        const int rampSteps[] = {1, 2, 7, 100, 350};
        s.rampSteps = rampSteps[variant % 5];
        const float step = variant % 3 ? 0.1f : 0.0125f;
        s.mmPerStepX = s.mmPerStepY = s.mmPerStepZ = step;
        s.moveSpeedX = static_cast<float>(pick(2, 20));
        s.moveSpeedZ = static_cast<float>(pick(2, 20));
        s.accelSpeedX = s.moveSpeedX * static_cast<float>(pick(1, 8)) / 2;
        s.accelSpeedY = static_cast<float>(pick(1, 40));
        s.linearRampX = pick(0, 1);
        s.linearRampZ = pick(0, 1);
        s.dwellSeconds = static_cast<float>(pick(-5, 29)) / 10;
        s.dirSetupUs = pick(0, 20);
        s.stepPulseUs = pick(1, 20);
        SimulatedRig r(s, 4);
        Machine& m = r.machine;
        int64_t at[3] = {0, 0, 0};
        for (int move = 0; move < 25; ++move) {
            int32_t d[3];
            for (int a = 0; a < 3; ++a) {
                // Short, ramp-sized and long runs, back towards the start.
                const int length = pick(0, 2) == 0 ? 0 : pick(1, pick(0, 1) ? 12 : 1500);
                d[a] = at[a] > 0 ? -length : length;
                at[a] += d[a];
            }
            if (d[0] == 0 && d[1] == 0 && d[2] == 0) continue;
            const int accelerated = pick(0, 1), dwell = pick(0, 3) == 0;
            m.gate.suspend();
            ASSERT_EQ(
                AppendCommand(m, d[0], d[1], d[2], pick(0, 3000), accelerated, dwell, 0, 0, 0),
                kAppended);
            const double estimate = m.buffer.remainingTimeS();
            AppendCommand(m, 1, 0, 0, 0, 0, 0, 0, 0, 0);
            const int64_t start = r.rig.clock().now();
            m.gate.resume();
            ASSERT_TRUE(r.waitUntilDrained());
            const double run = static_cast<double>(r.rig.clock().now() - start) / 1e9;
            const double marker = MoveTimer(m).tickSeconds(0);
            EXPECT_NEAR(run - marker, estimate, 2e-9 + estimate * 1e-12)
                << "variant " << variant << " move " << d[0] << "," << d[1] << "," << d[2]
                << " accelerated " << accelerated << " dwell " << dwell;
            EXPECT_EQ(m.buffer.remainingTimeS(), 0);
            at[0] += 1;
        }
    }
}

}  // namespace
}  // namespace korvex
