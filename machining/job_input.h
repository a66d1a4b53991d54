#pragma once
// What the operator types into the surface-milling and separation dialogs:
// the cut it gives, and the refusal of values no job can be made of.

#include <cstdint>

#include "platform/edit_number.h"

namespace korvex {

class EventLog;

// A cut of `mm` in Z steps, never below one step: a cut of 0 would leave the
// number of passes undefined.
int32_t CutSteps(double mm, float mmPerStepZ);

// Refuses, with a box, a job whose feed is not above 0 (its step period would
// be undefined) or whose depth or sizes are negative (the tool would not come
// back to the start). Returns 1 when the job may be made, else 0.
int AcceptJobInput(EventLog& log, float feed, int32_t depth, int32_t sizeX, int32_t sizeY);

}  // namespace korvex
