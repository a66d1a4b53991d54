#include "app/qt_setup_windows.h"

#include "app/logic_dialog.h"
#include "app/qt_window_view.h"
#include "ui/controller.h"
#include "ui/pin_dialog.h"
#include "ui/settings_dialog.h"
#include "ui/timer_test_dialog.h"
#include "ui_pins.h"
#include "ui_settings_cz.h"
#include "ui_settings_en.h"
#include "ui_timer_test.h"

namespace korvex {

int RunSettingsWindow(Controller& c, Host& host, QWidget* parent) {
    auto make = [&](QDialog& d, QtWindowView& view) {
        return SettingsDialog(c.machine, view, host, c.moduleDir, c.vector.loaded != 0,
                              [&c, &d] { RunPinWindow(c, &d); });
    };
    // Both forms hold the same control ids.
    if (c.machine.settings.language == 0)
        return RunForm<Ui::SettingsCzForm>(parent, "settingsDialog", make);
    return RunForm<Ui::SettingsEnForm>(parent, "settingsDialog", make);
}

int RunPinWindow(Controller& c, QWidget* parent) {
    return RunForm<Ui::PinForm>(parent, "pinDialog", [&](QDialog&, QtWindowView& view) {
        return PinDialog(c.machine.settings, view);
    });
}

int RunTimerTestWindow(Controller& c, Canvas* graph, QWidget* parent) {
    return RunForm<Ui::TimerTestForm>(parent, "timerTestDialog", [&](QDialog&, QtWindowView& view) {
        return TimerTestDialog(c.machine, view, graph);
    });
}

}  // namespace korvex
