#include "ui/main_commands.h"

#include "motion/executor.h"
#include "motion/port.h"
#include "motion/probing.h"
#include "motion/rounding.h"
#include "platform/host.h"
#include "platform/version.h"
#include "ui/controller.h"
#include "ui/dialog_runner.h"
#include "ui/homing_watch.h"
#include "ui/job_stop.h"
#include "ui/kind_guard.h"
#include "ui/main_ids.h"
#include "ui/manual_moves.h"
#include "ui/solution_file.h"
#include "ui/state_line.h"
#include "ui/status_display.h"
#include "ui/window_view.h"
#include "vector/model_transform.h"

namespace korvex {

using namespace mainwin;

MainCommands::MainCommands(Controller& c, WindowView& view, Host& host, StatusDisplay& status,
                           DialogLauncher& dialogs)
    : c_(c),
      view_(view),
      host_(host),
      status_(status),
      dialogs_(dialogs),
      model_(c, view, host, status),
      position_(c, view, host, status, dialogs),
      settings_(c, view, host, status, dialogs, model_),
      open_(c, view, host, model_, [this](DialogKind kind) { openJobDialog(kind); }) {
    on({kMenuOpen}, {"Vybráno OTEVŘÍT", "Chosen OPEN"}, [this] { open_.choose(); });
    for (int i = 0; i < static_cast<int>(RecentFiles::kKept); ++i)
        on({kMenuRecent + i}, [this, i] { open_.recent(i); });
    for (int id = kJogXPlus; id <= kJogZMinus; ++id) {
        const int offset = id - kJogXPlus;
        on({id}, [this, offset] { jog(offset / 2, offset % 2 == 0 ? 1 : -1); });
    }
    on({kUseAcceleration}, [this] {
        c_.op.useAcceleration = !c_.op.useAcceleration;
        view_.setCheck(kUseAcceleration, c_.op.useAcceleration != 0);
    });

    on({kAbsoluteTarget}, [this] { position_.switchAbsoluteTarget(); });
    on({kGoXYZ}, [this] { position_.goXYZ(); });
    on({kGoXYThenZ}, [this] { position_.goXYThenZ(); });
    on({kMenuResetRel, kResetRel}, {"Vybráno RESET RELATIVNIHO POCATKU", "Choised RESET NULLPOINT"},
       [this] { position_.resetRelative(); });
    on({kMenuResetAbs, kResetAbs},
       {"Vybrano RESET ABSOLUTNI POLOHY", "Choised RESET ABSOLUT POSITION"},
       [this] { position_.resetAbsolute(); });
    on({kMenuSetRel, kSetRel},
       {"Vybrano NASTAV JAKO RELATIVNÍ POCATEK", "Choised SET AS RELATIVE NULLPOINT"},
       [this] { position_.setRelative(); });
    on({kMenuOverMaterial, kUpTo},
       {"Vybrano NAJET NAD MATERIAL", "Choised MOVING TO UP OF MATERIAL"},
       [this] { position_.overMaterial(); });
    on({kMenuCalibration, kSetAbs}, {"Vybrano KALIBRACE", "Choised CALIBRATION"},
       [this] { position_.calibration(); });
    on({kMenuGotoRel, kGotoRel}, [this] { position_.gotoRelative(); });

    on({kScaleUp}, [this] { model_.scale(1); });
    on({kScaleDown}, [this] { model_.scale(-1); });
    on({kScaleCalc}, [this] { model_.applyScale(); });
    on({kToLeft}, [this] { model_.turn(kTurnLeft); });
    on({kToRight}, [this] { model_.turn(kTurnRight); });
    on({kVertical}, [this] { model_.turn(kMirrorX); });
    on({kHorizont}, [this] { model_.turn(kMirrorY); });

    on({kMenuSetup}, {"Vybrano NASTAVENÍ", "Choised SETUP"}, [this] { settings_.run(); });

    on({kMenuHpgl, kHpgl}, [this] { hpgl(); });
    on({kMenuRaster, kRaster}, {"Vybrano FREZOVAT BMP", "Choised BMP MODELING"},
       [this] { openJobDialog(DialogKind::Relief); });
    on({kMenuGcode}, {"Vybrano G-KOD", "Choised G-CODE"},
       [this] { openJobDialog(DialogKind::Gcode); });
    on({kMenuHeightMap}, [this] { openJobDialog(DialogKind::HeightMap); });
    on({kMenuSeparate}, {"Vybrano ODDDLIT MATERIAL", "Choised CUT OF MATERIAL"},
       [this] { openJobDialog(DialogKind::Separation); });
    on({kMenuSurface}, {"Vybrano PREROVNAT MATERIAL", "Choised CUT SURFACE"},
       [this] { openJobDialog(DialogKind::Surface); });
    on({kMenuDrill, kDrill}, {"Vybrano VRTANI", "Choised DRILL"},
       [this] { openJobDialog(DialogKind::Drilling); });
    on({kMenuTimerTest}, {"Vybrano TEST CASOVACE", "Choised TEST COUNTER"},
       [this] { openJobDialog(DialogKind::TimerTest); });

    on({kEmergencyStop}, [this] { emergencyStop(); });
    on({kMachineSwitch}, [this] { machineSwitch(); });
    on({kSpindleSwitch}, [this] { spindleSwitch(); });
    on({kResetBuffer}, [this] { resetBuffer(); });
    on({kContinue}, [this] {
        ContinueProgram(c_);
        status_.showSignals();
    });
    on({kEndJob}, [this] {
        EndJob(c_);
        status_.showSignals();
    });
    on({kProbe}, {"Vybrano NAJET NA Z senzor", "Choised MOVE TO Z senzore"},
       [this] { ProbeToolLength(c_.machine, host_); });
    on({kResetSensor}, {"Vybrano RESET SENZOR", "Choised RESET SENZORE"}, [this] {
        ReadInputs(c_.machine);
        status_.showSignals();
    });

    on({kMenuSaveSolution}, {"Vybrano ULOZIT PRACI", "Choised SAVE SOLUTION"},
       [this] { SaveSolution(c_.machine.log, host_); });
    on({kMenuLoadSolution}, {"Vybrano NACIST PRACI", "Choised LOAD SAVED SOLUTION"},
       [this] { LoadSolution(c_.machine.log, host_); });
    on({kMenuAbout}, [this] { about(); });
    on({kLogo}, {"Vybrano LOGO", "Choised LOGO"}, [this] {
        host_.openUrl(c_.machine.log.language() == 0 ? "https://cs.wikipedia.org/wiki/CNC"
                                                     : "https://en.wikipedia.org/wiki/CNC_router");
    });
    on({kMenuFinish}, [this] { view_.requestClose(); });
}

void MainCommands::on(std::initializer_list<int> ids, const std::function<void()>& action) {
    for (int id : ids) actions_.emplace(id, action);
}

void MainCommands::on(std::initializer_list<int> ids, Text chosen, std::function<void()> action) {
    // Operator choices go to the file only.
    on(ids, [this, chosen, action = std::move(action)] {
        c_.machine.log.say(chosen, false, false);
        action();
    });
}

bool MainCommands::onCommand(int id) {
    const auto found = actions_.find(id);
    if (found == actions_.end()) return false;
    found->second();
    return true;
}

void MainCommands::onEditChange(int id) {
    if (id >= kTargetX && id <= kTargetZ) position_.onTargetEdit(id);
}

void MainCommands::jog(int axis, int sign) {
    const MachineSettings& s = c_.machine.settings;
    const float step[3] = {s.mmPerStepX, s.mmPerStepY, s.mmPerStepZ};
    OperatorState& op = c_.op;
    op.jogQueued = 0;
    const int32_t period = AxisPeriod(s, axis);
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

void MainCommands::about() {
    host_.messageBox("Info",
                     FormatCaption(c_.machine.log.language(),
                                   {"Korvex: řízení malé CNC frézky přes paralelní "
                                    "port.\nVerze %s",
                                    "Korvex: a controller for small CNC routers on the "
                                    "parallel port.\nVersion %s"},
                                   ProgramVersion()),
                     Buttons::Ok, Icon::Information);
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

void MainCommands::hpgl() {
    if (c_.vector.loaded == 1) {
        const Answer a = host_.messageBox(
            "?",
            Caption(c_.machine.log.language(),
                    {"Soubor je otevřen, mám načíst jiný ?\n (pokud zvolíte NE, spustím "
                     "nastavení HPGL)",
                     "The file is opened, I read another ?\n (if you choice No, i run setup "
                     "HPGL)"}),
            Buttons::YesNo, Icon::Question);
        if (a != Answer::Yes) {
            openJobDialog(DialogKind::HpglJob);
            return;
        }
    }
    // A G-code program, a drill file or a picture chosen here opens where
    // it belongs.
    KindGuard guard(host_, c_.machine.log, {FileKind::Hpgl}, true);
    model_.load(guard);
    if (!guard.elsewhere().empty()) open_.open(guard.elsewhere());
}

void MainCommands::openJobDialog(DialogKind kind) {
    // The timer test runs no job.
    if (kind == DialogKind::TimerTest) {
        RunDialog(dialogs_, c_.machine.log, kind);
        return;
    }
    WarnUnhomedOnce(c_, host_);
    c_.track.arm(JobName(kind));
    RunDialog(dialogs_, c_.machine.log, kind);
    c_.track.disarm();
}

}  // namespace korvex
