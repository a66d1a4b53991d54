#pragma once
// Arcs as chords: as few points as keep every chord within a tolerance of
// the true curve.

#include <cstdint>

namespace korvex {

// The number of chords for an arc of `radius` swept through `sweepRad`
// (either sign) whose chords stray at most `tolerance` from the curve; at
// least 1, and at least 4 for a full turn. Degenerate or non-finite input
// gives the most chords a turn may have, never more.
int32_t ArcChordCount(double radius, double sweepRad, double tolerance);

}  // namespace korvex
