#pragma once
// Material separation: cutting a closed outline, a rectangle or a circle,
// through the material in several passes so that the piece comes free.

#include <cstdint>

#include "machining/circle_table.h"
#include "machining/job_values.h"

namespace korvex {

struct Machine;

enum class SeparationShape { Rectangle = 1, Circle = 2 };

// The job's own values, in whole motor steps; the cut and the feed are the
// shared JobValues.
struct SeparationJob {
    SeparationShape shape = SeparationShape::Rectangle;
    int32_t depth = 0;  // Z steps below the surface
    int32_t sizeX = 0;  // X steps: the rectangle's width or the circle's diameter
    int32_t sizeY = 0;  // Y steps: the rectangle's height
};

// Passes through `depth`: one per whole cut, the last one taking the rest
// (between one and two cuts); a single pass when the depth is a cut or less.
int32_t SeparationCycles(int32_t depth, int32_t cut);

// The separation circle of `diameter` steps drawn from the start corner: its
// lap starts and ends at (D, D/2), the point at the angle 0 about the centre
// (D/2, D/2), D/2 halved toward zero. As BuildCircleTable.
int BuildSeparationCircle(CircleTable& table, int32_t diameter, Text& failure);

// The job, from the start corner at `safeHeight` above the material and back
// there, risen to that height first from wherever the tool is (the surface:
// the relative origin's; without one the tool is taken to stand at that
// height); a circle follows `circle`'s lap. With countOnly it appends
// nothing and returns the number of commands the job issues, 7 x cycles + 2
// for a rectangle and (lap + 3) x cycles + 4 for a circle, and one more for
// the rise when the tool is lower (0 when the job is refused, after a box,
// as it is when that height or the depth does not fit the Z travel);
// otherwise it appends them and returns 0.
// Window thread.
int32_t GenerateSeparation(Machine& m, const SeparationJob& job, const JobValues& values,
                           const CircleTable& circle, bool countOnly);

}  // namespace korvex
