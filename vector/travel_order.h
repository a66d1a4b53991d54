#pragma once
// The order in which a layer's objects are cut, chosen to shorten the moves
// between them: a greedy nearest-neighbour chain from the layer's first
// object.

#include <cstdint>
#include <vector>

#include "vector/vector_model.h"

namespace korvex {

class EventLog;
struct MachineSettings;

// The steps travelled between consecutive objects of `order`: the truncated
// X/Y distance from each one's last point to the next one's first point.
// Objects without points are passed over.
int64_t TravelSteps(const VectorModel& model, const std::vector<int32_t>& order);

// Reorders `order`: the first object stays; each next place goes to the
// remaining object whose first point is nearest (truncated X/Y distance) to
// the end of the one before, the earlier place winning a tie. Objects
// without points go last, in their order. Expected O(n log n): a grid over
// the start points answers each nearest query.
void OrderForTravel(const VectorModel& model, std::vector<int32_t>& order);

// The same chain by scanning every remaining object at every step, O(n^2):
// the reference OrderForTravel is checked and measured against.
void OrderForTravelByScan(const VectorModel& model, std::vector<int32_t>& order);

// Orders the layer's objects, stores its travel in mm and logs the
// reduction when there was at least 1 mm to reduce.
void OptimiseLayerTravel(const VectorModel& model, PenLayer& layer, const MachineSettings& settings,
                         EventLog& log);

}  // namespace korvex
