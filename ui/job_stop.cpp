#include "ui/job_stop.h"

#include <algorithm>

#include "machining/relief_carve.h"
#include "motion/executor.h"
#include "motion/port.h"
#include "motion/rounding.h"
#include "platform/host.h"
#include "ui/controller.h"

namespace korvex {

bool MachineMoving(Controller& c) {
    const Machine& m = c.machine;
    return m.buffer.queued() > 0 || !m.executor.executorIdle.load() || c.relief.running ||
           c.gcode.movesUnqueued() > 0;
}

namespace {

// The end of a job whose stop is being released: the executor has been
// held since the stop, so what it has done is where the tool stands. The
// rest is dropped, and the lift queued after the reset is all that runs.
void DropTheRestAndLift(Controller& c) {
    Machine& m = c.machine;
    c.op.endJobPending = 0;
    RequestBufferReset(m);
    MachinePosition& p = m.position;
    p.plannedX = p.absX.load();
    p.plannedY = p.absY.load();
    p.plannedZ = p.absZ.load();
    const MachineSettings& s = m.settings;
    int32_t over = p.relOriginZ.load() - MmToSteps(s.safeHeight, s.mmPerStepZ);
    // Above the top of the travel the soft limits would drop the steps.
    if (s.softLimits) over = std::max(over, 0);
    const int32_t lift = std::min(0, over - p.absZ.load());
    if (lift != 0)
        AppendCommand(m, 0, 0, lift, PeriodUs(s.moveSpeedZ, s.mmPerStepZ), 1, 0, 0, 0, 0);
    SayFormatted(m.log,
                 {"Úloha ukončena, zbytek zahozen: nástroj vyjíždí nad materiál na X %.3f Y "
                  "%.3f Z %.3f mm",
                  "Job ended, the rest dropped: the tool lifts over the material to X %.3f Y "
                  "%.3f Z %.3f mm"},
                 true, false, static_cast<double>(p.plannedX.load() * s.mmPerStepX),
                 static_cast<double>(p.plannedY.load() * s.mmPerStepY),
                 static_cast<double>(p.plannedZ.load() * s.mmPerStepZ));
}

// The release, ending the job first when "End job" asked for it. False
// while the emergency input is active.
bool Release(Controller& c) {
    Machine& m = c.machine;
    ReadInputs(m);
    if (m.signals.emergencyInput.load()) return false;
    if (c.op.endJobPending) DropTheRestAndLift(c);
    return PressEmergencyStopButton(m);
}

}  // namespace

bool PressStop(Controller& c, Host& host) {
    Machine& m = c.machine;
    if (ProgramStopHolding(c)) {
        // The stop button never continues a program: the pause becomes an
        // emergency stop, released with the button again.
        m.executor.programStop.store(0);
        m.log.say({"Prace byla prerusena uzivatelem EmergencyStop",
                   "Work was paused by user EmergencyStop"},
                  true, false);
        return true;
    }
    const bool pressed = m.signals.estopActive.load() ? Release(c) : PressEmergencyStopButton(m);
    if (!pressed) {
        host.messageBox("?", kEmergencyInputStillActive, Buttons::Ok, Icon::Warning);
        SetControlOutputs(m, -1, -1, -1);
    }
    return m.signals.estopActive.load() != 0;
}

bool KeyStop(Controller& c) {
    Machine& m = c.machine;
    if (m.signals.estopActive.load() || !MachineMoving(c)) return false;
    PressEmergencyStopButton(m);
    return true;
}

int32_t ProgramStopHolding(Controller& c) {
    const Machine& m = c.machine;
    if (!m.signals.estopActive.load() || m.signals.emergencyInput.load()) return 0;
    return m.executor.programStop.load();
}

std::string ProgramStopText(int language, int32_t stop) {
    if (stop == 0) return "";
    if (stop == kStopRemoveProbe)
        return Caption(language,
                       {"Vyjměte sondu, pak Pokračovat", "Remove the probe, then Continue"});
    if (stop >= kStopToolChange)
        return FormatCaption(language,
                             {"Výměna nástroje: T%d — vyměňte nástroj, pak Pokračovat",
                              "Tool change: T%d — change the tool, then Continue"},
                             stop - kStopToolChange);
    return Caption(language, {"Pauza programu: Pokračovat", "Program pause: Continue"});
}

void ContinueProgram(Controller& c) {
    if (ProgramStopHolding(c)) Release(c);
}

void EndJob(Controller& c) {
    Machine& m = c.machine;
    if (!MachineMoving(c)) {
        m.log.say({"Žádná úloha neběží", "No job is running"}, true, false);
        return;
    }
    if (c.relief.running) return EndReliefCarving(m, c.relief);
    if (!m.signals.estopActive.load()) PressEmergencyStopButton(m);
    c.op.endJobPending = 1;
    m.log.say({"Úloha bude ukončena: po uvolnění stopu se zbytek zahodí a nástroj vyjede nad "
               "materiál",
               "The job ends: at the release of the stop the rest is dropped and the tool lifts "
               "over the material"},
              true, false);
}

}  // namespace korvex
