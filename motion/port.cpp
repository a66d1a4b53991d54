#include "motion/port.h"

#include "log/event_log.h"
#include "motion/access_hints.h"
#include "motion/step_output.h"

namespace korvex {

namespace {

constexpr uint8_t kTestPattern = 170;
constexpr uint8_t kControlAllLow = 0x0B;  // bits 0, 1, 3 are inverted by the hardware

bool PortUsable(const Machine& m) {
    return m.port.io && m.signals.portReady.load(std::memory_order_relaxed) &&
           !m.settings.useSerial && m.settings.driveMode == 3;
}

// A flag is 1 when its pin is low (BUSY, bit 7, is inverted by the port
// itself), unless its inversion is on. Any mask but a single status bit
// 3-7 leaves the input unwired.
InputDecoding Decoding(int mask, bool invert) {
    switch (mask) {
        case 128:
            return {128, !invert};
        case 64:
        case 32:
        case 16:
        case 8:
            return {static_cast<uint8_t>(mask), invert};
        default:
            return {};
    }
}

void Update(Counter& signal, uint8_t status, InputDecoding d) {
    if (d.mask)
        signal.store(((status & d.mask) != 0) == d.activeWhenSet, std::memory_order_relaxed);
}

uint8_t EmergencyBit(const Machine& m) {
    return (m.signals.estopActive.load() != 0) != (m.settings.invertPin16 != 0) ? 4 : 0;
}

void SetBit(uint8_t& r, int bit, bool value) {
    r = static_cast<uint8_t>(value ? r | (1 << bit) : r & ~(1 << bit));
}

// The backend as the operator knows it: the device, the address or the
// simulated machine.
std::string BackendName(const Machine& m, const PortIo& io) {
    std::string name = io.name();
    const int language = m.settings.language;
    if (name == "sim") return Caption(language, {"simulovaný stroj", "simulated machine"});
    if (name == "none") return Caption(language, {"žádný", "none"});
    if (name == "rawio") return Format("rawio 0x%x", static_cast<unsigned>(m.settings.lptAddress));
    if (name.rfind("ppdev:", 0) == 0) return "ppdev " + name.substr(6);
    return name;
}

}  // namespace

void LoadPortLibrary(Machine& m, PortIo& io) {
    m.signals.portReady.store(0);
    m.timing.planned.store(false);
    m.port.io = &io;
    m.port.faultReported.store(false);
    // The first tick of the new timer waits for nothing: it is not late by
    // the clock's whole count.
    m.timing.nextTickDeadline.store(m.timing.clock->now() + 1);
    const std::string backend = BackendName(m, io);
    if (!io.load()) {
        SayFormatted(m.log, {"Port se nepodařilo otevřít: %s", "The port could not be opened: %s"},
                     true, true, backend.c_str());
        if (!io.lastError().empty()) m.log.line(io.lastError(), true, false);
        ExplainPortRefusal(m, io);
        return;
    }
    SayFormatted(m.log, {"Port: %s", "Port: %s"}, true, false, backend.c_str());
    m.port.control.store(io.in(static_cast<uint16_t>(m.settings.lptAddress + 2)));
    m.signals.portReady.store(1);
}

bool PortTestAllowed(Machine& m) {
    ReadInputs(m);
    if (!m.signals.estopActive.load()) return true;
    m.log.say({"Test portu LPT vynechan: je aktivni bezpecnostni stop, na port se nezapisuje",
               "LPT port test skipped: the emergency stop is active, nothing is written to the "
               "port"},
              true, false);
    return false;
}

void TestPort(Machine& m) {
    if (!m.signals.portReady.load() || !m.port.io || !PortTestAllowed(m)) return;
    PortIo& io = *m.port.io;
    const int base = m.settings.lptAddress;
    const auto data = static_cast<uint16_t>(base);
    io.out(data, kTestPattern);
    SayFormatted(m.log,
                 {"Test portu LPT - na port 0x%.3X zapssna hodnota 170",
                  "Test portu LPT - on port 0x%.3X write 170"},
                 false, false, base);
    const Text readBack = {"Test portu LPT - z portu 0x%.3X nactena hodnota :%d",
                           "Test portu LPT - from port 0x%.3X read :%d"};
    if (io.in(data) != kTestPattern) {
        SayFormatted(m.log, readBack, true, true, base, io.in(data));
        m.log.say({"Test portu LPT selhal", "Testing of LPT port failed"}, true, true);
        m.signals.portReady.store(0);
        m.timing.planned.store(false);
        return;
    }
    SayFormatted(m.log, readBack, false, false, base, io.in(data));
    m.log.say({"Test portu LPT OK", "Testing of LPT port OK"}, false, false);
    io.out(data, 0);
    io.out(static_cast<uint16_t>(base + 2), kControlAllLow);
    m.port.control.store(kControlAllLow);
    PrepareStepOutput(m);
    OutputStep(m, 0, 0, 0, 0, 0, 0);
}

InputWiring WiringFor(const MachineSettings& s) {
    return {Decoding(s.pinLimitX, s.invertSwitches), Decoding(s.pinLimitY, s.invertSwitches),
            Decoding(s.pinLimitZ, s.invertSwitches), Decoding(s.pinZSensor, s.invertSwitches),
            Decoding(s.pinEmergency, s.invertEmergency)};
}

void StopForFailingPort(Machine& m) {
    m.gate.latch(m.signals.estopActive);
    if (m.port.faultReported.exchange(true)) return;
    SayFormatted(m.log, {"Chyba portu LPT: %s", "LPT port error: %s"}, true, false,
                 m.port.io->lastError().c_str());
}

void ReadInputs(Machine& m, const InputWiring& w, uint16_t statusAddress) {
    MachineSignals& g = m.signals;
    const uint8_t status = m.port.io->in(statusAddress);
    if (!m.port.io->healthy()) [[unlikely]]
        StopForFailingPort(m);
    Update(g.limitX, status, w.limitX);
    Update(g.limitY, status, w.limitY);
    Update(g.limitZ, status, w.limitZ);
    Update(g.zSensor, status, w.zSensor);
    Update(g.emergencyInput, status, w.emergency);
    // Both threads read the inputs; the latch holds at most one suspension
    // for the stop, so one release resumes the executor.
    if (g.emergencyInput.load(std::memory_order_relaxed) && !m.gate.latched()) [[unlikely]]
        m.gate.latch(g.estopActive);
    // Pin 16 follows the state; an unchanged register is not written again.
    if ((m.port.control.load() & 4) != EmergencyBit(m)) SetControlOutputs(m, -1, -1, -1);
}

void ReadInputs(Machine& m) {
    if (!PortUsable(m)) return;
    ReadInputs(m, WiringFor(m.settings), static_cast<uint16_t>(m.settings.lptAddress + 1));
}

void SetControlOutputs(Machine& m, int machine, int spindle, int pin17) {
    if (!PortUsable(m)) return;
    const MachineSettings& s = m.settings;
    const bool setMachine = s.switchMachine && (machine == 0 || machine == 1);
    const bool setSpindle = (s.switchSpindle || s.laserPenMode) && (spindle == 0 || spindle == 1);
    if (setMachine) {
        m.log.line(machine ? "Stroj (Machine) On" : "Stroj (Machine) Off", true, false);
        m.signals.machineOnState.store(machine);
    }
    if (setSpindle) m.signals.spindleOnState.store(spindle);

    uint8_t r = m.port.control.load();
    uint8_t next;
    do {
        next = r;
        if (setMachine) SetBit(next, 0, (machine == 0) != (s.invertPin1 != 0));
        if (setSpindle) SetBit(next, 1, (spindle == 0) != (s.invertPin14 != 0));
        SetBit(next, 2, EmergencyBit(m) != 0);
        if (pin17 == 0 || pin17 == 1) SetBit(next, 3, (pin17 == 0) != (s.invertPin17 != 0));
    } while (next != r && !m.port.control.compare_exchange_weak(r, next));

    // The other thread may have changed the register and written it before
    // this write landed: whoever writes last makes the port hold the latest.
    const auto address = static_cast<uint16_t>(s.lptAddress + 2);
    PortIo& io = *m.port.io;
    io.out(address, next);
    for (uint8_t latest = m.port.control.load(); latest != next; latest = m.port.control.load()) {
        next = latest;
        io.out(address, next);
    }
}

int ReleaseEmergencyStop(Machine& m) {
    ReadInputs(m);
    if (m.signals.emergencyInput.load()) return 0;
    m.executor.programStop.store(0);
    if (m.gate.unlatch(m.signals.estopActive)) SetControlOutputs(m, -1, -1, -1);
    return 1;
}

bool PressEmergencyStopButton(Machine& m) {
    ReadInputs(m);
    if (m.signals.emergencyInput.load()) return false;
    if (m.signals.estopActive.load()) {
        ReleaseEmergencyStop(m);
        m.log.say({"Bylo znovuspusteno po EmergencySTOP signalu", "Reset EmergencyStop button OK"},
                  true, false);
        m.log.line("hCommand resume ok", true, false);
    } else {
        m.gate.latch(m.signals.estopActive);
        m.log.say({"Prace byla prerusena uzivatelem EmergencyStop",
                   "Work was paused by user EmergencyStop"},
                  true, false);
    }
    SetControlOutputs(m, -1, -1, -1);
    return true;
}

}  // namespace korvex
