#include "app/qt_dialog_launcher.h"

#include <QCheckBox>

#include "app/logic_dialog.h"
#include "app/qt_job_windows.h"
#include "app/qt_setup_windows.h"
#include "app/qt_window_view.h"
#include "app/stop_controls.h"
#include "motion/timer_test.h"
#include "platform/qimage_canvas.h"
#include "ui/controller.h"
#include "ui/main_ids.h"
#include "ui/null_position_dialog.h"
#include "ui_null_position.h"

namespace korvex {

QtDialogLauncher::QtDialogLauncher(Controller& c, Host& host, QWidget* parent)
    : c_(c),
      host_(host),
      parent_(parent),
      timingGraph_(MakeQImageCanvas(kGraphWidth, kGraphHeight + 10)) {}

QtDialogLauncher::~QtDialogLauncher() = default;

int QtDialogLauncher::run(DialogKind kind) {
    switch (kind) {
        case DialogKind::NullPosition:
            return runNullPosition();
        case DialogKind::Settings:
            return RunSettingsWindow(c_, host_, parent_);
        case DialogKind::TimerTest:
            return RunTimerTestWindow(c_, timingGraph_.get(), parent_);
        case DialogKind::HpglJob:
            return RunHpglJobWindow(c_, host_, parent_);
        case DialogKind::Drilling:
            return RunDrillingWindow(c_, host_, parent_);
        case DialogKind::Surface:
            return RunSurfaceWindow(c_, host_, parent_);
        case DialogKind::Separation:
            return RunSeparationWindow(c_, parent_);
        case DialogKind::Relief:
            return RunReliefWindow(c_, host_, parent_);
        case DialogKind::Gcode:
            return RunGcodeWindow(c_, host_, parent_);
        case DialogKind::HeightMap:
            return RunHeightMapWindow(c_, host_, parent_);
    }
    return kNotBuilt;
}

int QtDialogLauncher::runNullPosition() {
    return RunForm<Ui::NullPositionForm>(
        parent_, "nullPositionDialog", [this](QDialog& d, QtWindowView& view) {
            BindStopButtons(d, c_, host_);
            for (QCheckBox* box : d.findChildren<QCheckBox*>()) {
                // The switches are shown, not operated.
                box->setAttribute(Qt::WA_TransparentForMouseEvents);
                box->setFocusPolicy(Qt::NoFocus);
            }
            return NullPositionDialog(c_.machine, view, &c_.homing);
        });
}

}  // namespace korvex
