#pragma once
// The order in which the drilling job visits the holes of one drill, chosen
// to shorten the travel between them: a nearest-neighbour chain that starts
// at the field origin, where the job starts and ends. Of holes equally near,
// the one earlier in the file comes first. Distances are in mm, so X and Y
// steps of different sizes weigh what they measure.

#include <vector>

#include "drilling/drill_set.h"

namespace korvex {

// The job's travel in mm over `holes` visited in `order` (indexes into
// `holes`): from the origin to each hole in turn and back to the origin.
double HoleTravelMm(const std::vector<DrillHole>& holes, const std::vector<int>& order,
                    double mmPerStepX, double mmPerStepY);

// The chain as indexes into `holes`. Expected O(n log n): a k-d tree keeps
// the holes not yet visited.
std::vector<int> NearestHoleChain(const std::vector<DrillHole>& holes, double mmPerStepX,
                                  double mmPerStepY);

// The same chain by looking at every remaining hole at every step, O(n^2):
// what NearestHoleChain is checked and measured against.
std::vector<int> NearestHoleChainByScan(const std::vector<DrillHole>& holes, double mmPerStepX,
                                        double mmPerStepY);

struct HoleTravel {
    double fileOrderMm = 0;
    double orderedMm = 0;
};

// Puts the holes of every drill of `set` in chain order, each drill's holes
// taking the places in `holes` that they held; a drill whose chain is not
// shorter than its file order keeps that. Holes of no drill stay. Returns
// the travel of all drills together, before and after.
HoleTravel OrderHolesForTravel(DrillSet& set, double mmPerStepX, double mmPerStepY);

}  // namespace korvex
