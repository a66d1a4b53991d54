#pragma once
// One HPGL command as the reader sees it: the text between two ';', with
// only letters, digits and " ,.-+" kept, upper-cased and trimmed of spaces.

#include <string_view>

#include "vector/vector_model.h"

namespace korvex {

enum class HpglCode {
    Unknown,       // no known mnemonic: the file is refused
    Ignored,       // a known mnemonic the reader has no use for, or any "PT"
    SelectPen,     // SP
    PenUp,         // PU
    PenDown,       // PD
    PlotAbsolute,  // PA
};

// Searches the whole text for the known mnemonics; the one latest in the
// command table wins (SP, PU, PD, VS, LT, IN, PW, WU, DF, IW, CI, PA, ZZ, SF),
// and "PT" anywhere makes the whole command ignored.
HpglCode ClassifyHpglCommand(std::string_view text);

// An optional sign and digits after optional spaces, up to the first other
// character; 0 when there are none. Saturates at the int32 range.
int32_t ReadHpglInteger(std::string_view text);

enum class CoordinateResult { Point, NoCoordinates, BadSeparator };

// The coordinates after a two-letter mnemonic. The separator is a space when
// the text holds one, otherwise ','; X runs to the first separator, and the
// rest splits the same way into Y and Z (Z is 0 without a second separator).
// A separator that is missing or comes first is BadSeparator; an empty text
// is NoCoordinates.
CoordinateResult ParseHpglCoordinates(std::string_view text, VectorPoint& point);

}  // namespace korvex
