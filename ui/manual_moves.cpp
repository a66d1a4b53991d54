#include "ui/manual_moves.h"

#include "motion/executor.h"
#include "motion/machine.h"
#include "motion/rounding.h"
#include "platform/host.h"

namespace korvex {

int32_t AxisPeriod(const MachineSettings& s, int axis) {
    const float speed[3] = {s.moveSpeedX, s.moveSpeedY, s.moveSpeedZ};
    const float step[3] = {s.mmPerStepX, s.mmPerStepY, s.mmPerStepZ};
    return PeriodUs(speed[axis], step[axis]);
}

int32_t CombinedPeriod(Machine& m, bool x, bool y, bool z) {
    const MachineSettings& s = m.settings;
    const float rateX = x ? s.moveSpeedX / s.mmPerStepX : 0;
    const float rateY = y ? s.moveSpeedY / s.mmPerStepY : 0;
    const float rateZ = z ? s.moveSpeedZ / s.mmPerStepZ : 0;
    const float lowest = LowestNonZero(m.log, rateX, rateY, rateZ);
    return lowest > 0 ? static_cast<int32_t>(1000000.0f / lowest) : 0;
}

int32_t SafeSteps(const MachineSettings& s) {
    return MmToSteps(s.safeHeight, s.mmPerStepZ);
}

bool AtRestOrWarn(Machine& m, Host& host, Text refusal) {
    if (ExecutorAtRest(m)) return true;
    host.messageBox("?", Caption(m.log.language(), refusal), Buttons::Ok, Icon::Warning);
    return false;
}

}  // namespace korvex
