// The "3D modelling" dialog: its texts, its limits and its guards.

#include <algorithm>

#include "machining/relief_carve.h"
#include "machining/relief_view.h"
#include "relief_fixture.h"

namespace korvex::test {
namespace {

TEST_F(ReliefTest, ShowsTheJobInMillimetresAndLimitsTheEdits) {
    picture(4, std::vector<uint8_t>(8, 255));
    dialog.onInit();
    EXPECT_TRUE(host.fileDialogs.empty());
    EXPECT_EQ(
        Texts(view, {kReliefDepth, kReliefCut, kReliefFeed, kReliefPitch, kReliefPitchByMultiple,
                     kReliefLevels, kReliefOriginal, kReliefSizeX, kReliefZOffset}),
        "1.00 | 1.00 | 1.00/s | 0.10000 | 0.10000mm | 255 linear | original 4x2 pixel | 0.40 | "
        "0.00");
    // 25.4 / 0.1f is a hair under 254.
    EXPECT_EQ(view.text(kReliefSize), "0.40 x 0.20 x 1.00 mm @ DPI 253x253, x1, Z>0.00");
    EXPECT_EQ(view.text(kReliefLevelLine), "255 .. 1.00000mm, 1 .. 0.00392mm");
    EXPECT_TRUE(view.isChecked(kReliefRatio));
    EXPECT_EQ(view.text(kReliefLevelsCaption), "count of levels") << "in the operator's language";
    EXPECT_FALSE(view.isEnabled(kReliefCut));
    EXPECT_EQ(job.depth, 10);

    edit(kReliefDepth, "0.01");
    EXPECT_EQ(job.depth, 1);
    edit(kReliefFeed, "7.5/s");
    EXPECT_EQ(values.feed, 1.0f);  // never above the cutting speed
    edit(kReliefFeed, "0.5");
    EXPECT_EQ(values.feed, 0.5f);
    edit(kReliefPitch, "0.36mm");
    EXPECT_EQ(job.pitch, 4);
    edit(kReliefZOffset, "-2");
    EXPECT_EQ(job.zOffset, 0);
    edit(kReliefCut, "0.2");
    EXPECT_EQ(values.cut, 10);  // never below the default cut
}

TEST_F(ReliefTest, OpensAPictureOnlyWhenNoneIsLoaded) {
    host.files.push_back({true, std::string(KORVEX_TEST_DATA) + "/machining/rgb24.bmp", 1});
    dialog.onInit();
    EXPECT_EQ(raster.loaded, 1);
    EXPECT_EQ(sourceKind, 1);
    EXPECT_EQ(view.text(kReliefOriginal), "original 4x2 pixel");

    raster = RasterImage{};
    dialog.onInit();  // cancelled: an empty picture with 255 levels
    EXPECT_EQ(host.fileDialogs.size(), 2u);
    EXPECT_EQ(view.text(kReliefOriginal), "original 0x0 pixel");
    EXPECT_EQ(view.text(kReliefLevels), "255 linear");
    EXPECT_FALSE(view.ended);

    // A refused picture ends the dialog before it shows anything.
    host.files.push_back({true, std::string(KORVEX_TEST_DATA) + "/machining/rgb565.bmp", 1});
    dialog.onInit();
    EXPECT_EQ(raster.loaded, 0);
    EXPECT_EQ(view.endResult, kResultCancel);
}

TEST_F(ReliefTest, TheMultipleScalesSizeAndOptionallyDepth) {
    picture(4, std::vector<uint8_t>(8, 255));
    dialog.onInit();
    dialog.onCommand(kReliefPlus);
    dialog.onCommand(kReliefPlus);
    EXPECT_EQ(view.text(kReliefSize), "1.20 x 0.60 x 1.00 mm @ DPI 253x253, x3, Z>0.00");
    EXPECT_EQ(view.text(kReliefSizeY), "0.60");
    EXPECT_EQ(view.text(kReliefPitchByMultiple), "0.30000mm");
    dialog.onCommand(kReliefZMultiple);
    EXPECT_TRUE(view.isChecked(kReliefZMultiple));
    EXPECT_EQ(view.text(kReliefSize), "1.20 x 0.60 x 3.00 mm @ DPI 253x253, x3, Z>0.00");
    EXPECT_EQ(view.text(kReliefLevelLine), "255 .. 3.00000mm, 1 .. 0.01176mm");
    dialog.onCommand(kReliefMinus);  // with the multiple the depth follows
    EXPECT_EQ(view.text(kReliefLevelLine), "255 .. 2.00000mm, 1 .. 0.00784mm");
    for (int i = 0; i < 3; ++i) dialog.onCommand(kReliefMinus);
    EXPECT_EQ(job.multiple, 1);
    job.multiple = 1000;
    dialog.onCommand(kReliefPlus);
    EXPECT_EQ(job.multiple, 1000);
}

// No picture, a zero feed or No to the question: nothing runs.
TEST_F(ReliefTest, RefusesAMissingPictureAZeroFeedAndAnsweringNo) {
    dialog.onCommand(kReliefGo);
    picture(2, {255, 0});
    dialog.onInit();
    host.answers = {Answer::No};
    dialog.onCommand(kReliefGo);
    host.answers = {Answer::No};
    dialog.onCommand(kReliefSimulate);
    edit(kReliefFeed, "0");
    dialog.onCommand(kReliefGo);
    EXPECT_EQ(output.steps, 0);
    EXPECT_EQ(canvasesMade, 0);
    EXPECT_EQ(dialog.lastRun(), 0);
    EXPECT_EQ(boxTexts(), (std::vector<std::string>{
                              kReliefNoPicture.en, kReliefGoQuestion.en, kReliefSimulateQuestion.en,
                              "The cutting speed must be above 0, the job was not queued"}));
}

// While a run goes on, its own emergency stop is the one control that
// answers: it halts the steps and its second press goes on from there.
TEST_F(ReliefTest, DuringARunOnlyTheEmergencyStopAnswers) {
    picture(3, {255, 128, 0, 0, 60, 255});
    dialog.onInit();
    dialog.onCommand(kReliefGo);
    const std::vector<Move> uninterrupted = output.runs;

    output = RecordingOutput{};
    output.onStep = [this](long n) {
        ASSERT_EQ(m.signals.estopActive, 0) << "a step while stopped";
        if (n != 57) return;
        EXPECT_FALSE(view.isEnabled(kReliefGo));
        EXPECT_FALSE(view.isEnabled(kReliefEnd));
        EXPECT_TRUE(view.isEnabled(kReliefEmergencyStop));
        dialog.onCommand(kReliefEnd);
        dialog.onCommand(kReliefFile);
        dialog.onCommand(kReliefPlus);
        edit(kReliefDepth, "3");
        dialog.onCommand(kReliefEmergencyStop);
        EXPECT_TRUE(view.isChecked(kReliefEmergencyStop));
    };
    output.onWait = [this](int waits) {
        if (waits == 3) dialog.onCommand(kReliefEmergencyStop);
    };
    dialog.onCommand(kReliefGo);
    EXPECT_FALSE(view.ended);
    EXPECT_TRUE(host.fileDialogs.empty());
    EXPECT_EQ(job.multiple, 1);
    EXPECT_EQ(job.depth, 10);
    EXPECT_EQ(output.waits, 3);
    EXPECT_EQ(output.runs, uninterrupted);
    EXPECT_FALSE(view.isChecked(kReliefEmergencyStop));
    EXPECT_EQ(m.gate.count(), 0);
    EXPECT_TRUE(view.isEnabled(kReliefGo));
}

// The relief and the executor never drive the port together: after Yes to the
// busy question the relief waits for the executor to finish its queue.
TEST_F(ReliefTest, WaitsForTheExecutorToFinish) {
    picture(2, {255, 0});
    dialog.onInit();
    m.executor.executorIdle = 0;
    output.onWait = [this](int waits) {
        if (waits == 5) m.executor.executorIdle = 1;
    };
    output.onStep = [this](long) { ASSERT_EQ(m.executor.executorIdle, 1); };
    int waitsBeforeTheOutline = -1;
    long stepsBeforeTheOutline = -1;
    context.carvingStarts = [&] {
        waitsBeforeTheOutline = output.waits;
        stepsBeforeTheOutline = output.steps;
    };
    dialog.onCommand(kReliefGo);
    EXPECT_EQ(waitsBeforeTheOutline, 5);
    EXPECT_EQ(stepsBeforeTheOutline, 0);
    EXPECT_EQ(output.waits, 5);
    EXPECT_GT(output.steps, 0);
    EXPECT_EQ(dialog.lastRun(), 1);
    ASSERT_GE(host.boxes.size(), 2u);
    EXPECT_EQ(host.boxes[0].text, kReliefBusyQuestion.en);
    EXPECT_EQ(host.boxes[0].buttons, Buttons::YesNo);
    EXPECT_EQ(host.boxes[1].text, kReliefGoQuestion.en);
    EXPECT_EQ(host.boxes.back().text, kReliefFinished.en);
}

TEST_F(ReliefTest, ScrollsTheSimulationOnlyWhileItIsShown) {
    picture(600, std::vector<uint8_t>(600 * 2, 128));
    dialog.onInit();
    dialog.onScroll(kReliefScrollX, kScrollPageDown, 0);
    EXPECT_EQ(simulation.scrollX, 0);
    dialog.onCommand(kReliefSimulate);
    const int last = simulation.simWidth - kReliefViewWidth;
    EXPECT_EQ(view.ranges[kReliefScrollX], std::make_pair(0, last));
    dialog.onScroll(kReliefScrollX, kScrollPageDown, 0);
    EXPECT_EQ(simulation.scrollX, 10);
    dialog.onScroll(kReliefScrollX, kScrollThumbTrack, 100000);
    EXPECT_EQ(simulation.scrollX, last);
    EXPECT_EQ(view.scrollPos(kReliefScrollX), last);
    dialog.onScroll(kReliefScrollY, kScrollLineDown, 0);  // shorter than the view
    EXPECT_EQ(simulation.scrollY, 0);
    dialog.onCommand(kReliefShowSimulation);
    dialog.onScroll(kReliefScrollX, kScrollTop, 0);
    EXPECT_EQ(simulation.scrollX, last);
}

TEST_F(ReliefTest, TheProgressBarStaysFullAfterARun) {
    picture(2, {255, 0});
    dialog.onInit();
    dialog.onCommand(kReliefGo);
    RecordingView reopened;
    ReliefDialog again{context, reopened, host};
    again.onInit();
    again.onPaint();
    const auto& calls = static_cast<RecordingCanvas&>(reopened.canvas(0)).calls;
    EXPECT_NE(std::find(calls.begin(), calls.end(), "fill 10 475 360 10 ff00ff00"), calls.end());
    EXPECT_EQ(static_cast<RecordingCanvas&>(reopened.canvas(0)).pixel(380, 15), 0xFFFFFFFFu);
}

}  // namespace
}  // namespace korvex::test
