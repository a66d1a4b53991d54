#pragma once
// What every drill reader owes, whatever the bytes: a loaded set keeps its
// holes inside the field, each hole's drill in the table (or -1, no drill),
// and per-drill counts that add up to the holes with a drill; a refused file
// leaves no hole to drill. Each input is read at the factory step size and
// at a tiny one, where coordinates overflow the step counters.

#include <cstdint>
#include <string>

#include "drilling/drill_set.h"
#include "tests/fuzz/fuzz_rig.h"

namespace korvex::fuzz {

inline void CheckDrillSet(const DrillSet& set, int loaded) {
    if (!loaded) {
        if (!set.holes.empty()) __builtin_trap();
        return;
    }
    if (set.toolCount < 0 || set.toolCount > kMaxDrillTools) __builtin_trap();
    if (set.holes.size() != static_cast<size_t>(set.holeCount)) __builtin_trap();
    int64_t counted = 0, withDrill = 0;
    for (int t = 0; t < set.toolCount; ++t) counted += set.tools[t].holeCount;
    for (const DrillHole& h : set.holes) {
        if (h.tool < -1 || h.tool >= set.toolCount) __builtin_trap();
        if (h.x < 0 || h.y < 0 || h.x > set.fieldWidth || h.y > set.fieldHeight) __builtin_trap();
        withDrill += h.tool >= 0;
    }
    if (counted != withDrill) __builtin_trap();
}

// Runs `load(machine, set, path)` on the input at both step sizes.
template <typename Load>
int FuzzDrillReader(const uint8_t* data, size_t size, Load load) {
    FuzzRig& rig = Rig();
    Machine& m = rig.m;
    static const float factoryStep = m.settings.mmPerStepX;
    const std::string& path = rig.input(data, size);
    for (float step : {factoryStep, 1e-5f}) {
        m.settings.mmPerStepX = m.settings.mmPerStepY = step;
        DrillSet set;
        CheckDrillSet(set, load(m, set, path));
    }
    return 0;
}

}  // namespace korvex::fuzz
