#pragma once
// Plotter units as motor steps, for every HPGL reader.

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "motion/rounding.h"
#include "settings/machine_settings.h"
#include "vector/model_geometry.h"

namespace korvex {

inline double PlotterUnitsPerMm(const MachineSettings& s) {
    return s.hpglUnitsPerInch * 0.03937007874015748;
}

// Rounded half away from zero and kept within the coordinate limit; a NaN
// (from a zero setting) reads as 0.
inline int32_t ToSteps(double value) {
    if (std::isnan(value)) return 0;
    const double limit = kCoordinateLimit;
    return RoundHalfAway(std::clamp(value, -limit, limit));
}

}  // namespace korvex
