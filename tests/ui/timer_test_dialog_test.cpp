#include "ui/timer_test_dialog.h"

#include <gtest/gtest.h>

#include "motion/timer_test.h"
#include "platform/headless.h"
#include "tests/ui/recording_window.h"

namespace korvex {
namespace {

using namespace timertest;

struct TimerTestDialogTest : test::ControllerTest {
    test::RecordingWindow view;
    RecordingCanvas graph{kGraphWidth, kGraphHeight + 10};
    TimerTestDialog dialog{c.machine, view, &graph};
};

// The texts and the graph at opening; ticks step only while Test is
// ticked, and only OK closes.
TEST_F(TimerTestDialogTest, TicksStepOnlyWhileTestIsTickedAndOnlyOkCloses) {
    c.machine.settings.oldTimer = 1;
    dialog.onInit();
    EXPECT_EQ(view.timers.at(kTimer), kTimerMs);
    EXPECT_EQ(view.text(kMaximum), "Maximum 0 us");
    EXPECT_GT(graph.calls.size(), 1u) << "the graph drawn at opening";
    dialog.onTimer(kTimer);
    EXPECT_EQ(view.text(kIndex), "Id 0/800");
    dialog.onCommand(kTest);
    EXPECT_TRUE(view.isChecked(kTest));
    for (int i = 0; i < 10; ++i) dialog.onTimer(kTimer);  // a second of ticks
    EXPECT_EQ(view.text(kIndex), "Id 10/800");
    EXPECT_FALSE(view.controls.ended);
    dialog.onCommand(kOk);
    EXPECT_TRUE(view.controls.ended);
    EXPECT_EQ(view.timers.count(kTimer), 0u);
}

TEST_F(TimerTestDialogTest, WithoutTheGraphPictureNothingIsWritten) {
    TimerTestDialog bare{c.machine, view, nullptr};
    bare.onInit();
    EXPECT_EQ(view.text(kMaximum), "");
}

}  // namespace
}  // namespace korvex
