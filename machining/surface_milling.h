#pragma once
// Surface milling: levelling a rectangle of the material, from the corner
// where the tool stands, down to a depth in passes of at most one cut, along
// strokes in X, strokes in Y or an inward rectangular spiral.

#include <cstdint>

#include "machining/job_values.h"

namespace korvex {

struct Machine;

enum class SurfaceStyle { StrokesAlongX = 1, StrokesAlongY = 2, Spiral = 3 };

// The job's own values, in whole motor steps; the cut and the feed are the
// shared JobValues.
struct SurfaceMillingJob {
    int32_t sizeX = 0;   // X steps, to the right of the start corner
    int32_t sizeY = 0;   // Y steps, away from the start corner
    int32_t depth = 0;   // Z steps below the surface
    int32_t pitchX = 1;  // the step-over, converted with the X step size
    int32_t pitchY = 1;  // the same step-over, converted with the Y step size
};

// The job in `style`. It starts by rising to `safeHeight` above the surface
// (the relative origin's, which it needs) from wherever the tool is, and
// ends at the start corner at that height; refused, after a box, when that
// height or the depth does not fit the Z travel. With countOnly it appends
// nothing and returns the number of commands the job issues (0 when the job is
// refused, after a box), and their machine time in `seconds` when given;
// otherwise it appends them and returns 0. Window thread.
int32_t GenerateSurfaceMilling(Machine& m, const SurfaceMillingJob& job, const JobValues& values,
                               bool countOnly, SurfaceStyle style, double* seconds = nullptr);

// The passes over the surface: one per cut, and one more at the depth.
int32_t SurfacePasses(const SurfaceMillingJob& job, const JobValues& values);

}  // namespace korvex
