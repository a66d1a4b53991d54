#include "motion/homing.h"

#include "motion/rounding.h"

namespace korvex {

namespace {
struct AxisTravel {
    int32_t steps;   // the whole travel
    int32_t period;  // at the axis's speed of movement
};

AxisTravel Travel(const MachineSettings& s, int axis) {
    const float travel[3] = {s.travelX, s.travelY, s.travelZ};
    const float step[3] = {s.mmPerStepX, s.mmPerStepY, s.mmPerStepZ};
    const float speed[3] = {s.moveSpeedX, s.moveSpeedY, s.moveSpeedZ};
    return {MmToSteps(travel[axis], step[axis]), PeriodUs(speed[axis], step[axis])};
}

Counter& Executed(Machine& m, int axis) {
    Counter* counters[3] = {&m.position.absX, &m.position.absY, &m.position.absZ};
    return *counters[axis];
}
}  // namespace

void HomeAxis(Machine& m, int axis) {
    const AxisTravel t = Travel(m.settings, axis);
    Executed(m, axis).store(t.steps);
    int32_t d[3] = {0, 0, 0};
    d[axis] = -t.steps;
    AppendCommand(m, d[0], d[1], d[2], t.period, 1, 0, 1, 0, 0);
}

void HomeAllAxes(Machine& m) {
    const MachineSettings& s = m.settings;
    const AxisTravel x = Travel(s, 0), y = Travel(s, 1), z = Travel(s, 2);
    m.position.absX.store(x.steps);
    m.position.absY.store(y.steps);
    m.position.absZ.store(z.steps);
    AppendCommand(m, 0, 0, -z.steps, z.period, 1, 0, 1, 0, 0);
    const float rate =
        LowestNonZero(m.log, s.moveSpeedX / s.mmPerStepX, s.moveSpeedY / s.mmPerStepY, 0);
    const int32_t period = rate > 0 ? static_cast<int32_t>(1'000'000.0 / rate) : x.period;
    AppendCommand(m, -x.steps, -y.steps, 0, period, 1, 0, 1, 0, 0);
}

}  // namespace korvex
