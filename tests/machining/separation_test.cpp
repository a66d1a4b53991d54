#include "machining/separation.h"

#include <cmath>
#include <tuple>

#include "generator_fixture.h"
#include "machining/separation_dialog.h"
#include "tests/ui/view_driver.h"

namespace korvex::test {
namespace {

// Walks a table's lap from `start` and checks every move goes to a
// neighbouring point; returns the points' range in x and y.
struct Walk {
    int minX, minY, maxX, maxY, x, y;
    double worstRadiusError;
};
Walk WalkLap(const CircleTable& t, int x, int y, int cx, int cy, double r) {
    Walk w{x, y, x, y, x, y, 0};
    for (const CircleMove& s : t.lap()) {
        EXPECT_TRUE(std::abs(s.dx) <= 1 && std::abs(s.dy) <= 1 && (s.dx || s.dy) && s.dz == 0);
        w.x += s.dx;
        w.y += s.dy;
        w.minX = std::min(w.minX, w.x), w.maxX = std::max(w.maxX, w.x);
        w.minY = std::min(w.minY, w.y), w.maxY = std::max(w.maxY, w.y);
        const double error = std::abs(std::hypot(w.x - cx, w.y - cy) - r);
        w.worstRadiusError = std::max(w.worstRadiusError, error);
    }
    return w;
}

TEST(CircleTableTest, LapOfAWholeCircleIsClosedAndFollowsTheCircle) {
    CircleTable table;
    Text failure{};
    ASSERT_EQ(BuildCircleTable(table, {5000, 0, 0}, {0, 0, 0}, {5000, 0, 0}, failure), 1);
    EXPECT_EQ(table.first, 0);
    EXPECT_EQ(table.last, table.count() - 1);
    EXPECT_GT(table.count(), 4 * std::sqrt(2.0) * 5000);
    EXPECT_LT(table.count(), 8 * 5000);
    const Walk w = WalkLap(table, 5000, 0, 0, 0, 5000);
    EXPECT_EQ(std::make_pair(w.x, w.y), std::make_pair(5000, 0));
    EXPECT_EQ(w.minX, -5000);
    EXPECT_EQ(w.maxY, 5000);
    EXPECT_LT(w.worstRadiusError, 1.0);
    EXPECT_EQ(table.moves[0].dy, 1);  // from +X towards +Y
}

TEST(CircleTableTest, OddDiameterReachesOneStepPastTheStartCorner) {
    CircleTable table;
    Text failure{};
    ASSERT_EQ(BuildSeparationCircle(table, 7, failure), 1);  // centre (3, 3), radius 4
    const Walk w = WalkLap(table, 7, 3, 3, 3, 4);
    EXPECT_EQ(std::make_pair(w.minX, w.minY), std::make_pair(-1, -1));
}

TEST(CircleTableTest, FailuresSayWhy) {
    CircleTable table;
    Text failure{};
    EXPECT_EQ(BuildSeparationCircle(table, 0, failure), 0);
    EXPECT_STREQ(failure.en,
                 "Finding of main points failed (circle interpolation calculated failed");
    EXPECT_EQ(BuildCircleTable(table, {10, 0, 0}, {0, 0, 0}, {0, 12, 0}, failure), 0);
    EXPECT_STREQ(failure.en, "Middle of circle interpolation was wrong set,iterpolation failed");
    EXPECT_TRUE(table.lap().empty());
}

struct SeparationTest : GeneratorTest {
    SeparationJob job;
    CircleTable table;
    int32_t count() { return GenerateSeparation(m, job, values, table, true); }
    void append() { GenerateSeparation(m, job, values, table, false); }
};

TEST_F(SeparationTest, LastCycleTakesTheRestOfTheDepth) {
    EXPECT_EQ(SeparationCycles(7, 2), 3);
    EXPECT_EQ(SeparationCycles(2, 2), 1);
    EXPECT_EQ(SeparationCycles(9, 3), 3);
    EXPECT_EQ(SeparationCycles(0, 0), 1);
    job = {SeparationShape::Rectangle, 7, 30, 20};
    values.cut = 2;
    EXPECT_EQ(count(), 7 * 3 + 2);
    append();
    EXPECT_EQ(appended.size(), 23u);
    EXPECT_EQ(plunges(), (std::vector<int>{2, 2, 2, 2, 3, 3}));  // plunge and re-plunge per cycle
    EXPECT_EQ(appended.back().dz, -(50 + 7));
    EXPECT_EQ(list,
              (std::vector<std::string>{"start of cutting cycle 1/3", "start of cutting cycle 2/3",
                                        "start of cutting cycle 3/3"}));
}

TEST_F(SeparationTest, CircleTravelsToItsEdgeCutsItsLapsAndComesBack) {
    job = {SeparationShape::Circle, 20, 100, 0};
    values.cut = 10;
    Text failure{};
    ASSERT_EQ(BuildSeparationCircle(table, job.sizeX, failure), 1);
    append();
    EXPECT_EQ(static_cast<int>(appended.size()), (table.count() + 3) * 2 + 4);
    const int32_t travel = PeriodUs(m.settings.moveSpeedX, m.settings.mmPerStepX);
    const MotionCommand& out = appended.front();
    EXPECT_EQ(std::make_tuple(out.dx, out.dy, out.dz, out.periodUs, out.accelerated, out.spindleOn),
              std::make_tuple(100, 50, 0, travel, 1, 0));
    EXPECT_EQ(appended.back().dx, -100);
    EXPECT_EQ(appended.back().dy, -50);
}

struct SeparationDialogTest : GeneratorTest {
    RecordingView view;
    SeparationDialog dialog{m, values, view};
    SeparationDialogTest() { dialog.onInit(); }
    void type(int id, const std::string& text) { Type(view, dialog, id, text); }
};

TEST_F(SeparationDialogTest, OpensOnARectangleAndKeepsSizesAndCutSound) {
    EXPECT_EQ(view.text(kSeparationFeed), "  1.00");
    EXPECT_EQ(view.text(kSeparationCut), "  1.00");
    EXPECT_TRUE(view.isChecked(kSeparationRectangle));
    EXPECT_FALSE(view.isChecked(kSeparationCircle));
    EXPECT_EQ(view.text(kSeparationDepthCaption), "depth") << "in the operator's language";
    type(kSeparationSizeX, "-4");
    EXPECT_EQ(view.text(kSeparationSizeX), "0 mm");
    EXPECT_EQ(dialog.job().sizeX, 0);
    type(kSeparationCut, "-1");
    EXPECT_EQ(values.cut, 1);
}

// A mistyped huge circle is refused before its table is built; one too
// large for the buffer names the capacity that would do.
TEST_F(SeparationDialogTest, CirclesTooLargeAreRefused) {
    dialog.onCommand(kSeparationCircle);
    type(kSeparationSizeX, "1000000");
    dialog.onCommand(kSeparationOk);
    EXPECT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(dialog.circle().count(), 0);
    EXPECT_TRUE(appended.empty());
    m.buffer.allocate(50);
    m.settings.commandCapacity = 50;
    type(kSeparationSizeX, "2");  // r = 10 steps
    dialog.onCommand(kSeparationOk);
    ASSERT_EQ(host.boxes.size(), 2u);
    // Depth 0: the lap, the approach, the lift and the returns; plunges of 0 are not appended.
    const int needed = dialog.circle().count() + 4;
    EXPECT_EQ(host.boxes[1].text,
              Format("Not enought space in buffer for this work around %d,\n please set more "
                     "space plus %d or reduce the limits",
                     needed - 50, needed));
    EXPECT_EQ(listed("calculation of circle interpolation OK"), 1);
    EXPECT_FALSE(view.ended);
}

}  // namespace
}  // namespace korvex::test
