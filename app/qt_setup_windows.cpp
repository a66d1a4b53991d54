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

namespace {

template <typename Form>
void SetUp(QDialog& dialog) {
    Form form;
    form.setupUi(&dialog);
}

}  // namespace

int RunSettingsWindow(Controller& c, Host& host, QWidget* parent) {
    LogicDialog dialog(parent);
    dialog.setObjectName("settingsDialog");
    // Both forms hold the same control ids.
    if (c.machine.settings.language == 0)
        SetUp<Ui::SettingsCzForm>(dialog);
    else
        SetUp<Ui::SettingsEnForm>(dialog);
    QtWindowView view(&dialog, &dialog);
    SettingsDialog logic(c.machine, view, host, c.moduleDir, c.vector.loaded != 0,
                         [&c, &dialog] { RunPinWindow(c, &dialog); });
    dialog.setWindowTitle(QString::fromStdString(logic.title()));
    return RunModal(dialog, view, logic);
}

int RunPinWindow(Controller& c, QWidget* parent) {
    LogicDialog dialog(parent);
    dialog.setObjectName("pinDialog");
    SetUp<Ui::PinForm>(dialog);
    dialog.setWindowTitle(QString::fromStdString(PinDialog::title()));
    QtWindowView view(&dialog, &dialog);
    PinDialog logic(c.machine.settings, view);
    return RunModal(dialog, view, logic);
}

int RunTimerTestWindow(Controller& c, Canvas* graph, QWidget* parent) {
    LogicDialog dialog(parent);
    dialog.setObjectName("timerTestDialog");
    SetUp<Ui::TimerTestForm>(dialog);
    QtWindowView view(&dialog, &dialog);
    TimerTestDialog logic(c.machine, view, graph);
    return RunModal(dialog, view, logic);
}

}  // namespace korvex
