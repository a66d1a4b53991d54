#include "motion/timer_test.h"

#include <algorithm>

#include "motion/rounding.h"
#include "motion/step_output.h"
#include "platform/canvas.h"

namespace korvex {

namespace {
constexpr uint32_t kBlack = 0xFF000000;
constexpr uint32_t kGraphGreen = 0xFF20FF20;
constexpr int kMargin = 5;
}  // namespace

void TimerTestStep(Machine& m) {
    const bool oldTimer = m.settings.oldTimer != 0;
    PerformanceCounter& clock = *m.timing.clock;
    const int64_t start = oldTimer ? clock.now() : 0;
    OutputStep(m, 1, 1, 1, 1, 1000, 1);
    if (!oldTimer) return;
    const int64_t elapsedUs = (clock.now() - start) * 1'000'000 / clock.frequency();
    m.timing.logTiming(static_cast<int32_t>(elapsedUs));
}

TimingLogView ReadTimingLog(const Machine& m) {
    TimingLogView view;
    for (int i = 0; i < kTimingLogSize; ++i)
        view.entries[i] = m.timing.timingLog[i].load(std::memory_order_relaxed);
    view.index = m.timing.timingLogIndex.load(std::memory_order_relaxed);
    const auto [low, high] = std::minmax_element(std::begin(view.entries), std::end(view.entries));
    view.minimum = *low;
    view.maximum = *high;
    return view;
}

void DrawTimingGraph(const TimingLogView& log, Canvas& canvas) {
    canvas.clear(kBlack);
    const float scale =
        static_cast<float>(kGraphHeight) / static_cast<float>(std::max(log.maximum, 1));
    auto y = [scale](int32_t value) {
        return kGraphHeight - RoundHalfAway(static_cast<float>(value) * scale) + kMargin;
    };
    for (int i = 1; i < kTimingLogSize; ++i)
        canvas.line(kMargin + i - 1, y(log.entries[i - 1]), kMargin + i, y(log.entries[i]),
                    kGraphGreen, 1);
}

}  // namespace korvex
