#pragma once
// Machines for the motion benchmarks: a port whose accesses cost nothing
// but a call, and a clock that never waits.

#include "motion/machine.h"
#include "motion/step_output.h"

namespace korvex::bench {

class FreePort final : public PortIo {
  public:
    bool load() override { return true; }
    uint8_t in(uint16_t) override { return 0; }
    void out(uint16_t, uint8_t value) override { last = value; }
    std::string name() const override { return "free"; }
    volatile uint8_t last = 0;
};

class FrozenClock final : public PerformanceCounter {
  public:
    int64_t now() const override { return 0; }
    int64_t frequency() const override { return 1'000'000'000; }
    void waitUntil(int64_t) override {}
};

// Factory settings with room to move, on `port` (or none) and `clock`.
inline void Prepare(Machine& m, PortIo* port, PerformanceCounter& clock) {
    LoadFactoryDefaults(m.settings);
    m.settings.travelX = m.settings.travelY = m.settings.travelZ = 1e7f;
    m.timing.clock = &clock;
    m.port.io = port;
    m.signals.portReady = port ? 1 : 0;
    m.buffer.allocate(16);
    PrepareStepOutput(m);
}

}  // namespace korvex::bench
