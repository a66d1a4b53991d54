#pragma once
// Building the acceleration tables from the settings (at start-up and after
// every change of settings, while no job runs).

#include <string>

#include "motion/machine.h"

namespace korvex {

// One axis's table of `rampSteps` periods from fs (speed of movement / step
// size, Hz) to fa (acceleration speed / step size). constantAcceleration:
// the ramp whose velocity grows evenly in time; it falls back to the
// linear-period ramp (rampConstant 0) when its constant comes out below 1.
// Degenerate inputs still give finite, positive periods. No entry runs
// more than 1 % above the faster of fs and fa (such entries take that
// speed's period), a one-step ramp not above it at all. The periods'
// running sums come with them.
AccelerationTable BuildAxisTable(float fs, float fa, int rampSteps, bool constantAcceleration);

// The longest ramp tables are built for: 16 M steps is kilometres of ramp
// on any machine this drives, and 640 MB of tables with their sums.
inline constexpr int kMaxRampSteps = 1 << 24;

// Builds the X, Y, Z and working tables into m.accel. An axis whose
// constant-acceleration ramp fails gets its message box, its linearRamp
// flag switched off and the linear ramp. Logs the "f(ac)" line of each
// axis. Returns 1; 0, with the message box of the table that could not be
// allocated and the tables empty, when `rampSteps` is over kMaxRampSteps or
// memory runs out; ramped moves then wait for a build that succeeds
// (m.accel.ready).
int BuildAccelerationTables(Machine& m);

// "f(ac) X[0..99]=50.14Hz - 100.19Hz" for axis 0, 1, 2.
std::string RateLine(int axis, const AccelerationTable& table);

}  // namespace korvex
