#pragma once
// How an Excellon file writes its numbers: the unit, how many digits stand
// before and after the point it leaves out, and which zeros it drops. Files
// say so in a unit statement ('INCH,LZ', 'METRIC,TZ,000.000'), in M71 / M72,
// or in the format comments CAD programs add: ';FILE_FORMAT=2:5' (Altium,
// Protel), '; FORMAT={3:3/ absolute / metric / suppress trailing zeros}'
// (KiCad), '; Format : 3.3 / Absolute / MM / Leading' (Mentor).
//
// 'LZ' means the leading zeros are kept, so the trailing ones are dropped
// and the digits count from the left; 'TZ' keeps the trailing zeros and
// drops the leading ones, so the digits count from the right.

#include <optional>
#include <string_view>

namespace korvex {

enum class ExcellonZeros { kLeadingDropped, kTrailingDropped };

// Digits before and after the point of numbers written without one; 0 and 0
// when not known.
struct ExcellonDigits {
    int integers = 0, decimals = 0;
    bool known() const { return integers > 0; }
    bool operator==(const ExcellonDigits&) const = default;
};

// "2.4" or "3:3" (1 to 9 digits before the point, 0 to 9 after); nothing
// for any other text.
std::optional<ExcellonDigits> ParseExcellonDigits(std::string_view text);

inline double MmPerUnit(bool metric) {
    return metric ? 1 : 25.4;
}

struct ExcellonNumberFormat {
    bool metric = false;
    bool unitNamed = false;  // whether the file has named its unit yet
    // Digits before and after the point; 0 until the file gives them, and
    // then the common 2.4 in inches and 3.3 in millimetres apply.
    int integerDigits = 0;
    int decimalDigits = 0;
    // The operator's choice, which beats whatever the file says.
    ExcellonDigits chosen;
    // Without a word on it, leading zeros are taken as dropped: Eagle, gEDA
    // and most others write them so, and a number with all its digits reads
    // the same either way.
    ExcellonZeros dropped = ExcellonZeros::kLeadingDropped;

    int integers() const;
    int decimals() const;
    // Whether the digits come from the file or the operator, not a default.
    bool digitsKnown() const { return chosen.known() || integerDigits > 0; }

    // A coordinate as written after its letter, in mm: with a point as it
    // stands ('-1.25'), without one by its digits and the zeros dropped
    // ('012500'). Nothing when it is not a number.
    std::optional<double> coordinateMm(std::string_view number) const;
    // A tool's diameter, always a plain decimal in the file's unit, in mm.
    std::optional<double> decimalMm(std::string_view number) const;
};

// A unit statement: 'INCH' or 'METRIC' with any of ',LZ', ',TZ' and a
// digit pattern such as ',000.000'. False (and nothing changed) for any
// other word.
bool ApplyUnitStatement(std::string_view word, ExcellonNumberFormat& format);

// M71 and M72.
void SetUnit(ExcellonNumberFormat& format, bool metric);

// What a comment tells about the format, if anything (most tell nothing).
void ApplyFormatComment(std::string_view comment, ExcellonNumberFormat& format);

}  // namespace korvex
