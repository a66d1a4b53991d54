#pragma once
// The small numeric helpers every millimetre-to-step conversion goes through.

namespace korvex {

class EventLog;
struct MachineSettings;

// Nearest integer, halves away from zero.
int RoundHalfAway(double x);

// The smallest non-zero of u, v, w; 0 (and a box) when all three are 0.
float LowestNonZero(EventLog& log, float u, float v, float w);

// Which argument (0, 1, 2) holds the smallest value whose integer part is not
// 0, the later one winning among equal values; -1 (and a box) when none does.
int LowestNonZeroAxis(EventLog& log, float u, float v, float w);
// The same without the box.
int LowestNonZeroIndex(float u, float v, float w);

// Millimetres to steps of the given size, rounded half away from zero.
inline int MmToSteps(double mm, double mmPerStep) {
    return RoundHalfAway(mm / mmPerStep);
}

// The travel of axis 0, 1 or 2 (X, Y, Z) in its steps: the soft limits'
// end and the length of a homing move.
int TravelSteps(const MachineSettings& s, int axis);

// A step period in microseconds for `speed` mm/s with `mmPerStep` steps,
// truncated: 1 000 000 / (speed / step size).
int PeriodUs(double speed, double mmPerStep);

}  // namespace korvex
