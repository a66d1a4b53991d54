#include "ui/timer_test_dialog.h"

#include "log/text.h"
#include "motion/timer_test.h"
#include "platform/canvas.h"
#include "ui/window_view.h"

namespace korvex {

using namespace timertest;

void TimerTestDialog::onInit() {
    view_.setTitle(title());
    view_.setText(kTest, "TEST");
    view_.setText(kOk, "Ok");
    view_.startTimer(kTimer, kTimerMs);
    onPaint();
    testOn_ = false;
    view_.setCheck(kTest, false);
}

void TimerTestDialog::onCommand(int id) {
    if (id == kTest) {
        testOn_ = !testOn_;
        view_.setCheck(kTest, testOn_);
    } else if (id == kOk) {
        view_.stopTimer(kTimer);
        view_.end(kResultOk);
    }
}

void TimerTestDialog::onTimer(int id) {
    if (id != kTimer) return;
    if (testOn_) TimerTestStep(m_);
    onPaint();
}

void TimerTestDialog::onPaint() {
    if (!graph_) return;
    const TimingLogView log = ReadTimingLog(m_);
    DrawTimingGraph(log, *graph_);
    view_.canvas(0).blit(10, 10, *graph_, 0, 0, kGraphWidth, kGraphHeight + 10);
    view_.setText(kMaximum, Format("Maximum %d us", log.maximum));
    view_.setText(kMinimum, Format("Minimum %d us", log.minimum));
    view_.setText(kIndex, Format("Id %d/%d", log.index, kTimingLogSize));
    view_.invalidate();
}

}  // namespace korvex
