#include "ui/position_commands.h"

#include <algorithm>

#include "machining/job_input.h"
#include "motion/executor.h"
#include "motion/job_frame.h"
#include "motion/rounding.h"
#include "platform/host.h"
#include "ui/controller.h"
#include "ui/dialog_runner.h"
#include "ui/main_ids.h"
#include "ui/manual_moves.h"
#include "ui/status_display.h"
#include "ui/window_view.h"

namespace korvex {

using namespace mainwin;

void PositionCommands::onTargetEdit(int id) {
    const int axis = id - kTargetX;
    const MachineSettings& s = c_.machine.settings;
    const float step[3] = {s.mmPerStepX, s.mmPerStepY, s.mmPerStepZ};
    const double value = ReadEditNumber(view_.text(id));
    const double clamped = std::clamp(value, -2.0e9, 2.0e9);
    c_.op.goTarget[axis] =
        s.showMillimetres ? MmToSteps(value, step[axis]) : static_cast<int32_t>(clamped);
    updateGoButtons();
}

void PositionCommands::updateGoButtons() {
    const OperatorState& op = c_.op;
    const bool on = op.goTarget[0] || op.goTarget[1] || op.goTarget[2] || op.absoluteTarget;
    view_.enable(kGoXYZ, on);
    view_.enable(kGoXYThenZ, on);
}

void PositionCommands::switchAbsoluteTarget() {
    c_.op.absoluteTarget = !c_.op.absoluteTarget;
    view_.setCheck(kAbsoluteTarget, c_.op.absoluteTarget != 0);
    view_.enable(kGoXYZ, c_.op.absoluteTarget != 0);
    view_.enable(kGoXYThenZ, c_.op.absoluteTarget != 0);
}

bool PositionCommands::haveFreeSlots(int needed) {
    if (c_.machine.buffer.freeSlots() >= needed) return true;
    const std::string text =
        needed == 1
            ? Caption(
                  c_.machine.log.language(),
                  {"Pro tento příkaz není dostatek místa v zásobníku,\n zvětšte zásobník o 1",
                   "For this work isnt enought memory of buffer, please set more memory plus 1"})
            : Caption(
                  c_.machine.log.language(),
                  {"Pro tento příkaz není dostatek místa v zásobníku,\n zvětšte zásobník o 2",
                   "For this work isnt enought memory of buffer, please set more memory plus 2"});
    host_.messageBox("", text, Buttons::Ok, Icon::Error);
    return false;
}

void PositionCommands::resetTargets() {
    for (int a = 0; a < 3; ++a) {
        c_.op.goTarget[a] = 0;
        view_.setText(kTargetX + a, Format("%7.2f", 0.0));
    }
    updateGoButtons();
}

std::array<int32_t, 3> PositionCommands::targetDistance() const {
    std::array<int32_t, 3> t = {c_.op.goTarget[0], c_.op.goTarget[1], c_.op.goTarget[2]};
    if (c_.op.absoluteTarget) {
        const Machine& m = c_.machine;
        t[0] -= m.position.plannedX.load();
        t[1] -= m.position.plannedY.load();
        t[2] -= m.position.plannedZ.load();
    }
    return t;
}

void PositionCommands::goXYZ() {
    if (!haveFreeSlots(1)) return;
    Machine& m = c_.machine;
    const std::array<int32_t, 3> t = targetDistance();
    AppendCommand(m, t[0], t[1], t[2], CombinedPeriod(m, true, true, true), c_.op.useAcceleration,
                  0, 0, 0, 0);
    resetTargets();
}

void PositionCommands::goXYThenZ() {
    if (!haveFreeSlots(2)) return;
    Machine& m = c_.machine;
    const std::array<int32_t, 3> t = targetDistance();
    const int accel = c_.op.useAcceleration;
    const int32_t xy = CombinedPeriod(m, true, true, false);
    const int32_t zPeriod = AxisPeriod(m.settings, 2);
    if (t[2] < 0) {
        AppendCommand(m, 0, 0, t[2], zPeriod, accel, 0, 0, 0, 0);
        AppendCommand(m, t[0], t[1], 0, xy, accel, 1, 0, 0, 0);
    } else {
        AppendCommand(m, t[0], t[1], 0, xy, accel, 1, 0, 0, 0);
        AppendCommand(m, 0, 0, t[2], zPeriod, accel, 0, 0, 0, 0);
    }
    resetTargets();
}

void PositionCommands::resetRelative() {
    MachinePosition& p = c_.machine.position;
    p.relOriginX = 0;
    p.relOriginY = 0;
    p.relOriginZ = 0;
    p.relOriginSet = 0;
    status_.showRelativeOrigin();
}

void PositionCommands::resetAbsolute() {
    if (!AtRestOrWarn(c_.machine, host_,
                      {"Není možné resetovat absolutní polohu, když stroj pracuje !",
                       "It's not possibe to reset absolut position if the machine work !"}))
        return;
    MachinePosition& p = c_.machine.position;
    for (Counter* v :
         {&p.absX, &p.absY, &p.absZ, &p.absS4, &p.plannedX, &p.plannedY, &p.plannedZ, &p.relOriginX,
          &p.relOriginY, &p.relOriginZ, &p.resumeX, &p.resumeY, &p.resumeZ, &p.resumeValid})
        v->store(0);
    view_.setCheck(kUseAcceleration, c_.op.useAcceleration != 0);
    status_.showRelativeOrigin();
}

void PositionCommands::setRelative() {
    Machine& m = c_.machine;
    MachinePosition& p = m.position;
    const Answer a = host_.messageBox(
        "?",
        Caption(m.log.language(),
                {"Nastavit jako relativni počátek i osu Z ?\n (pokud zvolíte NE, momentální pozice "
                 "je pak chápána jako pozice nad materiálem, jinak je aktuální pozice na "
                 "materiálu",
                 "Set as null point this position with Z axis ?\n (if you choise No, actual "
                 "position sets as UP of Material, else position is set as ON Material"}),
        Buttons::YesNo, Icon::Question);
    // Jobs measure their depths from the surface: on No the tool stands
    // over the material, safe height above it.
    SetOriginOverMaterial(m);
    if (a == Answer::Yes) {
        p.relOriginZ = p.plannedZ.load();
        AppendCommand(m, 0, 0, -SafeSteps(m.settings), AxisPeriod(m.settings, 2), 1, 0, 0, 0, 0);
    }
    status_.showRelativeOrigin();
    const MachineSettings& s = m.settings;
    SayFormatted(m.log,
                 {"nastaven relativni pocatek na >%1.3f,%1.3f,%1.3f ",
                  "relative null point has been set at >%1.3f,%1.3f,%1.3f "},
                 true, false, static_cast<double>(p.relOriginX.load() * s.mmPerStepX),
                 static_cast<double>(p.relOriginY.load() * s.mmPerStepY),
                 static_cast<double>(p.relOriginZ.load() * s.mmPerStepZ));
}

void PositionCommands::overMaterial() {
    Machine& m = c_.machine;
    MachinePosition& p = m.position;
    AppendCommand(m, 0, 0, p.relOriginZ.load() - p.plannedZ.load() - SafeSteps(m.settings),
                  AxisPeriod(m.settings, 2), 1, 0, 0, 0, 0);
}

void PositionCommands::gotoRelative() {
    Machine& m = c_.machine;
    MachinePosition& p = m.position;
    // Only a machine at rest stands where a reset left it.
    if (p.resumeValid.load() && ExecutorAtRest(m)) {
        p.plannedX = p.resumeX.load();
        p.plannedY = p.resumeY.load();
        p.plannedZ = p.resumeZ.load();
        p.absX = p.resumeX.load();
        p.absY = p.resumeY.load();
        p.absZ = p.resumeZ.load();
        p.resumeValid = 0;
        m.log.say({"Najeti na relativni pocatek po resetu bufferu OK",
                   "Moving to relative nullpoint after reseting buffer OK"},
                  true, false);
    }
    const int32_t zPeriod = AxisPeriod(m.settings, 2);
    const int32_t safe = SafeSteps(m.settings);
    AppendCommand(m, 0, 0, p.relOriginZ.load() - p.plannedZ.load(), zPeriod, 1, 0, 0, 0, 0);
    AppendCommand(m, 0, 0, -safe, zPeriod, 1, 0, 0, 0, 0);
    AppendCommand(m, p.relOriginX.load() - p.plannedX.load(),
                  p.relOriginY.load() - p.plannedY.load(), 0, CombinedPeriod(m, true, true, false),
                  1, 0, 0, 0, 0);
    AppendCommand(m, 0, 0, safe, zPeriod, 1, 0, 0, 0, 0);
}

void PositionCommands::calibration() {
    if (!AtRestOrWarn(c_.machine, host_,
                      {"Není možné spustit kalibraci, když stroj pracuje !",
                       "It's not possibe to calibrate while the machine is working !"}))
        return;
    RunDialog(dialogs_, c_.machine.log, DialogKind::NullPosition);
}

}  // namespace korvex
