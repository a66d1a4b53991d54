#pragma once
// Reading an HPGL plotter file into the vector model.
//
// A small tolerant tokenizer, not a plotter interpreter: it keeps absolute
// pen-up and pen-down positions, one pen per polyline and an optional third
// coordinate as Z, converts them to motor steps, moves the drawing to 0,
// flips Y, and builds the pen table. Loading time is linear in the file size.

#include <string>

#include "vector/vector_model.h"

namespace korvex {

class EventLog;
class Host;
struct MachineSettings;

// Reads `model.sourcePath` as a file of `model.sourceKind` into a released
// model. Returns `model.loaded`: 1 after a complete load, 0 after a report
// (refused contents also clear the size and the source path).
int readVectorFile(VectorModel& model, const MachineSettings& settings, EventLog& log, Host& host);

// A new load of the file at `path` as `kind`: returns 1 with the new
// drawing in `model`; 0 after the reader's box, with `model` as it was (a
// refused file never throws away the drawing loaded before).
int LoadVectorFile(VectorModel& model, const std::string& path, int32_t kind,
                   const MachineSettings& settings, EventLog& log, Host& host);

}  // namespace korvex
