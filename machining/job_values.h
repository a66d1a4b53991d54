#pragma once
// The job feed and job cut: one pair of values that the relief,
// surface-milling and separation dialogs share, so the operator's last
// choice carries from one of these jobs to the next.

#include <cstdint>

#include "motion/rounding.h"
#include "settings/machine_settings.h"

namespace korvex {

struct JobValues {
    float feed = 0;   // mm/s
    int32_t cut = 0;  // Z steps
};

// The values at start-up: the cutting speed and the default cut.
inline JobValues StartJobValues(const MachineSettings& s) {
    return {s.cuttingSpeed, MmToSteps(s.cutDepth, s.mmPerStepZ)};
}

}  // namespace korvex
