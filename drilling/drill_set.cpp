#include "drilling/drill_set.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "log/event_log.h"

namespace korvex {

int normaliseDrillSet(EventLog& log, DrillSet& set) {
    // Ranges in 64 bits: two saturated coordinates of opposite sign span more
    // than a step counter holds, and subtracting them would wrap.
    int64_t minX = 0, maxX = 0, minY = 0, maxY = 0;
    if (!set.holes.empty()) {
        auto [lowX, highX] =
            std::minmax_element(set.holes.begin(), set.holes.end(),
                                [](const DrillHole& a, const DrillHole& b) { return a.x < b.x; });
        auto [lowY, highY] =
            std::minmax_element(set.holes.begin(), set.holes.end(),
                                [](const DrillHole& a, const DrillHole& b) { return a.y < b.y; });
        minX = lowX->x, maxX = highX->x, minY = lowY->y, maxY = highY->y;
    }
    constexpr int64_t kLargest = std::numeric_limits<int32_t>::max();
    if (maxX - minX > kLargest || maxY - minY > kLargest) {
        LogLine(log, Text{"MinX a MinY nejsou 0", "Calculate minX and minY is not 0"}, true, true);
        return 0;
    }
    for (DrillHole& h : set.holes) {
        h.x = static_cast<int32_t>(h.x - minX);
        h.y = static_cast<int32_t>(maxY - h.y);
    }
    set.fieldWidth = static_cast<int32_t>(maxX - minX);
    set.fieldHeight = static_cast<int32_t>(maxY - minY);
    for (int t = 0; t < set.toolCount && t < kMaxDrillTools; ++t)
        set.tools[t].holeCount = static_cast<int32_t>(std::count_if(
            set.holes.begin(), set.holes.end(), [t](const DrillHole& h) { return h.tool == t; }));
    return 1;
}

}  // namespace korvex
