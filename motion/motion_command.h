#pragma once
// One straight three-axis move, as producers append it and the executor runs it.

#include <cstdint>

namespace korvex {

struct MotionCommand {
    int32_t dx = 0;  // X steps still to go, signed
    int32_t dy = 0;
    int32_t dz = 0;           // positive Z goes down into the material
    int32_t periodUs = 0;     // tick period of an interpolated move
    int32_t accelerated = 0;  // non-zero: a ramped positioning move
    double remainingTimeS = 0;
    int32_t dwellAfter = 0;     // pause `dwellSeconds` after the move
    int32_t checkSwitches = 0;  // stop each axis at its switch (homing, probing)
    int32_t spindleOn = 0;      // the tool state of this move (laser/pen mode)
    int32_t stopAfter = 0;      // raise the emergency stop after the move: kStop...

    bool operator==(const MotionCommand&) const = default;
};

// What a stop after the move waits for; every non-zero value stops.
inline constexpr int32_t kStopPause = 1;          // a program's pause (M0, M1)
inline constexpr int32_t kStopRemoveProbe = 2;    // the probe is to be taken away
inline constexpr int32_t kStopToolChange = 1000;  // plus the tool number (M6 Tn)

static_assert(sizeof(MotionCommand) == 48, "the settings dialog shows capacity x 48 bytes");

}  // namespace korvex
