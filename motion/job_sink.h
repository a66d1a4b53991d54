#pragma once
// Where a job's moves go: counted only, or appended to the command buffer.
// One generator body serves both, so the count checked against the free
// space is exactly what the job queues: moves of length 0 are neither
// counted nor queued. Window thread.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "log/text.h"
#include "motion/job_frame.h"
#include "motion/machine.h"
#include "motion/move_time.h"
#include "motion/surface_bend.h"

namespace korvex {

// The refusal of a job that needs the relative origin when none is set.
inline constexpr Text kNoOriginBox{"nebyl definován relativní začátek, nebude se frézovat",
                                   "you must define relative point (startpoint)"};
// The refusal of a job larger than the free space; %d the entries short.
inline constexpr Text kShortfallBox{"Takto zadany pohyb presahuje velikost zásobniku o %d",
                                    "Not enought space in buffer,more space plus %d "};

// True when the relative origin is set; otherwise false after `box`.
bool RelativeOriginSet(Machine& m, const Text& box = kNoOriginBox);

// True when the free entries hold `needed`; otherwise false after `box`,
// given the entries short and the capacity that would suffice (a text uses
// as many of the two as it names).
bool FreeSlotsHold(Machine& m, int64_t needed, const Text& box = kShortfallBox);

class JobSink {
  public:
    // `safeSteps`: the job's safe height above the surface, where it starts
    // and ends (JobFrame).
    JobSink(Machine& m, bool countOnly, int32_t safeSteps = 0)
        : m_(m), countOnly_(countOnly), frame_(m, safeSteps) {}

    bool counting() const { return countOnly_; }

    // From here on the job's moves follow the machine's surface map, when
    // one is active (SurfaceBend).
    void followSurface();

    // The job's first move: up to its safe height from wherever the tool is.
    // False (after a box, nothing queued) when that height or `deepest` steps
    // below the surface, bent by the height map, does not fit the Z travel.
    // Appending, the job's shortenings by the soft limits are then reported
    // once, at its end.
    bool start(int32_t deepest);

    // A move of the job; its Z is aimed at the level it reaches below the
    // surface. The distances are clamped to the command's range.
    void move(int64_t dx, int64_t dy, int64_t dz, int32_t periodUs, int32_t accelerated,
              int32_t dwellAfter, int32_t spindleOn);
    // A move as it is, outside the frame.
    void add(const MotionCommand& c);

    // Runs body(i) for i = 0 .. n - 1, where every run issues the same
    // moves (their lengths may differ, not which are 0): counting runs it
    // once, so a deep job with a thin cut is counted at once.
    template <class Body>
    void times(int64_t n, Body&& body) {
        if (n <= 0) return;
        if (!countOnly_) {
            for (int64_t i = 0; i < n; ++i) body(i);
            return;
        }
        const int64_t before = count_;
        const double secondsBefore = seconds_;
        body(0);
        count_ = SaturatingAdd(before, SaturatingMultiply(count_ - before, n));
        seconds_ = secondsBefore + (seconds_ - secondsBefore) * static_cast<double>(n);
    }
    // Runs cycle(i) for i = 0 .. cycles - 1, where every cycle issues the
    // moves of the first but the last (whose plunge is the remainder, which
    // may be 0): counting runs those two only.
    template <class Cycle>
    void repeat(int64_t cycles, Cycle&& cycle) {
        if (cycles <= 0) return;
        times(cycles - 1, cycle);
        cycle(cycles - 1);
    }

    // A list line with two numbers; only when appending, so that checking a
    // job first does not report its cycles twice.
    void report(Text text, int64_t first, int64_t second);

    // Counting: the moves, saturating. Appending: the moves queued.
    int64_t count() const { return count_; }
    // Counting: the machine time of the moves counted, seconds.
    double seconds() const { return seconds_; }
    // Appending: the buffer ran out and the rest of the job was dropped.
    bool full() const { return full_; }

  private:
    // Counts of absurd jobs (a million passes of a million copies) saturate
    // instead of overflowing; any of them is far beyond the buffer.
    static int64_t SaturatingAdd(int64_t a, int64_t b);
    static int64_t SaturatingMultiply(int64_t a, int64_t b);
    void bentMove(int64_t dx, int64_t dy, int64_t dz, int32_t periodUs, int32_t accelerated,
                  int32_t dwellAfter, int32_t spindleOn);

    Machine& m_;
    bool countOnly_;
    JobFrame frame_;
    std::optional<JobScope> job_;
    std::shared_ptr<const HeightMap> map_;
    std::optional<SurfaceBend> bend_;
    bool full_ = false;
    int64_t count_ = 0;
    std::optional<MoveTimer> timer_;  // counting only
    double seconds_ = 0;
};

// Queues a job after counting it: `generate(countOnly)` runs it into a sink
// of that mode, says its own refusals and returns the count, 0 when it
// refused. Refused with `shortfall` when the free space cannot hold the
// count, or when `go` (asked once the job is counted and fits) says no;
// true when appended.
template <class Generate>
bool QueueJob(Machine& m, Generate&& generate, const Text& shortfall = kShortfallBox,
              const std::function<bool()>& go = {}) {
    const int64_t needed = generate(true);
    if (needed == 0 || !FreeSlotsHold(m, needed, shortfall)) return false;
    if (go && !go()) return false;
    generate(false);
    return true;
}

}  // namespace korvex
