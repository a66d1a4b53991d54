#include <cmath>

#include "motion/machine.h"

namespace korvex {

int AppendCommand(Machine& m, int32_t dx, int32_t dy, int32_t dz, int32_t periodUs,
                  int32_t accelerated, int32_t dwellAfter, int32_t checkSwitches, int32_t spindleOn,
                  int32_t stopAfter) {
    if (m.executor.quitRequest.load()) return kAppended;
    if (dx == 0 && dy == 0 && dz == 0) return kZeroMove;

    MotionCommand c{dx,        dy,       dz, periodUs, accelerated, 0, dwellAfter, checkSwitches,
                    spindleOn, stopAfter};
    const double x = dx, y = dy, z = dz;
    c.remainingTimeS = std::sqrt(x * x + y * y + z * z) * periodUs / 1'000'000.0 + dwellAfter;
    // Planned before the push: the executor may run the command at once,
    // and what it sets (a switch's zero, a probe's cancelled descent) must
    // come after this sum, not be overwritten by it.
    MachinePosition& p = m.position;
    p.plannedX += dx;
    p.plannedY += dy;
    p.plannedZ += dz;
    if (!m.buffer.push(c, m.log)) {
        p.plannedX -= dx;
        p.plannedY -= dy;
        p.plannedZ -= dz;
        m.log.say({"Zásobník příkazů je plný, příkaz nebyl zařazen",
                   "The command buffer is full, the command was not added"},
                  true, true);
        return kBufferFull;
    }
    return kAppended;
}

}  // namespace korvex
