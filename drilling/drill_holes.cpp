#include "drilling/drill_holes.h"

#include <algorithm>
#include <optional>

#include "motion/job_sink.h"
#include "motion/rounding.h"

namespace korvex {

namespace {
// The drill moves' period from the smaller non-zero of the plunge speed over
// the X step and the cutting speed over the Y step; nothing (after a
// box) when both are 0.
std::optional<int> DrillPeriodUs(Machine& m) {
    const MachineSettings& s = m.settings;
    const float rate =
        LowestNonZero(m.log, s.plungeSpeed / s.mmPerStepX, s.cuttingSpeed / s.mmPerStepY, 0);
    if (rate == 0) return std::nullopt;
    return PeriodUs(rate, 1.0);  // the rate is already in steps per second
}
}  // namespace

int drillHoles(Machine& m, const DrillSet& set, int drill) {
    if (drill < 0 || drill >= set.toolCount || drill >= kMaxDrillTools) {
        LogLine(m.log, Text{"Není načten žádný vrták", "No drill is loaded"}, true, true);
        return 0;
    }
    const DrillTool& tool = set.tools[drill];
    // More than 6 entries per hole, a margin over the 5 a hole takes.
    if (!FreeSlotsHold(m, 6 * static_cast<int64_t>(tool.holeCount) + 1,
                       {"V zasobníku neni dost mista na vykonani prikazu VRTANI",
                        "Not enought memory in buffer to execute DRILL"}))
        return 0;
    const MachineSettings& s = m.settings;
    const int h = MmToSteps(s.safeHeight, s.mmPerStepZ);
    // The slower of X and Y sets the travel period.
    const int travel =
        std::max(PeriodUs(s.moveSpeedX, s.mmPerStepX), PeriodUs(s.moveSpeedY, s.mmPerStepY));
    const int lift = PeriodUs(s.moveSpeedZ, s.mmPerStepZ);
    const std::optional<int> plunge = DrillPeriodUs(m);
    if (!plunge) return 0;
    JobSink sink(m, false, h);
    if (!sink.start(tool.depth)) return 0;
    int x = 0, y = 0;
    for (const DrillHole& hole : set.holes) {
        if (hole.tool != drill) continue;
        sink.move(hole.x - x, hole.y - y, 0, travel, 1, 0, 0);
        x = hole.x, y = hole.y;
        sink.move(0, 0, h, lift, 1, 0, 0);
        sink.move(0, 0, tool.depth, *plunge, 0, 1, 1);
        sink.move(0, 0, -tool.depth, *plunge, 0, 1, 1);
        sink.move(0, 0, -h, lift, 1, 0, 0);
    }
    sink.move(-x, -y, 0, travel, 1, 0, 0);
    return 1;
}

}  // namespace korvex
