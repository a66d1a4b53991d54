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
// Degenerate inputs still give finite, positive periods.
AccelerationTable BuildAxisTable(float fs, float fa, int rampSteps, bool constantAcceleration);

// Builds the X, Y, Z and working tables into m.accel. An axis whose
// constant-acceleration ramp fails gets its message box, its linearRamp
// flag switched off and the linear ramp. Logs the "f(ac)" line of each
// axis. Returns 1.
int BuildAccelerationTables(Machine& m);

// "f(ac) X[0..99]=50.14Hz - 100.19Hz" for axis 0, 1, 2.
std::string RateLine(int axis, const AccelerationTable& table);

}  // namespace korvex
