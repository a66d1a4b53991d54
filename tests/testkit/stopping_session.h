#pragma once
// Random sessions on the simulated machine (factory settings, virtual
// clock): a buffer reset or the emergency input at a chosen tick, and an
// operator who answers every stop, resetting the buffer at some of them.

#include <gtest/gtest.h>

#include <atomic>
#include <random>

#include "motion/executor.h"
#include "motion/motion_rig.h"
#include "motion/port.h"
#include "tests/testkit/reporting_machine.h"

namespace korvex::test {

struct StoppingSession : ::testing::Test {
    // Written by the executor while it runs: declared before the rig.
    std::atomic<int> ticks{0}, resetAt{-1}, stopAt{-1};
    std::atomic<bool> interrupted{false};  // a reset came since it was cleared
    std::atomic<int32_t> deepestFeed{0};   // Z reached by a move at a feed, since set
    Reports reports;
    SimulatedRig r;
    Machine& m = r.machine;
    MachinePosition& p = m.position;
    std::mt19937 rng{22};

    StoppingSession() {
        reports.attach(m);
        r.rig.executor().setTickObserver([this](const Tick&) {
            const int n = ++ticks;
            const int32_t z = p.absZ.load();
            if (!m.buffer.entry(0).accelerated && z > deepestFeed.load()) deepestFeed.store(z);
            if (n == resetAt) reset();
            if (n == stopAt) r.sim().pressEmergency(true);
        });
    }
    int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng); }
    void reset() {
        RequestBufferReset(m);
        interrupted = true;
    }
    // Runs what is queued, releasing every emergency stop as it comes.
    void runToRest() {
        for (;;) {
            if (WaitUntilDrained(m, [&] { return m.gate.count() > 0; })) return;
            if (!m.signals.estopActive.load()) continue;  // a start-up hold: passing
            if (pick(0, 1)) reset();
            r.sim().pressEmergency(false);
            r.sim().placeProbe(false);
            ASSERT_EQ(ReleaseEmergencyStop(m), 1);
        }
    }
    void expectPlannedIsExecuted() { EXPECT_EQ(Planned(m), Executed(m)); }
};

}  // namespace korvex::test
