#include <algorithm>
#include <cmath>
#include <string>

#include "motion/machine.h"
#include "motion/move_time.h"
#include "motion/rounding.h"

namespace korvex {

namespace {

// Shortens `c` so that the planned position stays within the travel (or
// does not leave it further when it is already outside); adds what was cut
// off to `clips`.
void ClipToTravel(const MachineSettings& s, const MachinePosition& p, MotionCommand& c,
                  PlanClips& clips) {
    const int32_t planned[3] = {p.plannedX.load(), p.plannedY.load(), p.plannedZ.load()};
    int32_t* d[3] = {&c.dx, &c.dy, &c.dz};
    for (int a = 0; a < 3; ++a) {
        const int64_t at = planned[a], to = at + *d[a];
        const int64_t low = std::min<int64_t>(0, at),
                      high = std::max<int64_t>(TravelSteps(s, a), at);
        const int64_t clipped = std::clamp(to, low, high);
        clips.steps[a] += std::llabs(to - clipped);
        clips.total += std::llabs(to - clipped);
        *d[a] = static_cast<int32_t>(clipped - at);
    }
}

}  // namespace

int AppendCommand(Machine& m, int32_t dx, int32_t dy, int32_t dz, int32_t periodUs,
                  int32_t accelerated, int32_t dwellAfter, int32_t checkSwitches, int32_t spindleOn,
                  int32_t stopAfter) {
    if (m.executor.quitRequest.load()) return kAppended;
    if (dx == 0 && dy == 0 && dz == 0) return kZeroMove;

    MotionCommand c{dx,        dy,       dz, periodUs, accelerated, 0, dwellAfter, checkSwitches,
                    spindleOn, stopAfter};
    const bool clip = m.settings.softLimits != 0 && !checkSwitches;
    // Planned under the buffer's lock, before the command can run: the
    // executor may start it at once, and what it sets (a switch's frame, a
    // probe's cancelled descent, a reset's replanning) must come after this
    // sum, not be overwritten by it. Behind a switch-checking move the plan
    // is known only once the switch answers: the executor guards the travel.
    const CommandBuffer::Push pushed = m.buffer.push(c, m.log, [&m, clip](MotionCommand& q) {
        MachinePosition& p = m.position;
        if (clip && !m.buffer.switchMoveQueued()) ClipToTravel(m.settings, p, q, m.clips);
        if (q.dx == 0 && q.dy == 0 && q.dz == 0) return false;
        q.remainingTimeS = MoveTimer(m).seconds(q);
        p.plannedX += q.dx;
        p.plannedY += q.dy;
        p.plannedZ += q.dz;
        p.resumeValid.store(0);
        return true;
    });
    if (m.clips.openJobs == 0) ReportPlanClips(m);
    if (pushed == CommandBuffer::Push::kDeclined) return kZeroMove;
    if (pushed == CommandBuffer::Push::kFull) {
        m.log.say({"Zásobník příkazů je plný, příkaz nebyl zařazen",
                   "The command buffer is full, the command was not added"},
                  true, true);
        return kBufferFull;
    }
    return kAppended;
}

void ReportPlanClips(Machine& m) {
    int64_t* steps = m.clips.steps;
    if ((steps[0] | steps[1] | steps[2]) == 0) return;
    const MachineSettings& s = m.settings;
    const float mmPerStep[3] = {s.mmPerStepX, s.mmPerStepY, s.mmPerStepZ};
    std::string axes;
    for (int a = 0; a < 3; ++a) {
        if (steps[a] == 0) continue;
        if (!axes.empty()) axes += ", ";
        axes += Format("%c %.3f mm", "XYZ"[a], static_cast<double>(steps[a] * mmPerStep[a]));
        steps[a] = 0;
    }
    SayFormatted(m.log,
                 {"Softwarové limity zkrátily pohyby na konec dráhy stroje o: %s",
                  "The soft limits shortened moves to the end of the machine's travel by: %s"},
                 true, false, axes.c_str());
}

}  // namespace korvex
