#include "machining/surface_milling.h"

#include "generator_fixture.h"
#include "machining/separation.h"
#include "machining/surface_dialog.h"
#include "tests/ui/view_driver.h"

namespace korvex::test {
namespace {

struct SurfaceTest : GeneratorTest {
    SurfaceMillingJob job;
    int32_t count(SurfaceStyle style) {
        return GenerateSurfaceMilling(m, job, values, true, style);
    }
    void append(SurfaceStyle style) { GenerateSurfaceMilling(m, job, values, false, style); }
};

TEST_F(SurfaceTest, DepthInWholeCutsRunsOneMoreCycleAtTheFinalDepth) {
    job = {20, 9, 300, 3, 3};
    values.cut = 100;
    // 1 + 4 cycles x (plunge, stroke, return, 3 strokes of 3, cycle end 3) + 2
    EXPECT_EQ(count(SurfaceStyle::StrokesAlongX), 62);
    append(SurfaceStyle::StrokesAlongX);
    const int32_t plunge = PeriodUs(m.settings.plungeSpeed, m.settings.mmPerStepZ);
    EXPECT_EQ(plunges(plunge), (std::vector<int>{100, 100, 100}));
    EXPECT_EQ(appended.size(), 62u);  // the last plunge of 0 is neither counted nor queued
    EXPECT_EQ(appended.back().dz, -50);
    EXPECT_EQ(appended[appended.size() - 2].dz, -300);
    EXPECT_EQ(list.front(), "start of cutting cycle surface by X 1/4");
    EXPECT_EQ(list.back(), "end of cutting cycle surface by X 4/4");
    EXPECT_EQ(list.size(), 5u);

    appended.clear();
    list.clear();
    job.depth = 80;  // shallower than one cut: one cycle with the whole plunge
    append(SurfaceStyle::StrokesAlongY);
    EXPECT_EQ(plunges(plunge), (std::vector<int>{80}));
    EXPECT_EQ(list.front(), "start of cutting cycle surface by Y 1/1");
}

// The last step-over takes what is left of the width, in steps of its own axis.
TEST_F(SurfaceTest, StepOversCoverTheWidthWithTheLeftOverLast) {
    const struct {
        SurfaceMillingJob job;
        bool alongY;
        float mmPerStepY;
        std::vector<int> steps;
    } cases[] = {{{5, 10, 0, 3, 3}, false, 0.1f, {3, 3, 3, 1}},
                 {{5, 9, 0, 3, 3}, false, 0.1f, {3, 3, 3}},
                 {{10, 5, 0, 3, 3}, true, 0.1f, {3, 3, 3, 1}},
                 {{5, 40, 0, 10, 20}, false, 0.05f, {20, 20}}};  // 1 mm in X and in Y steps
    for (const auto& c : cases) {
        appended.clear();
        job = c.job;
        m.settings.mmPerStepY = c.mmPerStepY;
        append(c.alongY ? SurfaceStyle::StrokesAlongY : SurfaceStyle::StrokesAlongX);
        // The step-overs: cut moves along one axis only, forward across the strokes.
        std::vector<int> steps;
        for (auto [dx, dy] : planar())
            if (c.alongY ? (dy == 0 && dx > 0) : (dx == 0 && dy > 0))
                steps.push_back(c.alongY ? dx : dy);
        EXPECT_EQ(steps, c.steps);
    }
}

TEST_F(SurfaceTest, SpiralMovesInwardAndReversesAReducedLength) {
    job = {10, 20, 0, 3, 3};
    EXPECT_EQ(count(SurfaceStyle::Spiral), 17);  // (5 + 2 laps x 4 + 3) + 1: no Z at depth 0
    append(SurfaceStyle::Spiral);
    const std::vector<std::pair<int, int>> expected{
        {10, 0}, {0, 20}, {-10, 0}, {0, -17},  // the outer rectangle, ending at (0, 3)
        {7, 0},  {0, 14}, {-4, 0},  {0, -11},  // lap 1
        {1, 0},  {0, 8},  {2, 0},   {0, -5},   // lap 2: -2 reverses into +2
        {-6, -9}};                             // back over the top
    EXPECT_EQ(planar(), expected);
    EXPECT_EQ(appended.back().periodUs, PeriodUs(m.settings.moveSpeedZ, m.settings.mmPerStepZ));
}

TEST_F(SurfaceTest, DeepJobWithAThinCutIsCountedWithoutRunningEveryCycle) {
    job = {1000, 1000, 2'000'000'000, 1, 1};
    values.cut = 1;
    EXPECT_EQ(count(SurfaceStyle::StrokesAlongX), 0) << "far below the Z travel";
    m.settings.softLimits = 0;
    EXPECT_EQ(count(SurfaceStyle::StrokesAlongX), INT32_MAX);
}

// Both generators refuse unsound input with its box; surface milling also
// a missing origin.
TEST_F(SurfaceTest, RefusedJobsQueueNothing) {
    const std::string noFeed = "The cutting speed must be above 0, the job was not queued",
                      negative =
                          "The depth and the sizes must not be negative, the job was not queued";
    const struct {
        float feed;
        SurfaceMillingJob surface;
        SeparationJob separation;
        std::string box;
    } cases[] = {
        {0, {20, 20, 30, 3, 3}, {SeparationShape::Rectangle, 30, 20, 20}, noFeed},
        {1, {20, 20, -5, 3, 3}, {SeparationShape::Rectangle, -5, 20, 20}, negative},
        {1, {-1, 20, 5, 3, 3}, {SeparationShape::Rectangle, 5, 20, -1}, negative},
    };
    for (const auto& c : cases) {
        values.feed = c.feed;
        host.boxes.clear();
        EXPECT_EQ(GenerateSurfaceMilling(m, c.surface, values, true, SurfaceStyle::Spiral), 0);
        EXPECT_EQ(GenerateSeparation(m, c.separation, values, CircleTable{}, true), 0);
        EXPECT_EQ(boxTexts(), (std::vector<std::string>{2, c.box})) << c.box;
    }
    values.feed = 1;
    m.position.relOriginSet = 0;
    EXPECT_EQ(GenerateSurfaceMilling(m, cases[0].surface, values, true, SurfaceStyle::Spiral), 0);
    EXPECT_EQ(host.boxes.back().text, "you must define relative point (startpoint)");
    EXPECT_TRUE(appended.empty());
}

struct SurfaceDialogTest : GeneratorTest {
    RecordingView view;
    SurfaceMillingDialog dialog{m, values, view};
    void type(int id, const std::string& text) { Type(view, dialog, id, text); }
};

TEST_F(SurfaceDialogTest, OpensWithTheSharedFeedAndCutAndTakesEdits) {
    values.feed = 2.5f;
    dialog.onInit();
    EXPECT_EQ(view.text(kSurfaceFeed), "  2.50 mm/s");
    EXPECT_EQ(view.text(kSurfaceCut), "  1.00 mm");
    EXPECT_EQ(view.text(kSurfacePitch), "0.0 mm");
    EXPECT_EQ(view.text(kSurfaceFeedCaption), "Speed of cutting") << "in the operator's language";
    EXPECT_STREQ(dialog.title(), "Přerovnat plochu (Mill surface)");
    EXPECT_EQ(view.text(kSurfaceSummary), "0.00x0.00, h0.00/s1.00, rf2.50");
    EXPECT_EQ(dialog.job().pitchX, 1);

    type(kSurfaceSizeX, "12.5 mm");
    type(kSurfaceSizeY, "4");
    type(kSurfaceDepth, "0.36");
    type(kSurfacePitch, "0.04");  // below half a step: still one step
    type(kSurfaceCut, "0");
    type(kSurfaceFeed, "-3");
    EXPECT_EQ(dialog.job().sizeX, 125);
    EXPECT_EQ(dialog.job().depth, 4);
    EXPECT_EQ(dialog.job().pitchY, 1);
    EXPECT_EQ(values.cut, 1);
    EXPECT_EQ(values.feed, m.settings.cuttingSpeed);
    EXPECT_EQ(view.text(kSurfaceSummary), "12.50x4.00, h0.40/s0.10, rf1.00");
}

// In the window a style picture first asks, showing the passes, the depth
// and the machine time the queued job then has; No queues nothing.
TEST_F(SurfaceDialogTest, AStylePictureAsksWithThePassesDepthAndTime) {
    SurfaceMillingDialog asking{m, values, view, &host};
    asking.onInit();
    for (const auto& [id, text] : {std::pair{kSurfaceSizeX, "20"},
                                   {kSurfaceSizeY, "10"},
                                   {kSurfaceDepth, "0.5"},
                                   {kSurfaceCut, "0.2"},
                                   {kSurfacePitch, "2"}}) {
        Type(view, asking, id, text);
    }
    host.answers = {Answer::No};
    asking.onCommand(kSurfaceStartY);
    EXPECT_EQ(asking.lastStart(), 0);
    EXPECT_TRUE(appended.empty());
    host.answers = {Answer::Yes};
    asking.onCommand(kSurfaceStartY);
    EXPECT_EQ(asking.lastStart(), 1);
    ASSERT_EQ(host.boxes.size(), 2u);
    EXPECT_EQ(host.boxes[1].text,
              Format("Mill the surface 20.00 x 10.00 mm: 3 passes down to 0.50 mm, about %.1f "
                     "min. Start?",
                     m.buffer.remainingTimeS() / 60));
}

// A refusal is reported once, by its one box.
TEST_F(SurfaceDialogTest, JobTooLargeForTheBufferOrWithoutAnOriginIsRefused) {
    m.buffer.allocate(10);
    dialog.onInit();
    type(kSurfaceSizeX, "1");
    type(kSurfaceSizeY, "1");
    type(kSurfacePitch, "0.5");
    dialog.onCommand(kSurfaceStartX);  // 1 + (2 + 2 x 3 + 3) + 1 = 13 commands at depth 0
    EXPECT_EQ(dialog.lastStart(), 0);
    EXPECT_TRUE(appended.empty());
    EXPECT_EQ(boxTexts(), (std::vector<std::string>{"Not enought space in buffer space plus 3"}));
    m.buffer.allocate(13);
    dialog.onCommand(kSurfaceStartX);
    EXPECT_EQ(dialog.lastStart(), 1);
    EXPECT_FALSE(view.ended);  // stays open for the next surface
    m.position.relOriginSet = 0;
    dialog.onCommand(kSurfaceStartSpiral);
    EXPECT_EQ(host.boxes.size(), 2u);
    dialog.onCommand(kSurfaceCancel);
    EXPECT_EQ(view.endResult, kResultCancel);
}

}  // namespace
}  // namespace korvex::test
