#include "ui/settings_command.h"

#include <new>

#include "motion/acceleration.h"
#include "motion/port.h"
#include "motion/step_output.h"
#include "settings/config_file.h"
#include "ui/controller.h"
#include "ui/dialog_runner.h"
#include "ui/main_ids.h"
#include "ui/main_menu.h"
#include "ui/manual_moves.h"
#include "ui/model_commands.h"
#include "ui/settings_dialog.h"
#include "ui/status_display.h"
#include "ui/window_view.h"

namespace korvex {

using namespace mainwin;

void SettingsCommand::allocateBuffer(bool toList) {
    Machine& m = c_.machine;
    try {
        m.buffer.allocate(m.settings.commandCapacity);
    } catch (const std::bad_alloc&) {
        m.log.say(
            {"Nepodarilo se alokovat pamet pro zasobnik prikazu", "Alloc memory for buffer failed"},
            true, true);
        view_.requestClose();
        return;
    }
    SayFormatted(m.log, {"Velikost alokovaného zasobníku %d OK", "Size of alloc commands %d OK"},
                 toList, false, m.settings.commandCapacity);
}

void SettingsCommand::run() {
    Machine& m = c_.machine;
    EventLog& log = m.log;
    if (!AtRestOrWarn(m, host_,
                      {"Není možné měnit nastavení, když stroj pracuje !",
                       "It's not possibe change settings, while machine is working !"}))
        return;
    int result;
    do {
        result = RunDialog(dialogs_, log, DialogKind::Settings);
    } while (result == setupdlg::kResultLanguage);
    if (result == kNotBuilt) return;
    view_.setMenu(MainMenu(log.language(), c_.recent.paths()));
    if (result == setupdlg::kResultFailed) view_.requestClose();
    // Cancelled edits are undone here: what counts is what config.dat holds.
    if (!LoadSettings(m.settings, log, kConfigFileName, 1, c_.moduleDir)) {
        log.say({"nactení nastavení po nastavení stroje selhalo, program ukoncen",
                 "reading of setup failed, program aborted"},
                true, true);
        view_.requestClose();
    }
    PrepareStepOutput(m);
    if (BuildAccelerationTables(m))
        log.say({"tabulka zrychleni vytvorena", "table of accelerations was created"}, false,
                false);
    model_.updateControls();
    SetExecutorPriority(m, m.settings.executorPriority, 1);
    view_.startTimer(kStatusTimer, m.settings.refreshMs);
    log.say({"timer _TimerInfo restartovan", "timer _TimerInfo restored"}, false, false);
    // Only a release resumes the executor; clearing the flag alone would
    // leave a stopped executor that looks ready.
    if (m.signals.estopActive.load()) ReleaseEmergencyStop(m);
    allocateBuffer(true);
    // The step sizes or the units may have changed: every field anew.
    status_.forgetShown();
    status_.refresh(true);
    status_.showRelativeOrigin();
    SetControlOutputs(m, 1, 0, 1);
}

}  // namespace korvex
