#pragma once
// Turning, mirroring and resizing the loaded drawing in place.

#include "vector/vector_model.h"

namespace korvex {

class EventLog;

enum TransformMode {
    kResize = 0,     // by `percentage`, truncated toward zero
    kMirrorY = 1,    // "Horizont"
    kMirrorX = 2,    // "Vertical"
    kTurnRight = 3,  // clockwise as the preview shows it
    kTurnLeft = 4,   // counter-clockwise
};

// Applies `mode` to every point, moves the drawing back to 0 and sets both
// copies of the size. Lengths, pen totals, orders and layer settings stay as
// they are. Returns 0, after a report, when the new size does not match the
// drawing's extent (the points stay transformed), else 1.
int transformVectorModel(VectorModel& model, int mode, int percentage, EventLog& log);

}  // namespace korvex
