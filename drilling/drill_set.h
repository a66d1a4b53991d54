#pragma once
// The loaded drill list: the drills a file defines and its holes, in motor
// steps, moved so that the smallest X and Y are 0 and with Y counting down
// from the top edge of the hole field (as the preview draws it).

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace korvex {

class EventLog;

// The drill table is fixed: a file defining more drills is refused.
inline constexpr int kMaxDrillTools = 256;

struct DrillTool {
    float diameter = 0;   // mm, from the file
    int32_t depth = 0;    // Z steps, set in the drilling dialog
    int32_t enabled = 0;  // set in the drilling dialog
    int32_t holeCount = 0;
};

struct DrillHole {
    int32_t tool = -1;     // index into the drill table; -1 before any drill definition
    int32_t x = 0, y = 0;  // steps
};

struct DrillSet {
    std::string drillPath;
    int32_t toolCount = 0;
    std::array<DrillTool, kMaxDrillTools> tools{};
    // The count the last load reached. `holes` holds the holes only after a
    // load that succeeded, so a failed load leaves nothing to drill.
    int32_t holeCount = 0;
    std::vector<DrillHole> holes;
    int32_t fieldWidth = 0, fieldHeight = 0;  // steps: the largest X and Y
};

// Moves the holes to start at 0, flips Y, sets the field size and each
// drill's hole count. 1 on success; 0 (reported with a box) when the holes
// span more than a step counter can hold.
int normaliseDrillSet(EventLog& log, DrillSet& set);

}  // namespace korvex
