#pragma once
// The acceleration tables: per axis, `rampSteps` step periods leading from
// the axis's speed of movement up to its acceleration speed; entry 0 is the
// first (slowest) step of a ramp.

#include <atomic>
#include <cstdint>
#include <vector>

namespace korvex {

struct AccelerationTable {
    std::vector<int32_t> periodsUs;
    // periodSumsUs[k]: the first k periods summed, so a ramp is timed
    // without walking its ticks.
    std::vector<int64_t> periodSumsUs;
    int32_t rampConstant = 0;  // K of the constant-acceleration ramp; 0 for the linear one
    bool constantAcceleration = false;
};

struct AccelerationTables {
    AccelerationTable axis[3];     // X, Y, Z
    std::vector<int32_t> working;  // a phase's fallback periods when no axis table fits
    // Set when the last build succeeded: until then no ramped move runs.
    std::atomic<bool> ready{false};
};

}  // namespace korvex
