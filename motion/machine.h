#pragma once
// The state the window's thread and the executor thread share: settings,
// log, command buffer, positions, port signals and the executor's flags.
//
// One Machine per program run (or per test). Everything the executor writes
// while the window reads it is atomic; the settings change only while the
// executor is idle.

#include <atomic>
#include <cstdint>

#include "log/event_log.h"
#include "motion/acceleration_table.h"
#include "motion/command_buffer.h"
#include "motion/port_link.h"
#include "motion/step_timing.h"
#include "platform/suspend_gate.h"
#include "settings/machine_settings.h"

namespace korvex {

using Counter = std::atomic<int32_t>;

struct MachinePosition {
    Counter absX{0}, absY{0}, absZ{0}, absS4{0};    // executed position, steps
    Counter plannedX{0}, plannedY{0}, plannedZ{0};  // after everything queued
    Counter relOriginX{0}, relOriginY{0}, relOriginZ{0};
    Counter relOriginSet{0};
    Counter resumeX{0}, resumeY{0}, resumeZ{0};  // where a reset interrupted a move
    Counter resumeValid{0};
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
    Counter axisStepping[3] = {0, 0, 0};
    // Ticks run since start-up and the sum of their periods (microseconds).
    std::atomic<int64_t> ticks{0};
    std::atomic<int64_t> tickTimeUs{0};
};

struct Machine {
    MachineSettings settings;
    EventLog log;
    CommandBuffer buffer;
    MachinePosition position;
    MachineSignals signals;
    ExecutorFlags executor;
    // The executor's suspend count: the start-up, the emergency stop and
    // stopAfter hold it; each is lifted by its own resume.
    SuspendGate gate;
    // The port backend, the clock and the pulse timing, the ramp tables.
    PortLink port;
    StepTiming timing;
    AccelerationTables accel;

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

// Appends one move; the push wakes an idle executor. Window thread.
int AppendCommand(Machine& m, int32_t dx, int32_t dy, int32_t dz, int32_t periodUs,
                  int32_t accelerated, int32_t dwellAfter, int32_t checkSwitches, int32_t spindleOn,
                  int32_t stopAfter);

}  // namespace korvex
