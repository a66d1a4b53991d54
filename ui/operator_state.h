#pragma once
// The main window's own state: the go-to targets, the switches of manual
// moves and the model's new size.

#include <cstdint>

namespace korvex {

struct OperatorState {
    int32_t goTarget[3] = {0, 0, 0};  // steps
    int32_t useAcceleration = 1;
    int32_t absoluteTarget = 0;
    int32_t jogQueued = 0;  // the current jog press queued a SHIFT or CTRL move
    int32_t scalePercent = 100;
    int32_t newSizeX = 0, newSizeY = 0;  // steps
    int32_t endJobPending = 0;           // "End job" waits for the stop's release
};

// Which axes stand in the frame of their limit switch.
struct HomingState {
    int32_t homed[3] = {0, 0, 0};
    int32_t pending = 0;        // bit per axis: a homing move is queued or runs
    int32_t unhomedWarned = 0;  // the jobs' warning was shown in this run
};

}  // namespace korvex
