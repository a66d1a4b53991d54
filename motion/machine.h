#pragma once
// The state the window's thread and the executor thread share: settings,
// log, command buffer, positions, port signals and the executor's flags.
//
// One Machine per program run (or per test). The thread contract of each
// field is written beside it: atomic, owned by one thread, or handed over
// through a lock or an ordering flag. "The window" is whichever thread
// queues commands and changes settings (the window's, or the command
// line's main thread); there is one such thread.

#include <atomic>
#include <cstdint>
#include <memory>

#include "log/event_log.h"
#include "motion/acceleration_table.h"
#include "motion/command_buffer.h"
#include "motion/port_link.h"
#include "motion/step_timing.h"
#include "platform/suspend_gate.h"
#include "settings/machine_settings.h"

namespace korvex {

struct HeightMap;

using Counter = std::atomic<int32_t>;

struct MachinePosition {
    Counter absX{0}, absY{0}, absZ{0}, absS4{0};    // executed position, steps
    Counter plannedX{0}, plannedY{0}, plannedZ{0};  // after everything queued
    Counter relOriginX{0}, relOriginY{0}, relOriginZ{0};
    Counter relOriginSet{0};
    Counter resumeX{0}, resumeY{0}, resumeZ{0};  // where a reset interrupted a move
    Counter resumeValid{0};
    // Bit per axis (X 1, Y 2, Z 4) whose zero its limit switch set; cleared
    // when homing starts the axis again.
    Counter homedAxes{0};
};

// Moves an axis's executed counter into a new frame (a switch's zero, the
// whole travel before homing) and the planned one with it, so that the
// commands still queued keep their meaning: planned - executed stays what
// is still to run, less `undone`, the steps of the running move that it
// will no longer make.
inline void Reframe(Counter& executed, Counter& planned, int32_t to, int32_t undone = 0) {
    planned.fetch_add(to - executed.exchange(to) - undone);
}

// The soft limits' shortening of moves at their append, summed per axis
// (steps, absolute). Window thread. Inside a job (a JobScope) one line
// reports the job's sum at its end; a move outside a job reports its own.
struct PlanClips {
    int64_t steps[3] = {0, 0, 0};
    int openJobs = 0;
    int64_t total = 0;  // every step shortened since start-up, never reset
};

// Inputs as last read (1 = active) and the control outputs' states.
struct MachineSignals {
    Counter limitX{0}, limitY{0}, limitZ{0}, zSensor{0}, emergencyInput{0};
    Counter estopActive{0};
    Counter portReady{0};
    Counter machineOnState{0}, spindleOnState{0};
};

// Executor to window, and window to executor.
struct ExecutorFlags {
    Counter executorIdle{1};
    Counter resetRequest{0};
    Counter quitRequest{0};
    Counter executorExited{1};
    Counter currentPeriodUs{0};
    // The stopAfter of the command whose stop holds the machine; 0 once
    // released.
    Counter programStop{0};
    Counter axisStepping[3] = {0, 0, 0};
    // Ticks run since start-up and the sum of their periods (microseconds).
    std::atomic<int64_t> ticks{0};
    std::atomic<int64_t> tickTimeUs{0};
    // Counts the executor's repaint requests: after a drained buffer, a
    // reset and a stop after a command. A window that does not refresh by
    // its timer repaints when it moved.
    std::atomic<int64_t> repaintRequests{0};
    // The operator's feed override, percent (10 .. 200): scales the period
    // of interpolated moves from their next tick on; ramped and
    // switch-checking moves keep theirs.
    Counter feedPercent{100};
    // 1 once the soft limits dropped a pulse since the buffer last drained
    // or was reset: the job is being cut short at the travel's end.
    Counter softLimitClipped{0};
};

struct Machine {
    // Owned by the window. The executor reads it at start-up and while it
    // runs a command (executorIdle 0); the window writes it only once
    // ExecutorAtRest returned true and queues nothing meanwhile. The idle
    // flag, stored after the executor's last read, and the buffer's lock,
    // taken by every append, hand it over in both directions.
    MachineSettings settings;
    // Any thread: its own locks.
    EventLog log;
    // Entries behind its lock; counts and the front's progress atomic.
    CommandBuffer buffer;
    // Atomic: the executor moves abs*, the window plans, sets origins and
    // (at rest) resets.
    MachinePosition position;
    // Atomic: the executor and the window's status timer both read the
    // inputs; the outputs' states follow SetControlOutputs.
    MachineSignals signals;
    // Window thread.
    PlanClips clips;
    // Atomic: flags in both directions.
    ExecutorFlags executor;
    // The executor's suspend count, behind its own lock: the start-up, the
    // emergency stop and stopAfter hold it; each is lifted by its own resume.
    SuspendGate gate;
    // The port backend: `io` is set by the window at rest, the control
    // register's value is atomic.
    PortLink port;
    // The clock and the pulse timing: the plan is written by whichever
    // thread steps (the executor per command, the window's relief or timer
    // test while the executor rests); the rest is atomic.
    StepTiming timing;
    // The ramp tables, built by the window at rest; `ready` is atomic and
    // published after the build.
    AccelerationTables accel;
    // Window thread: the probed surface that vector and G-code jobs follow;
    // null when they cut flat.
    std::shared_ptr<const HeightMap> surfaceMap;

    Machine() { log.setLanguage(&settings.language); }
    Machine(const Machine&) = delete;
    Machine& operator=(const Machine&) = delete;
};

// Results of AppendCommand.
enum AppendResult {
    kAppended = 0,   // also when the program is ending and nothing was appended
    kZeroMove = 2,   // dx, dy and dz all 0: nothing appended
    kBufferFull = 3  // no free entry: nothing appended, reported with a box
};

// Appends one move; the push wakes an idle executor. With the soft limits
// on, a move that would take the planned position out of the travel is
// shortened to its end (switch-checking moves, and moves queued behind one,
// excepted: they stop at their switch and the executor's soft limits guard
// the rest), so that the planned position is always what will be executed;
// one shortened to nothing is not queued (kZeroMove). Drops the resume point
// of an earlier buffer reset: the tool moves on from here. Window thread.
int AppendCommand(Machine& m, int32_t dx, int32_t dy, int32_t dz, int32_t periodUs,
                  int32_t accelerated, int32_t dwellAfter, int32_t checkSwitches, int32_t spindleOn,
                  int32_t stopAfter);
// The same for a move as producers build it; its remaining time is the
// append's to set.
inline int AppendCommand(Machine& m, const MotionCommand& c) {
    return AppendCommand(m, c.dx, c.dy, c.dz, c.periodUs, c.accelerated, c.dwellAfter,
                         c.checkSwitches, c.spindleOn, c.stopAfter);
}

// Reports the shortening summed since the last report, if any.
void ReportPlanClips(Machine& m);

// Gathers the soft limits' reports of one job's appends into one line at
// its end.
class JobScope {
  public:
    explicit JobScope(Machine& m) : m_(m) { ++m.clips.openJobs; }
    ~JobScope() {
        if (--m_.clips.openJobs == 0) ReportPlanClips(m_);
    }
    JobScope(const JobScope&) = delete;
    JobScope& operator=(const JobScope&) = delete;

  private:
    Machine& m_;
};

}  // namespace korvex
