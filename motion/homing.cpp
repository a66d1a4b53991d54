#include "motion/homing.h"

#include "motion/rounding.h"

namespace korvex {

namespace {
struct AxisTravel {
    int32_t steps;   // the whole travel
    int32_t period;  // at the axis's speed of movement
};

AxisTravel Travel(const MachineSettings& s, int axis) {
    const float step[3] = {s.mmPerStepX, s.mmPerStepY, s.mmPerStepZ};
    const float speed[3] = {s.moveSpeedX, s.moveSpeedY, s.moveSpeedZ};
    return {TravelSteps(s, axis), PeriodUs(speed[axis], step[axis])};
}

// The axis counts from the whole travel until its switch sets the zero;
// what is queued keeps its meaning in the new frame.
void StartFromTravel(Machine& m, int axis, int32_t travel) {
    MachinePosition& p = m.position;
    Counter* executed[3] = {&p.absX, &p.absY, &p.absZ};
    Counter* planned[3] = {&p.plannedX, &p.plannedY, &p.plannedZ};
    Reframe(*executed[axis], *planned[axis], travel);
    p.homedAxes.fetch_and(~(1 << axis));
}
}  // namespace

void HomeAxis(Machine& m, int axis) {
    const AxisTravel t = Travel(m.settings, axis);
    StartFromTravel(m, axis, t.steps);
    int32_t d[3] = {0, 0, 0};
    d[axis] = -t.steps;
    AppendCommand(m, d[0], d[1], d[2], t.period, 1, 0, 1, 0, 0);
}

void HomeAllAxes(Machine& m) {
    const MachineSettings& s = m.settings;
    const AxisTravel x = Travel(s, 0), y = Travel(s, 1), z = Travel(s, 2);
    StartFromTravel(m, 0, x.steps);
    StartFromTravel(m, 1, y.steps);
    StartFromTravel(m, 2, z.steps);
    AppendCommand(m, 0, 0, -z.steps, z.period, 1, 0, 1, 0, 0);
    const float rate =
        LowestNonZero(m.log, s.moveSpeedX / s.mmPerStepX, s.moveSpeedY / s.mmPerStepY, 0);
    const int32_t period = rate > 0 ? static_cast<int32_t>(1'000'000.0 / rate) : x.period;
    AppendCommand(m, -x.steps, -y.steps, 0, period, 1, 0, 1, 0, 0);
}

}  // namespace korvex
