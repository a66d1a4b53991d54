// The Excellon subset: inch coordinates in 0.0001 inch with leading zeros
// (format 2.4), drills defined as 'T1C.0315'.

#include "drilling/drill_readers.h"
#include "drilling/drill_words.h"
#include "motion/rounding.h"
#include "settings/machine_settings.h"

namespace korvex {

namespace {

constexpr double kMmPerInch = 25.4;
constexpr double kMmPerUnit = 0.00254;  // 0.0001 inch

bool Contains(std::string_view word, std::string_view part) {
    return word.find(part) != std::string_view::npos;
}

bool IsDrill(std::string_view word) {
    return Contains(word, "C.");
}

// The tool number must be a single digit for the diameter to be found.
float DiameterMm(std::string_view word) {
    return static_cast<float>(LeadingDecimal(Columns(word, 3)) * kMmPerInch);
}

DrillHole Hole(std::string_view word, const MachineSettings& s) {
    const size_t x = word.find('X');
    const size_t y = word.find('Y', x);
    const int32_t xUnits = y == std::string_view::npos
                               ? LeadingInteger(Columns(word, x + 1, 5))
                               : LeadingInteger(word.substr(x + 1, y - x - 1));
    const int32_t yUnits =
        y == std::string_view::npos ? 0 : LeadingInteger(Columns(word, y + 1, 6));
    return {-1, RoundHalfAway(xUnits * kMmPerUnit / s.mmPerStepX),
            RoundHalfAway(yUnits * kMmPerUnit / s.mmPerStepY)};
}

// Each names the reader that does take the file.
constexpr Text kMetric{
    "EXCELON v milimetrech (METRIC) tímto tlačítkem nelze načíst, díry by se vrtaly na špatných "
    "místech; načtěte jej tlačítkem \"Excellon (plný)\"",
    "An Excellon file in millimetres (METRIC) cannot be read here: its holes would be drilled at "
    "wrong positions; load it with the button \"Excellon (full)\""};
constexpr Text kDecimalPoint{
    "EXCELON se souřadnicemi s desetinnou tečkou tímto tlačítkem nelze načíst, díry by se vrtaly "
    "na špatných místech; načtěte jej tlačítkem \"Excellon (plný)\"",
    "Excellon coordinates with a decimal point cannot be read here: the holes would be drilled "
    "at wrong positions; load the file with the button \"Excellon (full)\""};
constexpr Text kLeadingZeroDrill{
    "Vrtáky zapsané s nulou před tečkou (T1C0.0315) se tímto tlačítkem nečtou; načtěte soubor "
    "tlačítkem \"Excellon (plný)\"",
    "Drills written with a zero before the point (T1C0.0315) are not read here; load the file "
    "with the button \"Excellon (full)\""};

constexpr Text kNotAHole{
    "Slovo EXCELONu s X, které není otvor (opakování, vzor, drážka), se tímto tlačítkem nečte; "
    "načtěte soubor tlačítkem \"Excellon (plný)\"",
    "An Excellon word with an X that is no hole (a repeat, pattern or slot) is not read here; "
    "load the file with the button \"Excellon (full)\""};

const Text* Refusal(std::string_view word) {
    if (Contains(word, "METRIC") || word == "M71") return &kMetric;
    const size_t x = word.find('X');
    if (x == std::string_view::npos) return nullptr;
    if (Contains(word.substr(x), ".")) return &kDecimalPoint;
    // Read as a hole, 'R3X001000' or 'G85' would drill one where none is.
    if (word[0] == 'R' || word[0] == 'M' || word[0] == 'G' || Contains(word, "G85"))
        return &kNotAHole;
    return nullptr;
}

constexpr Text kSelectedOnly{
    "Vrtáky jen vybrané (T01) bez definice T1C.0315 se tímto tlačítkem nečtou; načtěte soubor "
    "tlačítkem \"Excellon (plný)\"",
    "Drills only selected (T01), never defined as T1C.0315, are not read here; load the file "
    "with the button \"Excellon (full)\""};

// 'T<digits>C<digit>': a drill definition in the usual form, which this
// reader does not take; 'T<digits>' alone: a selection of a drill the file
// never defines in any form this reader takes.
const Text* UnreadDrill(std::string_view word) {
    size_t i = 1;
    if (word.empty() || word[0] != 'T') return nullptr;
    while (i < word.size() && word[i] >= '0' && word[i] <= '9') ++i;
    if (i == 1) return nullptr;
    if (i == word.size()) return &kSelectedOnly;
    const bool usual =
        i + 1 < word.size() && word[i] == 'C' && word[i + 1] >= '0' && word[i + 1] <= '9';
    return usual ? &kLeadingZeroDrill : nullptr;
}

}  // namespace

const DrillFormat kExcellonFormat{
    {"Excelon soubor (*.drl)", "*.drl"},
    {"EXCELON se nenacetla", "Loading excelon failed"},
    {"EXCELON, pocet ddr, vrtaků == 0", "Count of holes,drills == 0"},
    {"pro data excelon neni pamet", "not enought memory for excelon data"},
    {"EXCELON se nenacetla", "Loading excelon failed"},
    IsDrill,
    DiameterMm,
    Hole,
    Refusal,
    UnreadDrill};

}  // namespace korvex
