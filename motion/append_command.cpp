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
    if (!m.buffer.push(c, m.log)) {
        m.log.say({"Zásobník příkazů je plný, příkaz nebyl zařazen",
                   "The command buffer is full, the command was not added"},
                  true, true);
        return kBufferFull;
    }
    m.position.plannedX += dx;
    m.position.plannedY += dy;
    m.position.plannedZ += dz;
    return kAppended;
}

}  // namespace korvex
