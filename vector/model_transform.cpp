#include "vector/model_transform.h"

#include <algorithm>
#include <utility>

#include "log/event_log.h"
#include "vector/model_geometry.h"

namespace korvex {

namespace {

int32_t Scaled(int32_t v, int percentage) {
    return std::clamp<int64_t>(int64_t{v} * percentage / 100, -kCoordinateLimit, kCoordinateLimit);
}

}  // namespace

int transformVectorModel(VectorModel& model, int mode, int percentage, EventLog& log) {
    if (mode == kResize) {
        for (VectorObject& object : model.objects)
            for (VectorPoint& p : object.points)
                p.x = Scaled(p.x, percentage), p.y = Scaled(p.y, percentage);
    }
    const ModelExtent before = MeasureExtent(model);
    int32_t maxX = before.maxX, maxY = before.maxY;
    const int32_t w = model.width, h = model.height;
    for (VectorObject& object : model.objects) {
        for (VectorPoint& p : object.points) {
            switch (mode) {
                case kMirrorY:
                    p.y = h - p.y;
                    break;
                case kMirrorX:
                    p.x = w - p.x;
                    break;
                case kTurnRight:
                    p = {h - p.y, p.x, p.z};
                    break;
                case kTurnLeft:
                    p = {p.y, w - p.x, p.z};
                    break;
                default:
                    break;
            }
        }
    }
    if (mode == kTurnRight || mode == kTurnLeft) std::swap(maxX, maxY);
    const ModelExtent moved = MeasureExtent(model);
    ShiftModel(model, -moved.minX, -moved.minY, 0);
    const ModelExtent after = MeasureExtent(model);
    model.width = after.maxX;
    model.height = after.maxY;
    model.displayWidth = maxX;
    model.displayHeight = maxY;
    if (after.maxX == maxX && after.maxY == maxY) return 1;
    log.say({"nastal problem s rotací max<>max2", "rotation failed max<>max2"}, true, true);
    return 0;
}

}  // namespace korvex
