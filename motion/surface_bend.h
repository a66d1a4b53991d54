#pragma once
// Following a probed surface (HeightMap) in a job's moves.
//
// A feed move (not ramped) cuts: each of its points goes as much higher or
// lower as the surface there stands above or below the surface at the
// relative origin, and a move longer than half a grid cell's diagonal is
// cut into equal pieces no longer than that, so the tool follows the
// surface between the grid's points. A ramped move travels above the
// material: it stays as it is, only raised where the surface stands higher,
// so that it never ends below the surface. How many pieces a move becomes
// depends on its X and Y steps only, so a job counted first queues exactly
// what it counted. Window thread.

#include <cstdint>

#include "motion/height_map.h"
#include "motion/machine.h"

namespace korvex {

class SurfaceBend {
  public:
    SurfaceBend(const HeightMap& map, const MachineSettings& s);

    // The pieces a move of dx, dy steps becomes: 1 for a ramped one.
    int64_t pieces(int64_t dx, int64_t dy, bool feed) const;
    // Z steps to raise a point X, Y steps from the relative origin (negative:
    // lower it). A ramped move is only ever raised.
    int64_t raise(int64_t x, int64_t y, bool feed) const;
    // The most any point is raised and lowered, Z steps (0 or more): the
    // map's highest and lowest heights.
    struct Reach {
        int64_t raised = 0, lowered = 0;
    };
    Reach reach() const;

    // Steps from the start after piece k of n of a move of `d` steps.
    static int64_t Share(int64_t d, int64_t k, int64_t n);

  private:
    const HeightMap& map_;
    double mmX_, mmY_, mmZ_, longestMm_;
};

// Whether the active surface map (if any) lets a job run whose cutting
// moves reach X x0..x1 and Y y0..y1, steps from the relative origin: the map
// must have been probed for this relative origin and cover that rectangle.
// False after a box saying which; true without a map.
bool SurfaceMapFits(Machine& m, int64_t x0, int64_t y0, int64_t x1, int64_t y1);

}  // namespace korvex
