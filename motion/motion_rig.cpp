#include "motion/motion_rig.h"

#include <cmath>

#include "log/event_log.h"
#include "motion/acceleration.h"
#include "motion/access_hints.h"
#include "motion/port.h"
#include "motion/rounding.h"
#include "motion/step_output.h"
#include "platform/port_select.h"
#include "platform/ppdev_port.h"

namespace korvex {

namespace {

std::unique_ptr<SimulatedMachine> MakeSim(Machine& m, const PerformanceCounter& clock,
                                          const std::function<SimSurface()>& surface) {
    auto sim = std::make_unique<SimulatedMachine>(clock, SimConfigFromSettings(m.settings));
    const MachineSettings& s = m.settings;
    const MachinePosition& p = m.position;
    // Read on the stepping thread: the settings stay while it runs.
    sim->setSurface([&s, &p, surface] {
        const double h = SimSurfaceHeight(surface(), p.absX.load() * double{s.mmPerStepX},
                                          p.absY.load() * double{s.mmPerStepY}, s.travelX);
        return static_cast<int32_t>(std::lround(h / s.mmPerStepZ));
    });
    EventLog& log = m.log;
    sim->setCrashReporter([&log](int axis, int direction) {
        SayFormatted(log,
                     {"Simulovaný stroj: osa %c narazila na mechanický doraz (%s)",
                      "Simulated machine: axis %c ran into its mechanical end (%s)"},
                     true, false, "XYZ"[axis], direction < 0 ? "-" : "+");
    });
    return sim;
}

// A ppdev port that opens, for "auto"; null, saying so, when there is none. A
// port that is there but denied also says how to get it.
std::unique_ptr<PortIo> OpenDefaultPpdev(Machine& m, uint16_t base) {
    auto port = std::make_unique<PpdevPort>(kDefaultPpdevDevice, base);
    if (port->load()) return port;
    SayFormatted(m.log,
                 {"Port %s nelze otevřít (%s): běží simulovaný stroj",
                  "The port %s cannot be opened (%s): running the simulated machine"},
                 true, false, port->name().c_str(), port->lastError().c_str());
    ExplainPortRefusal(m, *port);
    return nullptr;
}

}  // namespace

double SimSurfaceHeight(const SimSurface& surface, double xMm, double yMm, double travelXMm) {
    const double u = travelXMm > 0 ? xMm / travelXMm : 0;
    return surface.tiltX * xMm / 100 + surface.tiltY * yMm / 100 + surface.bow * 4 * u * (1 - u);
}

SimConfig SimConfigFromSettings(const MachineSettings& s) {
    SimConfig c;
    c.baseAddress = static_cast<uint16_t>(s.lptAddress);
    const int steps[4] = {s.pinStepX, s.pinStepY, s.pinStepZ, s.pinStepS4};
    const int dirs[4] = {s.pinDirX, s.pinDirY, s.pinDirZ, s.pinDirS4};
    const int invertDir[4] = {s.invertDirX, s.invertDirY, s.invertDirZ, 0};
    for (int a = 0; a < 4; ++a) {
        c.axes[a].stepMask = static_cast<uint8_t>(steps[a]);
        c.axes[a].dirMask = static_cast<uint8_t>(dirs[a]);
        c.axes[a].stepActiveLow = s.invertStep != 0;
        c.axes[a].dirPositiveHigh = invertDir[a] == 0;
    }
    const float step[3] = {s.mmPerStepX, s.mmPerStepY, s.mmPerStepZ};
    const int limits[3] = {s.pinLimitX, s.pinLimitY, s.pinLimitZ};
    for (int a = 0; a < 3; ++a) {
        c.travelSteps[a] = TravelSteps(s, a);
        c.overtravelSteps[a] = MmToSteps(2.0, step[a]);
        c.powerOnSteps[a] = c.travelSteps[a] / 2;
        c.limit[a] = {static_cast<uint8_t>(limits[a]), s.invertSwitches != 0};
    }
    c.probeSurfaceZ = c.travelSteps[2] * 6 / 10;
    c.probe = {static_cast<uint8_t>(s.pinZSensor), s.invertSwitches != 0};
    c.emergency = {static_cast<uint8_t>(s.pinEmergency), s.invertEmergency != 0};
    return c;
}

MotionRig::MotionRig(Machine& m, const RigOptions& options, const SimSurface& surface)
    : m_(m), executor_(m) {
    setSimSurface(surface);
    if (options.virtualClock) {
        clock_ = std::make_unique<VirtualClock>();
        m.timing.clock = clock_.get();
    }
    const MachineSettings& s = m.settings;
    const auto base = static_cast<uint16_t>(s.lptAddress);
    if (!options.backend && options.port == "auto") port_ = OpenDefaultPpdev(m, base);
    if (!options.backend && !port_ && (options.port == "sim" || options.port == "auto"))
        sim_ = MakeSim(m, *m.timing.clock, [this] { return simSurface(); });
    if (!options.backend && !port_ && !sim_) port_ = MakeHardwarePort(options.port, base);
    if (!options.backend && !port_ && !sim_) port_ = MakeHardwarePort("none", base);
    PortIo& io = options.backend ? *options.backend : sim_ ? static_cast<PortIo&>(*sim_) : *port_;
    portName_ = io.name();

    if (BuildAccelerationTables(m))
        m.log.say({"tabulka zrychleni vytvorena", "table of accelerations was created"}, false,
                  false);
    else
        m.log.say({"tabulka zrychleni nevytvorena", "table of accelerations was not created"}, true,
                  true);
    if (m.buffer.capacity() == 0) m.buffer.allocate(s.commandCapacity);
    if (!s.useSerial) {
        LoadPortLibrary(m, io);
        TestPort(m);
        SetControlOutputs(m, 1, 0, 1);
    }
    // Held until the start-up is complete, so that commands queued before
    // it run after startedAt().
    m.gate.suspend();
    executor_.start();
    SetExecutorPriority(m, s.executorPriority, 1);
    startedAt_ = m.timing.clock->now();
    m.gate.resume();
}

MotionRig::~MotionRig() {
    executor_.stop();
    SetControlOutputs(m_, 0, 0, -1);
    m_.signals.portReady.store(0);
    m_.port.io = nullptr;
    m_.timing.clock = &SystemClock();
    m_.timing.planned.store(false);
}

void MotionRig::setSimSurface(const SimSurface& s) {
    surface_[0].store(s.tiltX), surface_[1].store(s.tiltY), surface_[2].store(s.bow);
}

SimSurface MotionRig::simSurface() const {
    return {surface_[0].load(), surface_[1].load(), surface_[2].load()};
}

static Machine& Prepared(Machine& m, const MachineSettings& settings, int capacity) {
    m.settings = settings;
    m.buffer.allocate(capacity);
    return m;
}

SimulatedRig::SimulatedRig(const MachineSettings& settings, int capacity, const SimSurface& surface)
    : rig(Prepared(machine, settings, capacity), RigOptions{}, surface) {}

}  // namespace korvex
