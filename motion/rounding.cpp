#include "motion/rounding.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>

#include "log/event_log.h"
#include "settings/machine_settings.h"

namespace korvex {

namespace {
// Saturating conversion: a double outside int's range is undefined to cast.
int ToInt(double x) {
    if (std::isnan(x)) return 0;
    if (x >= static_cast<double>(INT_MAX)) return INT_MAX;
    if (x <= static_cast<double>(INT_MIN)) return INT_MIN;
    return static_cast<int>(x);
}
}  // namespace

int RoundHalfAway(double x) {
    double t = std::trunc(x);
    if (std::fabs(x - t) < 0.5) return ToInt(t);
    return x > 0 ? ToInt(t + 1) : ToInt(t - 1);
}

float LowestNonZero(EventLog& log, float u, float v, float w) {
    std::array<float, 3> sorted{u, v, w};
    std::sort(sorted.begin(), sorted.end());
    for (float value : sorted)
        if (value != 0) return value;
    log.say({"nejmensi hodnota selhala", "lowest value failed"}, true, true);
    return 0;
}

int LowestNonZeroIndex(float u, float v, float w) {
    std::array<float, 3> sorted{u, v, w};
    std::sort(sorted.begin(), sorted.end());
    for (float value : sorted) {
        if (std::trunc(value) == 0) continue;
        if (value == w) return 2;
        if (value == v) return 1;
        return 0;
    }
    return -1;
}

int LowestNonZeroAxis(EventLog& log, float u, float v, float w) {
    const int axis = LowestNonZeroIndex(u, v, w);
    if (axis < 0) log.say({"nejmensi2 hodnota selhala", "lowest2 value failed"}, true, true);
    return axis;
}

int PeriodUs(double speed, double mmPerStep) {
    return ToInt(1'000'000.0 / (speed / mmPerStep));
}

int TravelSteps(const MachineSettings& s, int axis) {
    const float travel[3] = {s.travelX, s.travelY, s.travelZ};
    const float step[3] = {s.mmPerStepX, s.mmPerStepY, s.mmPerStepZ};
    return MmToSteps(travel[axis], step[axis]);
}

}  // namespace korvex
