#pragma once
// Measures and moves shared by the reader, the transforms, the job dialog,
// the generators and the previews.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "vector/vector_model.h"

namespace korvex {

// Every model coordinate stays within +-kCoordinateLimit, so the difference of
// any two of them, and any size, fits int32.
inline constexpr int32_t kCoordinateLimit = (1 << 30) - 1;

inline int32_t ClampToInt32(int64_t v) {
    return static_cast<int32_t>(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

// The smallest and largest coordinates over every point of every object;
// objects without points take no part. All 0 when there are no points.
struct ModelExtent {
    int32_t minX = 0, minY = 0, minZ = 0;
    int32_t maxX = 0, maxY = 0, maxZ = 0;
    int64_t points = 0;
};
ModelExtent MeasureExtent(const VectorModel& model);

// Adds (dx, dy, dz) to every point.
void ShiftModel(VectorModel& model, int32_t dx, int32_t dy, int32_t dz);

// The X/Y distance in steps, truncated.
inline int64_t PlanarDistance(const VectorPoint& a, const VectorPoint& b) {
    const double dx = double(b.x) - a.x, dy = double(b.y) - a.y;
    return static_cast<int64_t>(std::sqrt(dx * dx + dy * dy));
}

// The sum of the truncated 3D distances between consecutive points, at most
// the int32 range.
int32_t PathLength(const VectorObject& object);

// The pen-table index of `pen`, -1 when the table does not hold it.
int PenIndex(const VectorModel& model, int32_t pen);

}  // namespace korvex
