#pragma once
// Reading HP-GL and HP-GL/2 as plotter drivers write it (Inkscape, pstoedit,
// GNU libplot, KiCad): polylines of any number of pairs, absolute and
// relative, decimal coordinates, IP/SC user units, circles, arcs and
// rectangles as chords. Commands that cannot cut anything (fills, labels,
// line styles, page and output control) are skipped and counted. A drawing
// with geometry this reader does not draw (encoded polylines, Bézier curves)
// is refused rather than cut with pieces missing.

#include <cstdint>
#include <string>
#include <string_view>

#include "vector/vector_model.h"

namespace korvex {

struct MachineSettings;

struct GenericHpglResult {
    enum Outcome { kRead, kNothingDrawn, kPenOutOfRange, kUndrawnGeometry };
    Outcome outcome = kRead;
    int32_t pen = 0;      // the pen number refused, for kPenOutOfRange
    std::string command;  // for kUndrawnGeometry: "PE"
    std::string ignored;  // "PM 2, EP 2, LT 1": mnemonics in first-use order with counts
};

// Appends the drawing's pen-down polylines to `model.objects` in motor steps,
// not yet moved to 0 nor flipped (Z is 0). Pen 0 (put away) draws nothing.
// Throws std::bad_alloc when the points do not fit in memory.
GenericHpglResult ReadGenericHpgl(std::string_view data, VectorModel& model,
                                  const MachineSettings& settings);

}  // namespace korvex
