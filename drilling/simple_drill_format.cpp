// The simple drill list: 'PV0.8' defines a drill of 0.8 mm, and a hole is
// 'X' with 7 characters of X in mm, one separator and 7 characters of Y.

#include "drilling/drill_readers.h"
#include "drilling/drill_words.h"
#include "motion/rounding.h"
#include "settings/machine_settings.h"

namespace korvex {

namespace {

constexpr size_t kColumnWidth = 7;

bool IsDrill(std::string_view word) {
    return word.find("PV") != std::string_view::npos;
}

float DiameterMm(std::string_view word) {
    return static_cast<float>(LeadingDecimal(Columns(word, 2)));
}

DrillHole Hole(std::string_view word, const MachineSettings& s) {
    const size_t x = word.find('X');
    const double xMm = LeadingDecimal(Columns(word, x + 1, kColumnWidth));
    const double yMm = LeadingDecimal(Columns(word, x + 2 + kColumnWidth, kColumnWidth));
    return {-1, MmToSteps(xMm, s.mmPerStepX), MmToSteps(yMm, s.mmPerStepY)};
}

const Text* NoRefusal(std::string_view) {
    return nullptr;
}

}  // namespace

const DrillFormat kSimpleDrillFormat{
    {"Excelon soubor (*.vrt)", "*.vrt"},
    {"Prosta data se nenacetla", "Loading of Simple drills failed"},
    {"Data na vrtani, pocet der, vrtaku == 0", "Simple drills,count of holes,drills == 0"},
    {"pro data vrtani neni pamet", "not enought memory for simple data data"},
    {"Data na vrtani se nenacetla", "Loading of simple data failed"},
    IsDrill,
    DiameterMm,
    Hole,
    NoRefusal,
    nullptr};

}  // namespace korvex
