#pragma once
// The timer test without its window: the test step, the statistics of the
// timing log and its graph.

#include <cstdint>

#include "motion/machine.h"

namespace korvex {

class Canvas;

// One timing-only step of period 1000 µs on all four axes. In old-timer
// mode its own duration goes to the timing log; in new-timer mode the step
// output logs its lateness.
void TimerTestStep(Machine& m);

struct TimingLogView {
    int32_t entries[kTimingLogSize];
    int32_t index;
    int32_t maximum, minimum;
};

// A copy of the ring with its largest and smallest value.
TimingLogView ReadTimingLog(const Machine& m);

// The graph picture: (kTimingLogSize + 10) x (kGraphHeight + 10) pixels.
inline constexpr int kGraphHeight = 200;
inline constexpr int kGraphWidth = kTimingLogSize + 10;

// Clears `canvas` to black and draws the ring in storage order, scaled so
// that the largest value touches the top.
void DrawTimingGraph(const TimingLogView& log, Canvas& canvas);

}  // namespace korvex
