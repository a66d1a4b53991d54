// Who answers a job's stop: korvex-cli itself on the simulated machine (its
// runs in CMakeLists.txt end only so), the person at the terminal on a real
// port, nobody without a terminal.

#include "cli/stop_operator.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <thread>

#include "motion/executor.h"
#include "motion/motion_rig.h"

namespace korvex::cli {
namespace {

struct StopTest : ::testing::Test {
    SimulatedRig rig;
    Machine& m = rig.machine;
    std::FILE* input = nullptr;

    // Two moves of 10 steps, the first ending with a stop; returns once the
    // stop holds the executor.
    StopTest() {
        AppendCommand(m, 10, 0, 0, 1000, 0, 0, 0, 0, 1);
        AppendCommand(m, 10, 0, 0, 1000, 0, 0, 0, 0, 0);
        while (!m.signals.estopActive.load())
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ~StopTest() override {
        if (input) std::fclose(input);
    }
    // What the person types, as the terminal gives it.
    std::FILE* typed(const char* text) {
        return input = fmemopen(const_cast<char*>(text), std::strlen(text), "r");
    }
    // Answers until the job drains or ends; true when it drained.
    bool run(StopOperator& stops) {
        return WaitUntilDrained(m, [&] { return !stops.answer(); });
    }
};

TEST_F(StopTest, OnARealPortEnterGoesOn) {
    StopOperator stops(m, "ppdev:/dev/parport0", nullptr, typed("\n"));
    EXPECT_TRUE(run(stops));
    EXPECT_EQ(m.position.absX, 20);
    EXPECT_TRUE(StopOperator::ReleasesItself("none")) << "without a port, as on the sim";
}

TEST_F(StopTest, OnARealPortQEndsTheJobWithAReset) {
    StopOperator stops(m, "rawio", nullptr, typed("what\nq\n"));
    EXPECT_FALSE(run(stops));
    EXPECT_TRUE(stops.ended());
    EXPECT_TRUE(WaitUntilDrained(m));
    EXPECT_EQ(m.position.absX, 10);
    EXPECT_EQ(m.signals.estopActive, 0);
}

TEST_F(StopTest, WithoutATerminalTheJobEndsAtTheStop) {
    StopOperator stops(m, "ppdev:/dev/parport0", nullptr, nullptr);
    EXPECT_FALSE(run(stops));
    EXPECT_TRUE(stops.ended());
    EXPECT_EQ(m.signals.estopActive, 1) << "nobody released it";
    EXPECT_GE(m.buffer.queued(), 1) << "the second move stays queued";
    EXPECT_EQ(m.position.absX, 10);
}

TEST_F(StopTest, AClosedTerminalEndsTheJobAtTheStop) {
    StopOperator stops(m, "ppdev:/dev/parport0", nullptr, typed("x"));
    EXPECT_FALSE(run(stops));
    EXPECT_EQ(m.signals.estopActive, 1);
}

}  // namespace
}  // namespace korvex::cli
