// The relief's traversal, Z arithmetic, emergency halt and simulation.

#include <algorithm>

#include "machining/relief_carve.h"
#include "relief_fixture.h"

namespace korvex::test {
namespace {

constexpr int kTravel = 20000, kCut = 100000;  // factory periods, microseconds

int NetZ(const std::vector<Move>& runs) {
    int z = 0;
    for (const Move& r : runs) z += r.dz;
    return z;
}
int DeepestZ(const std::vector<Move>& runs) {
    int z = 0, deepest = 0;
    for (const Move& r : runs) deepest = std::max(deepest, z += r.dz);
    return deepest;
}

TEST_F(ReliefTest, CarvesEveryPitchRowAlternatelyAndReturns) {
    picture(3, std::vector<uint8_t>(3 * 9, 255));
    dialog.onInit();
    edit(kReliefPitch, "0.3");
    dialog.onCommand(kReliefGo);
    const std::vector<Move> expected = {
        {0, 0, 50, kTravel},  {3, 0, 0, kCut},     {0, 3, 0, kCut},
        {-3, 0, 0, kCut},     {0, 3, 0, kCut},     {3, 0, 0, kCut},
        {0, 0, -50, kTravel}, {-3, 0, 0, kTravel}, {0, -6, 0, kTravel}};
    EXPECT_EQ(output.runs, expected);
    EXPECT_EQ(job.progressDone, 27);
}

TEST_F(ReliefTest, WhiteStaysAtTheOffsetAndBlackGoesDepthDeeper) {
    picture(2, {255, 0, 255, 0});
    dialog.onInit();
    edit(kReliefZOffset, "0.3");
    dialog.onCommand(kReliefPlus);  // 2 steps per pixel
    dialog.onCommand(kReliefGo);
    const std::vector<Move> expected = {{0, 0, 50, kTravel},  {0, 0, 3, kCut},    {2, 0, 0, kCut},
                                        {0, 0, 10, kCut},     {2, 0, 0, kCut},    {0, 2, 0, kCut},
                                        {-2, 0, 0, kCut},     {0, 0, -10, kCut},  {-2, 0, 0, kCut},
                                        {0, 0, -53, kTravel}, {0, -2, 0, kTravel}};
    EXPECT_EQ(output.runs, expected);
    EXPECT_EQ(NetZ(output.runs), 0);
}

// Each level change is rounded on its own, so the tool can stand deeper than
// the rounded depth of its level (here 2 steps for R(2 x 0.5) = 1); the final
// lift brings it back all the same.
TEST_F(ReliefTest, LevelChangesAreRoundedOneByOne) {
    picture(3, {255, 254, 253});
    job.stepsPerLevel = 0.5f;
    CarveRelief(context, view, host, 0);
    EXPECT_EQ(DeepestZ(output.runs), 50 + 2);
    EXPECT_EQ(NetZ(output.runs), 0);
}

TEST_F(ReliefTest, SixteenBitLevelsSpanTheWholeDepth) {
    picture(3, {0, 0, 0});
    raster.levelCount = 65535;
    raster.gray16 = {65535, 32768, 0};
    job.stepsPerLevel = StepsPerLevel(job, raster.levelCount);
    CarveRelief(context, view, host, 0);
    EXPECT_EQ(DeepestZ(output.runs), 50 + job.depth);
    EXPECT_EQ(output.runs[2], (Move{0, 0, 5, kCut}));
}

TEST_F(ReliefTest, ReportsAZMoveDeeperThanTheRelief) {
    picture(2, {255, 0});
    job.stepsPerLevel = 1.0f;  // 255 steps for black, against a depth of 10
    CarveRelief(context, view, host, 0);
    const auto& calls = window().calls;
    EXPECT_NE(std::find(calls.begin(), calls.end(), "fill 380 460 300 15 ffffffff"), calls.end());
    EXPECT_NE(std::find(calls.begin(), calls.end(),
                        "text 380 460 9 ff000000 PROBLEM ON POSITION 1,0: 25.50000mm"),
              calls.end());
}

TEST_F(ReliefTest, SimulationDrawsAnObliqueColumnPerPixel) {
    picture(2, {255, 0, 255, 0, 255, 0, 0, 0});  // 2 x 4
    dialog.onInit();
    dialog.onCommand(kReliefSimulate);
    EXPECT_EQ(output.steps, 0);
    // Half diagonal R(4 x 0.3535) = 1; (2 + 1) x 1.2 and (10 + 1) x 1.2.
    EXPECT_EQ(simulation.simWidth, 3);
    EXPECT_EQ(simulation.simHeight, 13);
    EXPECT_EQ(simulation.marginY, 1);
    const auto& calls = simulated().calls;
    ASSERT_GE(calls.size(), 3u);
    EXPECT_EQ(calls[0], "clear ff000000");
    EXPECT_EQ(calls[1], "gradient 1 1 1 11 ffffffff ff000000 1");  // the first plunge, white
    EXPECT_EQ(calls[2], "line 1 1 1 2 ff00c500 1");
    // Row 3 lies one pixel lower and further left: pixel (0, 3) is black.
    EXPECT_NE(std::find(calls.begin(), calls.end(), "gradient 0 12 0 12 ffffffff ff000000 1"),
              calls.end());
    EXPECT_EQ(job.showSimulation, 1);
    EXPECT_EQ(host.boxes.back().text, kReliefFinished.en);
}

TEST_F(ReliefTest, ACarvingClearsTheSimulationAndAFailedOneSaysSo) {
    picture(2, {255, 0});
    dialog.onInit();
    dialog.onCommand(kReliefSimulate);
    dialog.onCommand(kReliefGo);
    EXPECT_EQ(simulated().calls.back(), "clear ff000000");

    canvasFails = true;
    host.boxes.clear();
    dialog.onCommand(kReliefSimulate);
    EXPECT_EQ(boxTexts(),
              (std::vector<std::string>{kReliefSimulateQuestion.en, kSimulationFailed.en}));
    EXPECT_EQ(dialog.lastRun(), 0);
}

}  // namespace
}  // namespace korvex::test
