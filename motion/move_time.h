#pragma once
// The machine time of a command as the executor runs it on a port, worked
// out without running its ticks: every tick waits the direction set-up, the
// pulse and its period, each rounded to the clock as OutputStep rounds it;
// an interpolated move makes one tick per step of its longest axis; a ramped
// move runs its phases over the acceleration tables (summed ahead, so a ramp
// of any length costs the same); a dwell sleeps the whole seconds of
// dwellSeconds. A stop after the move waits for a person and counts zero.
//
// Switch-checking moves are timed to their full length, and a move held by
// the emergency stop or cut short by a reset takes less than this.

#include <array>
#include <cstdint>

#include "motion/acceleration_table.h"
#include "motion/motion_command.h"
#include "settings/machine_settings.h"

namespace korvex {

struct Machine;

class MoveTimer {
  public:
    // With the machine's own tables and clock; valid until they change.
    explicit MoveTimer(const Machine& m);
    // With tables built from `s`, as the machine builds them, and the
    // clocks' resolution (nanoseconds), for programs read ahead of a run.
    explicit MoveTimer(const MachineSettings& s);
    MoveTimer(const MoveTimer&) = delete;
    MoveTimer& operator=(const MoveTimer&) = delete;

    double seconds(const MotionCommand& c) const;
    // One tick of `periodUs`, set-up and pulse included.
    double tickSeconds(int32_t periodUs) const;

  private:
    void prepare(int64_t frequency);
    double waitTicks(int64_t us) const;
    // Clock ticks of `count` ticks whose periods, none negative, sum to
    // `periodsUs`.
    double clockTicks(int64_t count, int64_t periodsUs) const;
    int64_t rampedPeriodsUs(const MotionCommand& c, int64_t& ticks, int32_t& lastUs) const;

    const MachineSettings& s_;
    std::array<AccelerationTable, 3> own_;
    const AccelerationTable* tables_[3] = {};
    int rampSteps_ = 1;
    double frequency_ = 1, ticksPerUs_ = 0;
    double tickOverhead_ = 0;  // clock ticks of a tick's set-up and pulse waits
    bool oldTimer_ = true;
};

}  // namespace korvex
