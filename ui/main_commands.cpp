#include "ui/main_commands.h"

#include <algorithm>

#include "machining/job_input.h"
#include "motion/executor.h"
#include "motion/job_frame.h"
#include "motion/port.h"
#include "motion/probing.h"
#include "motion/rounding.h"
#include "platform/host.h"
#include "platform/version.h"
#include "ui/controller.h"
#include "ui/homing_watch.h"
#include "ui/job_stop.h"
#include "ui/main_ids.h"
#include "ui/solution_file.h"
#include "ui/status_display.h"
#include "ui/window_view.h"
#include "vector/model_transform.h"
#include "vector/vector_file_dialog.h"

namespace korvex {

using namespace mainwin;

namespace {

// Operator choices go to the file only.
void Chosen(EventLog& log, const char* cz, const char* en) {
    log.say({cz, en}, false, false);
}

const char* DialogName(DialogKind kind, int language) {
    static const char* const kNames[][2] = {{"Nulová pozice", "Null position"},
                                            {"Nastavení HPGL", "HPGL job"},
                                            {"3D modelování", "3D modelling"},
                                            {"Oddělit materiál", "Separate material"},
                                            {"Přerovnat výšku materiálu", "Back planing"},
                                            {"Vrtání otvorů", "Drill holes"},
                                            {"Test časovače", "Test of counter"},
                                            {"Nastavení stroje", "Setup machine"},
                                            {"Nastavení G-kódu", "Set and cut G-code"}};
    return kNames[static_cast<int>(kind)][language == 0 ? 0 : 1];
}

}  // namespace

bool MainCommands::onCommand(int id) {
    EventLog& log = c_.machine.log;
    if (id >= kJogXPlus && id <= kJogZMinus) {
        const int offset = id - kJogXPlus;
        jog(offset / 2, offset % 2 == 0 ? 1 : -1);
        return true;
    }
    switch (id) {
        case kMenuAbout:
            host_.messageBox("Info",
                             FormatCaption(log.language(),
                                           {"Korvex: řízení malé CNC frézky přes paralelní "
                                            "port.\nVerze %s",
                                            "Korvex: a controller for small CNC routers on the "
                                            "parallel port.\nVersion %s"},
                                           ProgramVersion()),
                             Buttons::Ok, Icon::Information);
            return true;
        case kMenuResetRel:
        case kResetRel:
            Chosen(log, "Vybráno RESET RELATIVNIHO POCATKU", "Choised RESET NULLPOINT");
            resetRelative();
            return true;
        case kMenuResetAbs:
        case kResetAbs:
            Chosen(log, "Vybrano RESET ABSOLUTNI POLOHY", "Choised RESET ABSOLUT POSITION");
            resetAbsolute();
            return true;
        case kMenuSetRel:
        case kSetRel:
            Chosen(log, "Vybrano NASTAV JAKO RELATIVNÍ POCATEK",
                   "Choised SET AS RELATIVE NULLPOINT");
            setRelative();
            return true;
        case kMenuOverMaterial:
        case kUpTo:
            Chosen(log, "Vybrano NAJET NAD MATERIAL", "Choised MOVING TO UP OF MATERIAL");
            overMaterial();
            return true;
        case kMenuCalibration:
        case kSetAbs:
            Chosen(log, "Vybrano KALIBRACE", "Choised CALIBRATION");
            calibration();
            return true;
        case kMenuGotoRel:
        case kGotoRel:
            gotoRelative();
            return true;
        case kMenuHpgl:
        case kHpgl:
            hpgl();
            return true;
        case kMenuRaster:
        case kRaster:
            openDialog(static_cast<int>(DialogKind::Relief), "Vybrano FREZOVAT BMP",
                       "Choised BMP MODELING");
            return true;
        case kMenuGcode:
            openDialog(static_cast<int>(DialogKind::Gcode), "Vybrano G-KOD", "Choised G-CODE");
            return true;
        case kMenuSeparate:
            openDialog(static_cast<int>(DialogKind::Separation), "Vybrano ODDDLIT MATERIAL",
                       "Choised CUT OF MATERIAL");
            return true;
        case kMenuSurface:
            openDialog(static_cast<int>(DialogKind::Surface), "Vybrano PREROVNAT MATERIAL",
                       "Choised CUT SURFACE");
            return true;
        case kMenuDrill:
        case kDrill:
            openDialog(static_cast<int>(DialogKind::Drilling), "Vybrano VRTANI", "Choised DRILL");
            return true;
        case kMenuTimerTest:
            openDialog(static_cast<int>(DialogKind::TimerTest), "Vybrano TEST CASOVACE",
                       "Choised TEST COUNTER");
            return true;
        case kMenuSetup:
            Chosen(log, "Vybrano NASTAVENÍ", "Choised SETUP");
            if (idleOr("Není možné měnit nastavení, když stroj pracuje !",
                       "It's not possibe change settings, while machine is working !"))
                setup();
            return true;
        case kMenuSaveSolution:
            Chosen(log, "Vybrano ULOZIT PRACI", "Choised SAVE SOLUTION");
            SaveSolution(log, host_);
            return true;
        case kMenuLoadSolution:
            Chosen(log, "Vybrano NACIST PRACI", "Choised LOAD SAVED SOLUTION");
            LoadSolution(log, host_);
            return true;
        case kMenuFinish:
            view_.requestClose();
            return true;
        case kEmergencyStop:
            emergencyStop();
            return true;
        case kMachineSwitch:
            machineSwitch();
            return true;
        case kSpindleSwitch:
            spindleSwitch();
            return true;
        case kResetBuffer:
            resetBuffer();
            return true;
        case kContinue:
            ContinueProgram(c_);
            status_.showSignals();
            return true;
        case kEndJob:
            EndJob(c_);
            status_.showSignals();
            return true;
        case kProbe:
            Chosen(log, "Vybrano NAJET NA Z senzor", "Choised MOVE TO Z senzore");
            ProbeToolLength(c_.machine, host_);
            return true;
        case kResetSensor:
            Chosen(log, "Vybrano RESET SENZOR", "Choised RESET SENZORE");
            ReadInputs(c_.machine);
            status_.showSignals();
            return true;
        case kUseAcceleration:
            c_.op.useAcceleration = !c_.op.useAcceleration;
            view_.setCheck(kUseAcceleration, c_.op.useAcceleration != 0);
            return true;
        case kAbsoluteTarget:
            c_.op.absoluteTarget = !c_.op.absoluteTarget;
            view_.setCheck(kAbsoluteTarget, c_.op.absoluteTarget != 0);
            view_.enable(kGoXYZ, c_.op.absoluteTarget != 0);
            view_.enable(kGoXYThenZ, c_.op.absoluteTarget != 0);
            return true;
        case kGoXYZ:
            goXYZ();
            return true;
        case kGoXYThenZ:
            goXYThenZ();
            return true;
        case kScaleUp:
            scale(1);
            return true;
        case kScaleDown:
            scale(-1);
            return true;
        case kScaleCalc:
            scaleCalc();
            return true;
        case kToLeft:
            turn(kTurnLeft);
            return true;
        case kToRight:
            turn(kTurnRight);
            return true;
        case kVertical:
            turn(kMirrorX);
            return true;
        case kHorizont:
            turn(kMirrorY);
            return true;
        case kLogo:
            Chosen(log, "Vybrano LOGO", "Choised LOGO");
            host_.openUrl(log.language() == 0 ? "https://cs.wikipedia.org/wiki/CNC"
                                              : "https://en.wikipedia.org/wiki/CNC_router");
            return true;
        default:
            return false;
    }
}

int32_t MainCommands::axisPeriod(int axis) const {
    const MachineSettings& s = c_.machine.settings;
    const float speed[3] = {s.moveSpeedX, s.moveSpeedY, s.moveSpeedZ};
    const float step[3] = {s.mmPerStepX, s.mmPerStepY, s.mmPerStepZ};
    return PeriodUs(speed[axis], step[axis]);
}

int32_t MainCommands::combinedPeriod(bool x, bool y, bool z) const {
    const MachineSettings& s = c_.machine.settings;
    const float rateX = x ? s.moveSpeedX / s.mmPerStepX : 0;
    const float rateY = y ? s.moveSpeedY / s.mmPerStepY : 0;
    const float rateZ = z ? s.moveSpeedZ / s.mmPerStepZ : 0;
    const float lowest = LowestNonZero(c_.machine.log, rateX, rateY, rateZ);
    return lowest > 0 ? static_cast<int32_t>(1000000.0f / lowest) : 0;
}

int32_t MainCommands::safeSteps() const {
    const MachineSettings& s = c_.machine.settings;
    return MmToSteps(s.safeHeight, s.mmPerStepZ);
}

void MainCommands::jog(int axis, int sign) {
    const MachineSettings& s = c_.machine.settings;
    const float step[3] = {s.mmPerStepX, s.mmPerStepY, s.mmPerStepZ};
    OperatorState& op = c_.op;
    op.jogQueued = 0;
    const int32_t period = axisPeriod(axis);
    auto move = [&](int32_t steps, int accelerated) {
        int32_t d[3] = {0, 0, 0};
        d[axis] = sign * steps;
        AppendCommand(c_.machine, d[0], d[1], d[2], period, accelerated, 0, 0, 0, 0);
    };
    const bool ctrl = host_.ctrlPressed();
    if (host_.shiftPressed()) {
        move(MmToSteps(5, step[axis]), op.useAcceleration);
        op.jogQueued = 1;
    }
    if (ctrl) {
        move(MmToSteps(50, step[axis]), op.useAcceleration);
        op.jogQueued = 1;
    }
    if (!ctrl && op.jogQueued == 0) move(1, 0);
}

void MainCommands::onKey(JogKey key) {
    switch (key) {
        case JogKey::Right:
            jog(0, 1);
            break;
        case JogKey::Left:
            jog(0, -1);
            break;
        case JogKey::Up:
            jog(1, 1);
            break;
        case JogKey::Down:
            jog(1, -1);
            break;
        // Positive Z goes down into the material.
        case JogKey::PageUp:
            jog(2, -1);
            break;
        case JogKey::PageDown:
            jog(2, 1);
            break;
    }
}

void MainCommands::onEditChange(int id) {
    if (id < kTargetX || id > kTargetZ) return;
    const int axis = id - kTargetX;
    const MachineSettings& s = c_.machine.settings;
    const float step[3] = {s.mmPerStepX, s.mmPerStepY, s.mmPerStepZ};
    const double value = ReadEditNumber(view_.text(id));
    const double clamped = std::clamp(value, -2.0e9, 2.0e9);
    c_.op.goTarget[axis] =
        s.showMillimetres ? MmToSteps(value, step[axis]) : static_cast<int32_t>(clamped);
    updateGoButtons();
}

void MainCommands::updateGoButtons() {
    const OperatorState& op = c_.op;
    const bool on = op.goTarget[0] || op.goTarget[1] || op.goTarget[2] || op.absoluteTarget;
    view_.enable(kGoXYZ, on);
    view_.enable(kGoXYThenZ, on);
}

bool MainCommands::haveFreeSlots(int needed) {
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

void MainCommands::resetTargets() {
    for (int a = 0; a < 3; ++a) {
        c_.op.goTarget[a] = 0;
        view_.setText(kTargetX + a, Format("%7.2f", 0.0));
    }
    updateGoButtons();
}

std::array<int32_t, 3> MainCommands::targetDistance() const {
    std::array<int32_t, 3> t = {c_.op.goTarget[0], c_.op.goTarget[1], c_.op.goTarget[2]};
    if (c_.op.absoluteTarget) {
        const Machine& m = c_.machine;
        t[0] -= m.position.plannedX.load();
        t[1] -= m.position.plannedY.load();
        t[2] -= m.position.plannedZ.load();
    }
    return t;
}

void MainCommands::goXYZ() {
    if (!haveFreeSlots(1)) return;
    Machine& m = c_.machine;
    const std::array<int32_t, 3> t = targetDistance();
    AppendCommand(m, t[0], t[1], t[2], combinedPeriod(true, true, true), c_.op.useAcceleration, 0,
                  0, 0, 0);
    resetTargets();
}

void MainCommands::goXYThenZ() {
    if (!haveFreeSlots(2)) return;
    Machine& m = c_.machine;
    const std::array<int32_t, 3> t = targetDistance();
    const int accel = c_.op.useAcceleration;
    const int32_t xy = combinedPeriod(true, true, false);
    if (t[2] < 0) {
        AppendCommand(m, 0, 0, t[2], axisPeriod(2), accel, 0, 0, 0, 0);
        AppendCommand(m, t[0], t[1], 0, xy, accel, 1, 0, 0, 0);
    } else {
        AppendCommand(m, t[0], t[1], 0, xy, accel, 1, 0, 0, 0);
        AppendCommand(m, 0, 0, t[2], axisPeriod(2), accel, 0, 0, 0, 0);
    }
    resetTargets();
}

void MainCommands::emergencyStop() {
    view_.setCheck(kEmergencyStop, PressStop(c_, host_));
}

void MainCommands::machineSwitch() {
    Machine& m = c_.machine;
    SetControlOutputs(m, m.signals.machineOnState.load() ? 0 : 1, -1, -1);
    view_.setCheck(kMachineSwitch, m.signals.machineOnState.load() != 0);
}

void MainCommands::spindleSwitch() {
    Machine& m = c_.machine;
    const int next = m.signals.spindleOnState.load() ? 0 : 1;
    m.log.line(next ? "Vreteno (Spindle) On" : "Vreteno (Spindle) Off", true, false);
    SetControlOutputs(m, -1, next, -1);
    view_.setCheck(kSpindleSwitch, m.signals.spindleOnState.load() != 0);
}

void MainCommands::resetBuffer() {
    Machine& m = c_.machine;
    const Answer a = host_.messageBox(
        "?",
        Caption(m.log.language(),
                {"POZOR hodláte nevratně přerušit proces frézování, tím že resetujete zásobník, "
                 "jste si jistí ?",
                 "WARNING, reset memory buffer for commands will be break your work now. Are you "
                 "sure?"}),
        Buttons::YesNo, Icon::Question);
    if (a != Answer::Yes) return;
    RequestBufferReset(m);
    m.log.say({"Reset bufferu OK", "Reset buffer OK"}, true, false);
}

void MainCommands::resetRelative() {
    MachinePosition& p = c_.machine.position;
    p.relOriginX = 0;
    p.relOriginY = 0;
    p.relOriginZ = 0;
    p.relOriginSet = 0;
    status_.showRelativeOrigin();
}

bool MainCommands::idleOr(const char* cz, const char* en) {
    Machine& m = c_.machine;
    if (ExecutorAtRest(m)) return true;
    host_.messageBox("?", Caption(m.log.language(), {cz, en}), Buttons::Ok, Icon::Warning);
    return false;
}

void MainCommands::resetAbsolute() {
    if (!idleOr("Není možné resetovat absolutní polohu, když stroj pracuje !",
                "It's not possibe to reset absolut position if the machine work !"))
        return;
    MachinePosition& p = c_.machine.position;
    for (Counter* v :
         {&p.absX, &p.absY, &p.absZ, &p.absS4, &p.plannedX, &p.plannedY, &p.plannedZ, &p.relOriginX,
          &p.relOriginY, &p.relOriginZ, &p.resumeX, &p.resumeY, &p.resumeZ, &p.resumeValid})
        v->store(0);
    view_.setCheck(kUseAcceleration, c_.op.useAcceleration != 0);
    status_.showRelativeOrigin();
}

void MainCommands::setRelative() {
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
        AppendCommand(m, 0, 0, -safeSteps(), axisPeriod(2), 1, 0, 0, 0, 0);
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

void MainCommands::overMaterial() {
    MachinePosition& p = c_.machine.position;
    AppendCommand(c_.machine, 0, 0, p.relOriginZ.load() - p.plannedZ.load() - safeSteps(),
                  axisPeriod(2), 1, 0, 0, 0, 0);
}

void MainCommands::gotoRelative() {
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
    const int32_t zPeriod = axisPeriod(2);
    AppendCommand(m, 0, 0, p.relOriginZ.load() - p.plannedZ.load(), zPeriod, 1, 0, 0, 0, 0);
    AppendCommand(m, 0, 0, -safeSteps(), zPeriod, 1, 0, 0, 0, 0);
    AppendCommand(m, p.relOriginX.load() - p.plannedX.load(),
                  p.relOriginY.load() - p.plannedY.load(), 0, combinedPeriod(true, true, false), 1,
                  0, 0, 0, 0);
    AppendCommand(m, 0, 0, safeSteps(), zPeriod, 1, 0, 0, 0, 0);
}

void MainCommands::calibration() {
    if (!idleOr("Není možné spustit kalibraci, když stroj pracuje !",
                "It's not possibe to calibrate while the machine is working !"))
        return;
    openDialog(static_cast<int>(DialogKind::NullPosition), nullptr, nullptr);
}

void MainCommands::openDialog(int dialogKind, const char* logCz, const char* logEn) {
    EventLog& log = c_.machine.log;
    if (logCz) Chosen(log, logCz, logEn);
    const auto kind = static_cast<DialogKind>(dialogKind);
    if (kind != DialogKind::NullPosition && kind != DialogKind::TimerTest &&
        kind != DialogKind::Settings)
        WarnUnhomedOnce(c_, host_);
    if (dialogs_.run(kind) == kNotBuilt) reportNotBuilt(dialogKind);
}

void MainCommands::reportNotBuilt(int dialogKind) {
    EventLog& log = c_.machine.log;
    const auto kind = static_cast<DialogKind>(dialogKind);
    SayFormatted(log,
                 {"Okno \"%s\" v této verzi ještě není",
                  "The window \"%s\" is not in this "
                  "version yet"},
                 true, false, DialogName(kind, log.language()));
}

void MainCommands::hpgl() {
    Machine& m = c_.machine;
    if (c_.vector.loaded == 1) {
        const Answer a = host_.messageBox(
            "?",
            Caption(m.log.language(),
                    {"Soubor je otevřen, mám načíst jiný ?\n (pokud zvolíte NE, spustím "
                     "nastavení HPGL)",
                     "The file is opened, I read another ?\n (if you choice No, i run setup "
                     "HPGL)"}),
            Buttons::YesNo, Icon::Question);
        if (a != Answer::Yes) {
            openDialog(static_cast<int>(DialogKind::HpglJob), nullptr, nullptr);
            return;
        }
    }
    if (!openVectorFile(c_.vector, c_.preview, m.settings, m.log, host_)) return;
    updateModelControls();
    status_.showModelInfo();
    view_.invalidate();
}

void MainCommands::updateModelControls() {
    // G-code needs no loaded drawing: its dialog reads its own program.
    for (int id : {kMenuHpgl, kMenuRaster}) view_.enableMenuItem(id, false);
    for (int id : {kScaleUp, kScaleDown, kScaleCalc}) view_.enable(id, false);
    if (!c_.vector.hasHpgl()) return;
    view_.enableMenuItem(kMenuHpgl, true);
    for (int id : {kScaleUp, kScaleDown, kScaleCalc}) view_.enable(id, true);
    showNewSize();
}

void MainCommands::showNewSize() {
    OperatorState& op = c_.op;
    const MachineSettings& s = c_.machine.settings;
    op.newSizeX =
        static_cast<int32_t>(c_.vector.width * static_cast<double>(op.scalePercent) / 100);
    op.newSizeY =
        static_cast<int32_t>(c_.vector.height * static_cast<double>(op.scalePercent) / 100);
    view_.setText(kScalePercent, Format("%d %%", op.scalePercent));
    view_.setText(kNewSizeX, Format("%7.2fmm", static_cast<double>(op.newSizeX * s.mmPerStepX)));
    view_.setText(kNewSizeY, Format("%7.2fmm", static_cast<double>(op.newSizeY * s.mmPerStepY)));
}

void MainCommands::scale(int delta) {
    OperatorState& op = c_.op;
    if (delta > 0) ++op.scalePercent;
    if (delta < 0 && op.scalePercent > 1) --op.scalePercent;
    showNewSize();
}

void MainCommands::scaleCalc() {
    if (c_.vector.hasHpgl())
        transformVectorModel(c_.vector, kResize, c_.op.scalePercent, c_.machine.log);
    afterModelChange();
}

void MainCommands::turn(int mode) {
    if (!c_.vector.hasHpgl()) {
        c_.machine.log.say({"Nejprve nacti soubor hpgl!", "At first, u must choose file hpgl!"},
                           false, true);
        return;
    }
    transformVectorModel(c_.vector, mode, c_.op.scalePercent, c_.machine.log);
    afterModelChange();
}

void MainCommands::afterModelChange() {
    c_.preview.image.reset();
    computeMainPreviewScale(c_.preview, c_.vector, c_.machine.settings);
    status_.showModelInfo();
    showNewSize();
    view_.invalidate();
}

}  // namespace korvex
