#pragma once
// Where a job generator's moves go: counted only, or appended to the command
// buffer. One generator body serves both, so the count a dialog checks against
// the free space is always that of the moves the job issues.

#include <algorithm>
#include <cstdint>
#include <optional>

#include "log/text.h"
#include "motion/job_frame.h"

namespace korvex {

class MoveSink {
  public:
    // `safeSteps`: the job's safe height above the surface, where it starts
    // and ends.
    MoveSink(Machine& m, bool countOnly, int32_t safeSteps)
        : machine_(m), countOnly_(countOnly), frame_(m, safeSteps) {}

    // The job's first move: up to its safe height from wherever the tool is.
    // Appending, false (after a box, nothing queued) when that height or
    // `deepest` steps below the surface does not fit the Z travel.
    bool start(int32_t deepest);

    // One move, in AppendCommand's terms (checkSwitches and stopAfter are 0
    // in every generated job); its Z is aimed at the level it reaches below
    // the surface. Moves of length 0 are not counted, as AppendCommand does
    // not queue them: the count is exactly what is queued.
    void move(int32_t dx, int32_t dy, int32_t dz, int32_t periodUs, int32_t accelerated,
              int32_t dwellAfter, int32_t spindleOn);

    // Runs cycle(i) for i = 0 .. cycles - 1. Every cycle of a job issues the
    // same moves as the first but the last, whose plunge is the remainder (it
    // may be 0, and a move of 0 is not queued): counting runs those two only,
    // so a deep job with a thin cut is counted at once.
    template <class Cycle>
    void repeat(int64_t cycles, Cycle&& cycle) {
        if (cycles <= 0) return;
        if (!countOnly_) {
            for (int64_t i = 0; i < cycles; ++i) cycle(i);
            return;
        }
        const int64_t before = count_;
        cycle(0);
        const int64_t first = std::min<int64_t>(count_ - before, INT32_MAX);
        int64_t last = first;
        if (cycles > 1) {
            const int64_t beforeLast = count_;
            cycle(cycles - 1);
            last = count_ - beforeLast;
        }
        count_ = std::min<int64_t>(before + first * (cycles - 1) + last, INT32_MAX);
    }

    // A list line with two numbers; only when appending, so that checking a
    // job first does not report its cycles twice.
    void report(Text text, int64_t first, int64_t second);

    // Counting: the number of moves, at most INT32_MAX. Appending: 0.
    int32_t result() const;

  private:
    void append(int32_t dx, int32_t dy, int32_t dz, int32_t periodUs, int32_t accelerated,
                int32_t dwellAfter, int32_t spindleOn);

    Machine& machine_;
    bool countOnly_;
    JobFrame frame_;
    std::optional<JobScope> job_;
    bool bufferFull_ = false;
    int64_t count_ = 0;
};

// A step period in microseconds for a rate in steps per second, truncated.
int32_t RatePeriodUs(float stepsPerSecond);

}  // namespace korvex
