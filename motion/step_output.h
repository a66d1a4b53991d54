#pragma once
// One tick of step pulses on the data register, the microsecond waits, and
// the executor's priority.
//
// Callers: the executor thread for every tick; the relief carving and the
// timer test from the window's thread (never both at once: keeping them
// apart is the callers' duty). Nothing here allocates, locks or logs, except
// SetExecutorPriority.
//
// The waveform of one tick on a stepping axis (invertStep off; with
// invertStep on the step line idles high and the pulse is low). Axes without
// a step keep their step line idle:
//
//           idle pattern       pulse pattern     idle pattern
//   dir   ==X==================================================   settles first
//   step  ____________________/‾‾‾‾‾‾‾‾‾‾‾‾‾‾‾‾\_______________
//              |<- dirSetupUs ->|<- stepPulseUs ->|<- periodUs ->| next tick
//
// Old-timer mode waits periodUs at once after the pulse, so the caller's
// work between ticks comes on top; new-timer mode sets a deadline periodUs
// after the pulse and the next tick waits for it, absorbing that work. The
// lateness of each new-timer tick goes to the timing log.

#include <cstdint>

#include "motion/machine.h"

namespace korvex {

// Converts what a tick needs from the settings (soft limits, pin masks,
// inversions, timing) once. The executor calls it before every command;
// other callers call it before their run and after any change of settings
// or port. OutputStep prepares itself on first use.
void PrepareStepOutput(Machine& m);

// One tick. stepX..stepS4: -1, 0 or +1 (any other value makes no pulse).
// Reads the inputs first: an emergency suspends the executor through
// m.gate, and on the executor's own thread the tick waits there before its
// pulse. On any other thread OutputStep never blocks: while the stop is
// latched (also by this tick's own read) a tick with steps writes nothing,
// moves no counter and returns 0, for the caller to repeat after the
// release; a tick without steps still settles the lines. Then it writes the idle,
// pulse and idle patterns with the configured waits, and advances the
// absolute counters by the pulses actually made: a pulse dropped by the
// soft limits does not move its counter and is counted in
// m.timing.softLimitDrops. Without an active port nothing is written or
// waited and the counters still move. `timingOnly`: the timing alone, no
// port writes and no counter change. A backend that failed during the tick
// counts none of its pulses and stops the executor (StopForFailingPort).
// Returns 1; 0 when the tick was held by an emergency stop (on the
// executor's thread: and a reset or quit came before the release), or, on
// the executor's thread, a reset or quit is pending: then nothing was
// written and no counter moved.
int OutputStep(Machine& m, int stepX, int stepY, int stepZ, int stepS4, int periodUs,
               int timingOnly);

// The pulses the soft limits dropped since the last call, per axis.
struct SoftLimitDrops {
    int32_t x, y, z;
};
SoftLimitDrops TakeSoftLimitDrops(Machine& m);

// Busy-waits at least `us` microseconds on the machine's clock; never sleeps.
void WaitMicroseconds(Machine& m, int64_t us);

// Levels 0-6 (idle .. time critical) of the executor thread: nice values,
// SCHED_FIFO for 5 and 6 where permitted. The level is stored and (logIt)
// logged by name even when the system refuses the change. Returns 1 when
// set, 0 for a level outside 0-6 or one already in force.
int SetExecutorPriority(Machine& m, int level, int logIt);

// "THREAD_PRIORITY_IDLE" .. "THREAD_PRIORITY_TIME_CRITICAL"; "priority
// unknown" outside 0-6.
const char* PriorityName(int level);

}  // namespace korvex
