#include "drilling/drill_holes.h"

#include <gtest/gtest.h>

#include "tests/drilling/drilling_fixture.h"

namespace korvex {
namespace {

using DrillHoles = DrillingTest;

// The moves' periods and flags are the CLI's golden outputs.
TEST_F(DrillHoles, FiveMovesPerHoleOfTheDrillAndTheReturn) {
    ASSERT_EQ(load("X000000Y000000 PV1 X001.000Y001.000 PV2 X003.000Y000.000 X002.000Y002.000",
                   kSimpleDrillFormat),
              1);
    set.tools[0].depth = 30;
    ASSERT_EQ(drillHoles(m, set, 0), 1);
    // The hole before any drill (at 0, 2 mm after the flip) is never drilled.
    EXPECT_EQ(queuedMoves(), "10,10,0 0,0,50 0,0,30 0,0,-30 0,0,-50 -10,-10,0");
    m.buffer.reset();
    m.settings.moveSpeedY = 2.5f;  // the slower axis sets the travel period
    ASSERT_EQ(drillHoles(m, set, 1), 1);
    // A drill of depth 0 still travels, descends and lifts.
    EXPECT_EQ(queuedMoves(), "30,20,0 0,0,50 0,0,-50 -10,-20,0 0,0,50 0,0,-50 -20,0,0");
    EXPECT_EQ(queued()[0].periodUs, 40000);
    EXPECT_EQ(queued()[1].periodUs, 20000);
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
