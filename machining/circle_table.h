#pragma once
// A circle as a chain of single-step moves: the integer points of the circle,
// found by turning the angle finely enough that every move goes to a
// neighbouring step position.

#include <cstdint>
#include <span>
#include <vector>

#include "log/text.h"

namespace korvex {

struct StepPoint {
    int32_t x = 0, y = 0, z = 0;
};

// One move to a neighbouring point: dx, dy in {-1, 0, 1}, not both 0; dz 0.
struct CircleMove {
    int32_t dx = 0, dy = 0, dz = 0;
    bool operator==(const CircleMove&) const = default;
};

struct CircleTable {
    std::vector<CircleMove> moves;
    // The inclusive range of moves from the start point to the end point.
    int32_t first = -1, last = -1;

    int32_t count() const { return static_cast<int32_t>(moves.size()); }
    // The moves from first to last; none while the table is not built.
    std::span<const CircleMove> lap() const;
};

// Replaces `table` with the circle about `centre` through `start` and `end`,
// which must lie at the same whole distance from it; the turn runs
// counterclockwise (from +X towards +Y) from the angle 0. When start and end
// are the same point the range is the whole lap. Returns 1; on failure 0,
// with the reason in `failure` for the caller to report.
int BuildCircleTable(CircleTable& table, StepPoint start, StepPoint centre, StepPoint end,
                     Text& failure);

}  // namespace korvex
