#pragma once
// What the operator types into the surface-milling and separation dialogs:
// reading an edit's number, the cut it gives, and the refusal of values no
// job can be made of.

#include <cstdint>
#include <string>

namespace korvex {

class EventLog;

// The number at the start of an edit's text, as the dialogs read it: the
// first 20 characters, leading blanks skipped, the text after the number
// ignored ("12.5 mm" reads 12.5). Anything unreadable or not finite reads 0.
double ReadEditNumber(const std::string& text);

// A cut of `mm` in Z steps, never below one step: a cut of 0 would leave the
// number of passes undefined.
int32_t CutSteps(double mm, float mmPerStepZ);

// Refuses, with a box, a job whose feed is not above 0 (its step period would
// be undefined) or whose depth or sizes are negative (the tool would not come
// back to the start). Returns 1 when the job may be made, else 0.
int AcceptJobInput(EventLog& log, float feed, int32_t depth, int32_t sizeX, int32_t sizeY);

}  // namespace korvex
