#pragma once
// An Excellon program as PCB tools write it, read without the machine: its
// tools, holes and routed slots in mm and in file order.
//
// Understood:
// - header: M48, INCH / METRIC with LZ / TZ and a digit pattern, FMAT, VER,
//   ICI, the CAD programs' format comments, M71 / M72, '%' / M95; any of
//   them may be missing (see ExcellonNumberFormat for the defaults);
// - tools 'T<n>C<d>' with any of F, S, B, H, Z, in the header or the body.
//   A definition selects its tool, 'T<n>' alone selects one, and 'T0' that
//   was never defined selects none;
// - coordinates with or without a point, negative, modal X and Y, G90 /
//   G91, G93 zero set;
// - routed slots, G85 and the route mode (G00 ... M15 ... G01 / G02 / G03
//   ... M16 / M17, G05 back to drilling): counted per tool, never holes;
// - M30 and M00 end the program.
// Any other word is skipped and counted.

#include <string>
#include <string_view>
#include <vector>

#include "drilling/excellon_number_format.h"

namespace korvex {

struct ExcellonTool {
    int number = 0;  // T<number>
    double diameterMm = 0;
    bool diameterGiven = false;
    int slots = 0;
};

struct ExcellonHole {
    int tool = -1;  // index into the tools; -1 while no tool is selected
    double xMm = 0, yMm = 0;
};

enum class ExcellonRefusal { kNone, kWordTooLong, kTooManyDrills };

struct ExcellonProgram {
    ExcellonRefusal refusal = ExcellonRefusal::kNone;
    std::vector<ExcellonTool> tools;  // in the order the file first names them
    std::vector<ExcellonHole> holes;
    int slotsWithoutTool = 0;
    int unknownWords = 0;
    std::vector<std::string> unknownExamples;  // the first few different ones
    ExcellonNumberFormat format;               // as it stood at the end

    int slotCount() const;
};

// Any text is taken; std::bad_alloc is the only way out when memory runs out.
ExcellonProgram ParseExcellon(std::string_view text);

}  // namespace korvex
