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
// - repeats of the last hole 'R<n>X<dx>Y<dy>';
// - M30 and M00 end the program.
// A word that would move or add holes but is not understood (patterns M25 ...
// M01 / M02, canned text M97 / M98, mirroring M70 / M80 / M90, coordinates
// with unknown codes) refuses the program, naming the word and its line.
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

enum class ExcellonRefusal { kNone, kWordTooLong, kTooManyDrills, kUnreadGeometry };

struct ExcellonProgram {
    ExcellonRefusal refusal = ExcellonRefusal::kNone;
    std::string refusedWord;  // for kUnreadGeometry, and its line from 1
    int refusedLine = 0;
    std::vector<ExcellonTool> tools;  // in the order the file first names them
    std::vector<ExcellonHole> holes;
    int slotsWithoutTool = 0;
    int unknownWords = 0;
    std::vector<std::string> unknownExamples;  // the first few different ones
    ExcellonNumberFormat format;               // as it stood at the end
    // A coordinate without a point was read with digits neither the file
    // nor the operator gave: the format's defaults were assumed.
    bool formatAssumed = false;

    int slotCount() const;
};

// Any text is taken; std::bad_alloc is the only way out when memory runs out.
// `chosen` digits, when known, read every coordinate without a point.
ExcellonProgram ParseExcellon(std::string_view text, ExcellonDigits chosen = {});

}  // namespace korvex
