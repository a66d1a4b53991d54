#pragma once
// "sim": the built-in simulated machine behind the port registers.
//
// It decodes the data register as step/dir drivers do: a step is taken at
// the driver's step edge when the pulse was at least minPulseUs wide and the
// direction line had been stable minDirSetupUs before that edge; any other
// pulse loses its step, as on real hardware. Three carriages move in motor
// steps from their power-on positions and stop at their mechanical ends (a
// crash, reported once per contact). Each minimum limit switch closes at
// the end of its travel (position <= 0; Z counts downwards from the top),
// the Z probe closes when the tool tip reaches the probe's surface, and the
// emergency input stays released unless somebody presses it. Input pins
// show the levels the wiring's inversions read as inactive at rest. The
// data and control registers read back what was written.
//
// Threads: the data register is written by one thread at a time (the step
// output's rule); inputs, control and the counters may be used from any
// thread. The clock is the one the step output waits on, so pulse widths
// are measured as the machine sees them (virtual time too).

#include <atomic>
#include <functional>
#include <iosfwd>
#include <mutex>
#include <vector>

#include "platform/clock.h"
#include "platform/port_io.h"

namespace korvex {

// How one axis's driver is wired to the data register.
struct SimAxis {
    uint8_t stepMask = 0, dirMask = 0;
    bool stepActiveLow = false;   // the pulse is a low level (the line idles high)
    bool dirPositiveHigh = true;  // a high direction line moves towards larger counts
};

// The drivers' timing limits.
struct SimDriver {
    double minPulseUs = 2.0;
    double minDirSetupUs = 1.0;
    bool stepOnTrailingEdge = false;  // step at the end of the pulse, not its start
};

// One input: its status-register bit (0: not wired) and the pin level it
// shows when active.
struct SimInput {
    uint8_t statusMask = 0;
    bool activeHigh = true;
};

struct SimConfig {
    uint16_t baseAddress = 0x378;
    SimAxis axes[4];  // X, Y, Z and the fourth axis (steps counted only)
    SimDriver driver;
    int32_t travelSteps[3] = {1000, 1000, 1000};
    int32_t overtravelSteps[3] = {20, 20, 20};  // switch to mechanical end
    int32_t powerOnSteps[3] = {500, 500, 500};
    int32_t probeSurfaceZ = 600;  // the tool tip touches the probe here
    SimInput limit[3], probe, emergency;
};

class SimulatedMachine final : public PortIo {
  public:
    SimulatedMachine(const PerformanceCounter& clock, const SimConfig& config);

    bool load() override { return true; }
    uint8_t in(uint16_t address) override;
    void out(uint16_t address, uint8_t value) override;
    std::string name() const override { return "sim"; }

    // The world around the machine; any thread.
    void pressEmergency(bool pressed);
    void placeProbe(bool present);
    bool probePlaced() const { return probePresent_.load(std::memory_order_acquire); }
    // Holds an axis's minimum limit switch closed wherever its carriage is,
    // as a stuck switch or a chip on it would.
    void holdLimit(int axis, bool closed) {
        limitHeld_[axis].store(closed, std::memory_order_release);
    }

    // The material's shape: how many Z steps its surface stands above the
    // flat one under the tool now (the probe closes that much higher). Set
    // before stepping starts; called from any thread.
    void setSurface(std::function<int32_t()> riseSteps) { surfaceRise_ = std::move(riseSteps); }

    // Carriage position in motor steps (axis 3: the fourth axis's steps).
    int32_t position(int axis) const { return position_[axis].load(std::memory_order_acquire); }
    // Steps the driver accepted, signed by direction.
    int64_t stepsReceived(int axis) const {
        return received_[axis].load(std::memory_order_acquire);
    }
    // Pulses the driver refused for their timing.
    int64_t stepsLost(int axis) const { return lost_[axis].load(std::memory_order_acquire); }
    // Times the carriage ran into a mechanical end.
    int64_t crashes(int axis) const { return crashes_[axis].load(std::memory_order_acquire); }
    uint8_t dataRegister() const { return data_.load(std::memory_order_acquire); }
    uint8_t controlRegister() const { return control_.load(std::memory_order_acquire); }

    // Called on the stepping thread when a carriage hits an end (direction
    // -1 or +1). Set before stepping starts.
    void setCrashReporter(std::function<void(int axis, int direction)> report) {
        crashReport_ = std::move(report);
    }

    // The pin timeline from now on (a debugging aid: it allocates and
    // locks), written as a VCD file with times relative to the start.
    void startRecording();
    void writeVcd(std::ostream& out) const;

  private:
    struct Edge {
        int64_t time;
        uint8_t data, status, control;
    };
    struct DriverState {
        bool active = false;  // a pulse is in progress
        bool dir = false;
        int64_t pulseStart = 0, dirChanged = 0, setupAtStart = 0;
        bool dirAtStart = false;
    };

    void decodeData(uint8_t value, int64_t now);
    void step(int axis, bool positive);
    uint8_t status() const;
    void record();

    const PerformanceCounter& clock_;
    SimConfig config_;
    int64_t minPulseTicks_, minSetupTicks_;
    DriverState drivers_[4];
    std::atomic<uint8_t> data_{0};
    std::atomic<uint8_t> control_{0};
    std::atomic<bool> emergencyPressed_{false};
    std::atomic<bool> probePresent_{true};
    std::atomic<bool> limitHeld_[3] = {false, false, false};
    std::atomic<int32_t> position_[4];
    std::atomic<int64_t> received_[4] = {};
    std::atomic<int64_t> lost_[4] = {};
    std::atomic<int64_t> crashes_[4] = {};
    bool atEnd_[3] = {false, false, false};
    std::function<void(int, int)> crashReport_;
    std::function<int32_t()> surfaceRise_;

    std::atomic<bool> recording_{false};
    mutable std::mutex recordMutex_;
    int64_t recordStart_ = 0;
    std::vector<Edge> timeline_;
};

}  // namespace korvex
