#pragma once
// The motion system's start-up around one Machine: a port backend, a clock,
// the acceleration tables and the running executor. Front ends and tests
// build one; its destructor shuts the machine down again.
//
//   SimulatedRig rig;                      // factory settings, sim, virtual clock
//   AppendCommand(rig.machine, 100, 0, 0, 1000, 0, 0, 0, 0, 0);
//   rig.waitUntilDrained();
//
// or, around a Machine owned elsewhere: MotionRig rig(m, {"sim", true});

#include <atomic>
#include <functional>
#include <memory>
#include <string>

#include "motion/executor.h"
#include "motion/machine.h"
#include "platform/sim_machine.h"

namespace korvex {

// The simulated material's shape, mm: a tilt over 100 mm in X and in Y
// and a bow along X (SimSurfaceHeight).
struct SimSurface {
    double tiltX = 0, tiltY = 0, bow = 0;
};

// The surface's height above the flat one at the absolute position X, Y
// (mm): tiltX·X/100 + tiltY·Y/100 + bow·4·(X/LX)·(1 − X/LX), LX the X travel.
double SimSurfaceHeight(const SimSurface& surface, double xMm, double yMm, double travelXMm);

struct RigOptions {
    std::string port = "sim";   // sim | none | rawio | ppdev:DEV | auto
    bool virtualClock = true;   // false: the monotonic clock, real busy-waits
    PortIo* backend = nullptr;  // not owned; given: used instead of `port`
};

class MotionRig {
  public:
    // Start-up order: clock, tables, buffer (when not yet allocated), port
    // (load, test, outputs: machine on, spindle off, pin 17 on), then the
    // executor, so that it inherits the port access the load was granted
    // (rawio's I/O permission is per thread, copied when a thread is
    // created), then the priority with logging. Commands queued before
    // start at once. `surface` shapes the simulated machine's material.
    // Window thread.
    MotionRig(Machine& m, const RigOptions& options = {}, const SimSurface& surface = {});
    // Stops the executor, switches machine and spindle off, detaches.
    ~MotionRig();
    MotionRig(const MotionRig&) = delete;
    MotionRig& operator=(const MotionRig&) = delete;

    Machine& machine() { return m_; }
    // The simulated machine; null for other backends.
    SimulatedMachine* sim() { return sim_.get(); }
    PerformanceCounter& clock() { return *m_.timing.clock; }
    CommandExecutor& executor() { return executor_; }
    const std::string& portName() const { return portName_; }
    // The clock's value when the machine was ready to run.
    int64_t startedAt() const { return startedAt_; }
    // The simulated machine's material, changed at any time (the window's
    // simulator panel); any thread.
    void setSimSurface(const SimSurface& surface);
    SimSurface simSurface() const;

  private:
    Machine& m_;
    std::atomic<double> surface_[3] = {0, 0, 0};  // tilt X, tilt Y, bow
    std::unique_ptr<PerformanceCounter> clock_;
    std::unique_ptr<SimulatedMachine> sim_;
    std::unique_ptr<PortIo> port_;
    std::string portName_;
    int64_t startedAt_ = 0;
    CommandExecutor executor_;
};

// The simulated machine wired as `s` describes the real one: step and
// direction masks and inversions, the input pins and their inversions, the
// travels. Power-on at mid-travel, the probe's surface at 60 % of Z.
SimConfig SimConfigFromSettings(const MachineSettings& s);

// A whole machine for a test or a dry run: its own Machine (with the given
// settings and a buffer of `capacity`) on the simulated machine and the
// virtual clock.
struct SimulatedRig {
    explicit SimulatedRig(const MachineSettings& settings = FactorySettings(), int capacity = 1000,
                          const SimSurface& surface = {});
    Machine machine;
    MotionRig rig;

    SimulatedMachine& sim() { return *rig.sim(); }
    bool waitUntilDrained() { return WaitUntilDrained(machine); }
};

}  // namespace korvex
