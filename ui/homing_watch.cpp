#include "ui/homing_watch.h"

#include "motion/port.h"
#include "platform/host.h"
#include "ui/controller.h"

namespace korvex {

namespace {
constexpr const char* kAxisNames[3] = {"X", "Y", "Z"};
}

void BeginHoming(HomingState& homing, int axes) {
    for (int a = 0; a < 3; ++a)
        if (axes & (1 << a)) homing.homed[a] = 0;
    homing.pending |= axes;
}

bool CheckHoming(Controller& c) {
    HomingState& h = c.homing;
    Machine& m = c.machine;
    if (h.pending == 0 || m.buffer.queued() > 0 || !m.executor.executorIdle.load()) return false;
    ReadInputs(m);
    const Counter* switches[3] = {&m.signals.limitX, &m.signals.limitY, &m.signals.limitZ};
    for (int a = 0; a < 3; ++a) {
        if (!(h.pending & (1 << a))) continue;
        h.homed[a] = switches[a]->load() != 0;
        if (!h.homed[a])
            SayFormatted(m.log,
                         {"Osa %s nenašla svůj koncový spínač: není vynulována",
                          "Axis %s did not meet its limit switch: it is not homed"},
                         true, true, kAxisNames[a]);
    }
    h.pending = 0;
    return true;
}

void WarnUnhomedOnce(Controller& c, Host& host) {
    HomingState& h = c.homing;
    const Machine& m = c.machine;
    if (h.unhomedWarned || !m.settings.softLimits) return;
    std::string axes;
    for (int a = 0; a < 3; ++a)
        if (!h.homed[a]) axes += axes.empty() ? kAxisNames[a] : std::string(", ") + kAxisNames[a];
    if (axes.empty()) return;
    h.unhomedWarned = 1;
    host.messageBox(
        "?",
        FormatCaption(m.settings.language,
                      {"Nevynulované osy: %s. Softwarové limity hlídají polohu, která nemusí "
                       "odpovídat stroji",
                       "Axes not homed: %s. The soft limits guard a position that may "
                       "not be the machine's"},
                      axes.c_str()),
        Buttons::Ok, Icon::Warning);
}

}  // namespace korvex
