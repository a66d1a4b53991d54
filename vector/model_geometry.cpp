#include "vector/model_geometry.h"

#include <algorithm>
#include <limits>

namespace korvex {

ModelExtent MeasureExtent(const VectorModel& model) {
    ModelExtent e;
    bool first = true;
    for (const VectorObject& object : model.objects) {
        for (const VectorPoint& p : object.points) {
            if (first) {
                e.minX = e.maxX = p.x;
                e.minY = e.maxY = p.y;
                e.minZ = e.maxZ = p.z;
                first = false;
            }
            e.minX = std::min(e.minX, p.x), e.maxX = std::max(e.maxX, p.x);
            e.minY = std::min(e.minY, p.y), e.maxY = std::max(e.maxY, p.y);
            e.minZ = std::min(e.minZ, p.z), e.maxZ = std::max(e.maxZ, p.z);
        }
        e.points += object.pointCount();
    }
    return e;
}

void ShiftModel(VectorModel& model, int32_t dx, int32_t dy, int32_t dz) {
    for (VectorObject& object : model.objects)
        for (VectorPoint& p : object.points) p.x += dx, p.y += dy, p.z += dz;
}

int32_t PathLength(const VectorObject& object) {
    double sum = 0;
    for (size_t i = 1; i < object.points.size(); ++i) {
        const VectorPoint &a = object.points[i - 1], &b = object.points[i];
        const double dx = double(b.x) - a.x, dy = double(b.y) - a.y, dz = double(b.z) - a.z;
        sum += std::trunc(std::sqrt(dx * dx + dy * dy + dz * dz));
    }
    return static_cast<int32_t>(std::min(sum, double(std::numeric_limits<int32_t>::max())));
}

int PenIndex(const VectorModel& model, int32_t pen) {
    for (int i = 0; i < model.penCount; ++i)
        if (model.pens[i].pen == pen) return i;
    return -1;
}

}  // namespace korvex
