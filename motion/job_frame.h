#pragma once
// Where a job's Z levels are measured from: the surface of the material.
//
// Generators describe Z as relative moves from safe height above the
// surface down into it and up again. A job first rises to its safe height
// from wherever the tool is, and each of its Z moves is then aimed at its
// level measured from the surface, from the planned position: a move the
// soft limits shortened (a lift near the top of Z) can never make a later
// cut deeper than asked. Window thread.

#include <cstdint>

#include "motion/machine.h"

namespace korvex {

class JobFrame {
  public:
    // The surface is the relative origin's Z when one is set; without one the
    // tool is taken to stand at safe height above it. The job's level starts
    // at safe height.
    JobFrame(const Machine& m, int32_t safeSteps);

    // True when safe height above the surface and `deepest` steps below it
    // both lie within the Z travel, or the soft limits are off; otherwise
    // false, after a box saying which does not fit. A height map may raise
    // the surface by up to `raised` steps and lower it by `lowered`.
    bool fits(Machine& m, int64_t deepest, int64_t raised = 0, int64_t lowered = 0) const;

    // The job's first move: up to safe height above the surface from where
    // the tool is planned (negative Z steps); 0 when it is there or higher.
    int32_t rise(const Machine& m) const;

    // A Z move of the job, `dz` from its last level, as the move from the
    // planned position to the new level, `raise` steps higher (a surface
    // that stands higher there).
    int32_t aim(const Machine& m, int64_t dz, int64_t raise = 0);

  private:
    int32_t safe_;
    int64_t surface_;
    int64_t level_;  // below the surface, steps
};

// Sets the relative origin where the tool is planned, the tool taken to
// stand at safe height over the material: the surface lies that far below.
void SetOriginOverMaterial(Machine& m);

}  // namespace korvex
