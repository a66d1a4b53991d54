#include "drilling/drill_holes.h"

#include <gtest/gtest.h>

#include "tests/drilling/drilling_fixture.h"

namespace korvex {
namespace {

using DrillHoles = DrillingTest;

MotionCommand Move(int dx, int dy, int dz, int periodUs, int accelerated, int drilling = 0) {
    MotionCommand c{dx, dy, dz, periodUs, accelerated};
    c.dwellAfter = c.spindleOn = drilling;
    return c;
}

void ExpectMoves(const std::vector<MotionCommand>& actual,
                 const std::vector<MotionCommand>& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        MotionCommand a = actual[i];
        a.remainingTimeS = 0;
        EXPECT_EQ(a, expected[i]) << "command " << i << ": " << a.dx << ',' << a.dy << ',' << a.dz;
    }
}

TEST_F(DrillHoles, FiveMovesPerHoleOfTheDrillAndTheReturn) {
    // Factory: 5 mm/s travel at 0.1 mm per step = 20000 us, plunge 1 mm/s =
    // 100000 us, safe height 5 mm = 50 steps.
    ASSERT_EQ(load("X000000Y000000 PV1 X001.000Y001.000 PV2 X003.000Y000.000 X002.000Y002.000",
                   kSimpleDrillFormat),
              1);
    set.tools[0].depth = 30;
    ASSERT_EQ(drillHoles(m, set, 0), 1);
    // The hole before any drill (at 0, 2 mm after the flip) is never drilled.
    ExpectMoves(queued(), {Move(10, 10, 0, 20000, 1), Move(0, 0, 50, 20000, 1),
                           Move(0, 0, 30, 100000, 0, 1), Move(0, 0, -30, 100000, 0, 1),
                           Move(0, 0, -50, 20000, 1), Move(-10, -10, 0, 20000, 1)});

    m.buffer.reset();
    m.settings.moveSpeedY = 2.5f;  // the slower axis sets the travel period
    ASSERT_EQ(drillHoles(m, set, 1), 1);
    // A drill of depth 0 still travels, descends and lifts.
    ExpectMoves(queued(),
                {Move(30, 20, 0, 40000, 1), Move(0, 0, 50, 20000, 1), Move(0, 0, -50, 20000, 1),
                 Move(-10, -20, 0, 40000, 1), Move(0, 0, 50, 20000, 1), Move(0, 0, -50, 20000, 1),
                 Move(-20, 0, 0, 40000, 1)});
}

TEST_F(DrillHoles, RefusedWithoutSpaceForSixEntriesPerHole) {
    std::string file = "T1C.01";
    for (int i = 0; i < 10; ++i) file += " X0" + std::to_string(10000 + 1000 * i) + "Y010000";
    ASSERT_EQ(load(file), 1);
    m.buffer.allocate(60);
    EXPECT_EQ(drillHoles(m, set, 0), 0);
    EXPECT_EQ(lastBox(), "Not enought memory in buffer to execute DRILL");
    EXPECT_EQ(m.buffer.queued(), 0);
    m.buffer.allocate(61);
    EXPECT_EQ(drillHoles(m, set, 0), 1);
    EXPECT_EQ(m.buffer.queued(), 10 * 3) << "travel, descend, lift; no travel to the first hole";

    EXPECT_EQ(drillHoles(m, set, 1), 0) << "only drills of the file";
    EXPECT_EQ(lastBox(), "No drill is loaded");
    m.buffer.allocate(100);
    m.settings.plungeSpeed = m.settings.cuttingSpeed = 0;
    EXPECT_EQ(drillHoles(m, set, 0), 0);
    EXPECT_EQ(lastBox(), "lowest value failed");
    EXPECT_EQ(m.buffer.queued(), 0);
}

}  // namespace
}  // namespace korvex
