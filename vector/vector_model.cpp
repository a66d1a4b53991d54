#include "vector/vector_model.h"

#include <algorithm>
#include <new>
#include <stdexcept>

#include "settings/machine_settings.h"

namespace korvex {

void releaseVectorModel(VectorModel& model, const MachineSettings& settings) {
    model.objects = {};
    model.objectCapacity = 0;
    for (PenLayer& layer : model.pens) {
        layer = PenLayer{};
        layer.passDepth = settings.cutDepth;
        layer.feed = settings.cuttingSpeed;
    }
    model.penCount = 0;
    model.cutOrder = CutOrder{};
}

namespace {
// Room for `wanted` elements, doubling at least, so that loading stays linear
// however the documented chunks are sized.
template <typename T>
bool Reserve(std::vector<T>& v, size_t wanted) {
    if (v.capacity() >= wanted) return true;
    try {
        v.reserve(std::max(wanted, 2 * v.capacity()));
    } catch (const std::bad_alloc&) {
        return false;
    } catch (const std::length_error&) {
        return false;
    }
    return true;
}
}  // namespace

int growObjects(VectorModel& model, int n) {
    if (n < 1) return -1;
    // One record more than the count: room for the object the next pen-up starts.
    if (!Reserve(model.objects, static_cast<size_t>(model.objectCapacity) + n + 1)) return 1;
    model.objectCapacity += n;
    return 0;
}

int growPoints(VectorModel& model, int objectIndex, int n) {
    if (n < 1) return 0;
    VectorObject& object = model.objects[objectIndex];
    if (!Reserve(object.points, static_cast<size_t>(object.pointCapacity) + n)) return 1;
    object.pointCapacity += n;
    return 0;
}

double StepLengthMm(const MachineSettings& settings) {
    const double x = settings.mmPerStepX, y = settings.mmPerStepY;
    if (x == 0) return y;
    if (y == 0) return x;
    return std::min(x, y);
}

}  // namespace korvex
