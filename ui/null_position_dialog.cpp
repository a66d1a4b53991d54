#include "ui/null_position_dialog.h"

#include "log/captions.h"
#include "motion/homing.h"
#include "motion/port.h"
#include "ui/homing_watch.h"
#include "ui/main_ids.h"
#include "ui/window_view.h"

namespace korvex {

using namespace nullpos;

void NullPositionDialog::onInit() {
    view_.setTitle("Nulová pozice / null position");
    ShowCaptions(view_, m_.settings.language,
                 {{kHomingCaption,
                   {"Automatická volba nulové pozice pro jednotlivé osy",
                    "Automatic null position for each axis"}},
                  {kHomeX, {"pro osu X", "Home X"}},
                  {kHomeY, {"pro osu Y", "Home Y"}},
                  {kHomeZ, {"pro osu Z", "Home Z"}},
                  {kHomeAll, {"automaticky vynuluj všechny osy", "Home all axes automatically"}},
                  {kClose, {"Konec", "Close"}}});
    view_.setGeometry(100, 10, -1, -1);
    ReadInputs(m_);
    refresh();
    view_.startTimer(kTimer, m_.settings.refreshMs);
}

void NullPositionDialog::refresh() {
    const MachineSignals& g = m_.signals;
    const bool closed[3] = {g.limitX.load() != 0, g.limitY.load() != 0, g.limitZ.load() != 0};
    for (int a = 0; a < 3; ++a) {
        view_.setCheck(kSwitchX + a, closed[a]);
        view_.enable(kHomeX + a, !closed[a]);
    }
    view_.setCheck(kSwitchZSensor, g.zSensor.load() != 0);
}

void NullPositionDialog::onTimer(int id) {
    if (id != kTimer) return;
    ReadInputs(m_);
    refresh();
}

void NullPositionDialog::onCommand(int id) {
    switch (id) {
        case kHomeX:
        case kHomeY:
        case kHomeZ:
            HomeAxis(m_, id - kHomeX);
            if (homing_) BeginHoming(*homing_, 1 << (id - kHomeX));
            break;
        case kHomeAll:
            HomeAllAxes(m_);
            if (homing_) BeginHoming(*homing_, 7);
            break;
        case kClose:
            view_.stopTimer(kTimer);
            view_.end(1);
            break;
        default:
            break;
    }
}

}  // namespace korvex
