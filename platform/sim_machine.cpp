#include "platform/sim_machine.h"

#include <climits>
#include <cmath>

namespace korvex {

namespace {
constexpr int64_t kLongAgo = INT64_MIN / 4;
constexpr uint8_t kInputBits = 0xF8;  // status bits 3-7: pins 15, 13, 12, 10, 11
constexpr uint8_t kBusyInverted = 0x80;

int64_t Ticks(const PerformanceCounter& clock, double us) {
    return static_cast<int64_t>(std::llround(us * static_cast<double>(clock.frequency()) / 1e6));
}
}  // namespace

SimulatedMachine::SimulatedMachine(const PerformanceCounter& clock, const SimConfig& config)
    : clock_(clock),
      config_(config),
      minPulseTicks_(Ticks(clock, config.driver.minPulseUs)),
      minSetupTicks_(Ticks(clock, config.driver.minDirSetupUs)) {
    for (int a = 0; a < 4; ++a) {
        position_[a].store(a < 3 ? config.powerOnSteps[a] : 0, std::memory_order_relaxed);
        // The data lines are low at power-on.
        drivers_[a].dir = !config.axes[a].dirPositiveHigh;
        drivers_[a].dirChanged = kLongAgo;
    }
}

// The level of every input pin at status bits 3-7; unwired pins float high.
uint8_t SimulatedMachine::status() const {
    uint8_t pins = kInputBits;
    auto show = [&pins](const SimInput& input, bool active) {
        if (!input.statusMask) return;
        if (active == input.activeHigh)
            pins |= input.statusMask;
        else
            pins &= static_cast<uint8_t>(~input.statusMask);
    };
    for (int a = 0; a < 3; ++a)
        show(config_.limit[a], position(a) <= 0 || limitHeld_[a].load(std::memory_order_acquire));
    const int32_t surface = config_.probeSurfaceZ - (surfaceRise_ ? surfaceRise_() : 0);
    show(config_.probe, probePlaced() && position(2) >= surface);
    show(config_.emergency, emergencyPressed_.load(std::memory_order_acquire));
    return pins;
}

uint8_t SimulatedMachine::in(uint16_t address) {
    switch (address - config_.baseAddress) {
        case 0:
            return dataRegister();
        case 1:
            return static_cast<uint8_t>((status() ^ kBusyInverted) & kInputBits);
        case 2:
            return controlRegister();
        default:
            return 0xFF;
    }
}

void SimulatedMachine::out(uint16_t address, uint8_t value) {
    switch (address - config_.baseAddress) {
        case 0:
            decodeData(value, clock_.now());
            data_.store(value, std::memory_order_release);
            break;
        case 2:
            control_.store(value, std::memory_order_release);
            break;
        default:
            return;
    }
    if (recording_.load(std::memory_order_acquire)) record();
}

void SimulatedMachine::decodeData(uint8_t value, int64_t now) {
    for (int a = 0; a < 4; ++a) {
        const SimAxis& axis = config_.axes[a];
        if (!axis.stepMask) continue;
        DriverState& d = drivers_[a];
        const bool dir = ((value & axis.dirMask) != 0) == axis.dirPositiveHigh;
        if (dir != d.dir) {
            d.dir = dir;
            d.dirChanged = now;
        }
        const bool active = ((value & axis.stepMask) != 0) != axis.stepActiveLow;
        if (active == d.active) continue;
        d.active = active;
        if (active) {
            d.pulseStart = now;
            d.dirAtStart = d.dir;
            d.setupAtStart = now - d.dirChanged;
            continue;
        }
        const bool trailing = config_.driver.stepOnTrailingEdge;
        const int64_t setup = trailing ? now - d.dirChanged : d.setupAtStart;
        if (now - d.pulseStart >= minPulseTicks_ && setup >= minSetupTicks_)
            step(a, trailing ? d.dir : d.dirAtStart);
        else
            lost_[a].fetch_add(1, std::memory_order_relaxed);
    }
}

void SimulatedMachine::step(int axis, bool positive) {
    const int delta = positive ? 1 : -1;
    received_[axis].fetch_add(delta, std::memory_order_relaxed);
    const int32_t next = position(axis) + delta;
    if (axis < 3) {
        if (next < -config_.overtravelSteps[axis] ||
            next > config_.travelSteps[axis] + config_.overtravelSteps[axis]) {
            if (!atEnd_[axis]) {  // one report per contact, not per pushed step
                atEnd_[axis] = true;
                crashes_[axis].fetch_add(1, std::memory_order_relaxed);
                if (crashReport_) crashReport_(axis, delta);
            }
            return;
        }
        atEnd_[axis] = false;
    }
    position_[axis].store(next, std::memory_order_release);
}

void SimulatedMachine::pressEmergency(bool pressed) {
    emergencyPressed_.store(pressed, std::memory_order_release);
    if (recording_.load(std::memory_order_acquire)) record();
}

void SimulatedMachine::placeProbe(bool present) {
    probePresent_.store(present, std::memory_order_release);
    if (recording_.load(std::memory_order_acquire)) record();
}

void SimulatedMachine::startRecording() {
    std::lock_guard lock(recordMutex_);
    timeline_.clear();
    recordStart_ = clock_.now();
    timeline_.push_back({0, dataRegister(), status(), controlRegister()});
    recording_.store(true, std::memory_order_release);
}

void SimulatedMachine::record() {
    std::lock_guard lock(recordMutex_);
    const Edge e{clock_.now() - recordStart_, dataRegister(), status(), controlRegister()};
    const Edge& last = timeline_.back();
    if (e.data != last.data || e.status != last.status || e.control != last.control)
        timeline_.push_back(e);
}

}  // namespace korvex
