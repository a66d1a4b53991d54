#include "drilling/excellon_full.h"

#include <algorithm>
#include <new>

#include "drilling/drill_limits.h"
#include "drilling/drill_readers.h"
#include "drilling/excellon_program.h"
#include "log/event_log.h"
#include "motion/machine.h"
#include "motion/rounding.h"
#include "platform/file_read.h"
#include "settings/machine_settings.h"

namespace korvex {

namespace {

// Lists longer than this end in "...": a log line is no table.
constexpr size_t kListedTools = 8;

constexpr Text kNoHoles{"V souboru EXCELLON nejsou žádné otvory k vrtání",
                        "The Excellon file holds no holes to drill"};
constexpr Text kOnlySlots{
    "V souboru EXCELLON nejsou žádné otvory k vrtání, jen %d frézovaných drážek",
    "The Excellon file holds no holes to drill, only %d routed slots"};
constexpr Text kNoDrill{"Otvory v souboru EXCELLON nemají vybraný vrták (T…), nebyl načten",
                        "No drill (T…) is selected for the holes of the Excellon file; it was not "
                        "loaded"};
constexpr Text kUnreadGeometry{
    "Soubor EXCELLON se nenačetl: slovo %s na řádku %d mění polohy otvorů a tento čtenář jej "
    "nezná",
    "The Excellon file was not loaded: the word %s on line %d changes where holes go, and this "
    "reader does not know it"};
constexpr Text kFormatAssumed{
    "Soubor EXCELLON neuvádí, kolik číslic mají jeho souřadnice bez tečky před a za tečkou; "
    "předpokládá se obvyklý formát %d.%d v %s. Jiný formát lze zvolit.",
    "The Excellon file does not say how many digits its coordinates without a point have before "
    "and after the point; the usual format %d.%d in %s is assumed. Another format can be "
    "chosen."};
constexpr Text kFormatMisfit{
    "\n S formátem %d.%d zabírají otvory %.1f x %.1f mm, %s; formát %d.%d dává %.1f x %.1f mm "
    "a vejde se na stůl.",
    "\n With %d.%d the holes take %.1f x %.1f mm, %s; the format %d.%d gives %.1f x %.1f mm "
    "and fits the table."};
constexpr Text kTooSmall{"méně než 10 mm", "less than 10 mm"};
constexpr Text kTooLarge{"více než stůl", "more than the table"};
constexpr Text kLoaded{"Excellon (plný): %d vrtáků, %d otvorů; čísla bez tečky v %s, %d:%d, %s",
                       "Excellon (full): %d drills, %d holes; numbers without a point in %s, "
                       "%d:%d, %s"};
constexpr Text kInch{"palcích", "inches"};
constexpr Text kMm{"mm", "mm"};
constexpr Text kLeadingDropped{"bez úvodních nul", "leading zeros dropped"};
constexpr Text kTrailingDropped{"bez koncových nul", "trailing zeros dropped"};
constexpr Text kSlots{"Soubor obsahuje %d frézovaných drážek (%s); drážky se nevrtají",
                      "The file holds %d routed slots (%s); slots are not drilled"};
constexpr Text kNoToolSlots{"bez vrtáku: %d", "no drill: %d"};
constexpr Text kUnknown{"Přeskočeno %d neznámých slov (%s)", "%d unknown words skipped (%s)"};
constexpr Text kUndrilled{"%d otvorů před výběrem vrtáku se nevrtá",
                          "%d holes come before any drill is selected and are not drilled"};
constexpr Text kNoDiameter{"Vrtáky bez průměru v souboru: %s",
                           "Drills without a diameter in the file: %s"};
constexpr Text kTravel{"Pořadí otvorů zkrátilo přejezdy o %0.2f%% (%0.2f mm místo %0.2f mm)",
                       "The hole order shortened travel by %0.2f%% (%0.2f mm instead of %0.2f mm)"};

std::string InLanguage(const EventLog& log, Text text) {
    return Caption(log.language(), text);
}

int Clear(DrillSet& set) {
    DrillSet empty;
    empty.drillPath = set.drillPath;
    set = std::move(empty);
    return 0;
}

template <typename... Args>
int Refuse(EventLog& log, DrillSet& set, Text text, Args... args) {
    SayFormatted(log, text, true, true, args...);
    return Clear(set);
}

std::string Joined(const std::vector<std::string>& parts) {
    std::string all;
    for (size_t i = 0; i < parts.size() && i < kListedTools; ++i) all += (i ? ", " : "") + parts[i];
    if (parts.size() > kListedTools) all += ", ...";
    return all;
}

void ReportSlots(EventLog& log, const ExcellonProgram& program) {
    std::vector<std::string> tools;
    for (const ExcellonTool& t : program.tools)
        if (t.slots > 0)
            tools.push_back(Format("T%d %.2f mm: %d", t.number, t.diameterMm, t.slots));
    if (program.slotsWithoutTool > 0)
        tools.push_back(Format(InLanguage(log, kNoToolSlots).c_str(), program.slotsWithoutTool));
    SayFormatted(log, kSlots, true, true, program.slotCount(), Joined(tools).c_str());
}

// The lines of a successful load, after the drill set is complete.
void ReportLoad(EventLog& log, const ExcellonProgram& program, const DrillSet& set,
                const HoleTravel& travel) {
    const ExcellonNumberFormat& f = program.format;
    SayFormatted(log, kLoaded, true, false, set.toolCount, set.holeCount,
                 InLanguage(log, f.metric ? kMm : kInch).c_str(), f.integers(), f.decimals(),
                 InLanguage(log, f.dropped == ExcellonZeros::kLeadingDropped ? kLeadingDropped
                                                                             : kTrailingDropped)
                     .c_str());
    std::vector<std::string> withoutDiameter;
    for (const ExcellonTool& t : program.tools)
        if (!t.diameterGiven) withoutDiameter.push_back(Format("T%d", t.number));
    if (!withoutDiameter.empty())
        SayFormatted(log, kNoDiameter, true, false, Joined(withoutDiameter).c_str());
    const int undrilled = static_cast<int>(std::count_if(
        set.holes.begin(), set.holes.end(), [](const DrillHole& h) { return h.tool < 0; }));
    if (undrilled > 0) SayFormatted(log, kUndrilled, true, false, undrilled);
    if (program.unknownWords > 0)
        SayFormatted(log, kUnknown, true, false, program.unknownWords,
                     Joined(program.unknownExamples).c_str());
    if (program.slotCount() > 0) ReportSlots(log, program);
    // As the vector jobs do: only when there was at least 1 mm to shorten.
    if (travel.fileOrderMm >= 1 && travel.orderedMm != travel.fileOrderMm)
        SayFormatted(log, kTravel, true, false, 100 - travel.orderedMm / travel.fileOrderMm * 100,
                     travel.orderedMm, travel.fileOrderMm);
}

// The formats drill files commonly use for numbers without a point.
constexpr ExcellonDigits kCommonFormats[] = {{2, 4}, {2, 3}, {3, 3}, {2, 5},
                                             {3, 2}, {4, 2}, {4, 3}};
// A hole field whose larger side is below this is most likely misread.
constexpr double kSmallestLikelyFieldMm = 10;

struct FieldMm {
    double width = 0, height = 0;
};
FieldMm FieldOf(const ExcellonProgram& program) {
    if (program.holes.empty()) return {};
    auto [minX, maxX] = std::minmax_element(
        program.holes.begin(), program.holes.end(),
        [](const ExcellonHole& a, const ExcellonHole& b) { return a.xMm < b.xMm; });
    auto [minY, maxY] = std::minmax_element(
        program.holes.begin(), program.holes.end(),
        [](const ExcellonHole& a, const ExcellonHole& b) { return a.yMm < b.yMm; });
    return {maxX->xMm - minX->xMm, maxY->yMm - minY->yMm};
}

// Why a field is an unlikely reading, or nullptr when it is a likely one.
const Text* Misfit(FieldMm field, const MachineSettings& s) {
    if (std::max(field.width, field.height) < kSmallestLikelyFieldMm) return &kTooSmall;
    if (field.width > s.travelX || field.height > s.travelY) return &kTooLarge;
    return nullptr;
}

// The box about digits the file left open: which were assumed, and when
// they give an unlikely field while another common format fits the table,
// that one.
void ReportAssumedFormat(EventLog& log, std::string_view text, const ExcellonProgram& program,
                         const MachineSettings& s) {
    const ExcellonNumberFormat& f = program.format;
    std::string message = Format(InLanguage(log, kFormatAssumed).c_str(), f.integers(),
                                 f.decimals(), InLanguage(log, f.metric ? kMm : kInch).c_str());
    const FieldMm field = FieldOf(program);
    if (const Text* misfit = Misfit(field, s)) {
        for (const ExcellonDigits& other : kCommonFormats) {
            if (other == ExcellonDigits{f.integers(), f.decimals()}) continue;
            const FieldMm alternative = FieldOf(ParseExcellon(text, other));
            if (Misfit(alternative, s)) continue;
            message +=
                Format(InLanguage(log, kFormatMisfit).c_str(), f.integers(), f.decimals(),
                       field.width, field.height, InLanguage(log, *misfit).c_str(), other.integers,
                       other.decimals, alternative.width, alternative.height);
            break;
        }
    }
    log.line(message, true, true);
}

// The drills and the holes in steps, before normalisation.
void Fill(const ExcellonProgram& program, const MachineSettings& s, DrillSet& set) {
    set.toolCount = static_cast<int32_t>(program.tools.size());
    for (size_t t = 0; t < program.tools.size(); ++t)
        set.tools[t].diameter = static_cast<float>(program.tools[t].diameterMm);
    set.holeCount = static_cast<int32_t>(program.holes.size());
    set.holes.reserve(program.holes.size());
    for (const ExcellonHole& h : program.holes)
        set.holes.push_back(
            {h.tool, MmToSteps(h.xMm, s.mmPerStepX), MmToSteps(h.yMm, s.mmPerStepY)});
}

}  // namespace

int LoadExcellonFullFile(Machine& m, DrillSet& set, const std::string& path,
                         ExcellonFullReport* report, ExcellonDigits chosen) {
    set = DrillSet{};
    set.drillPath = path;
    const MachineSettings& s = m.settings;
    try {
        std::optional<std::string> text = ReadRegularFile(path);
        if (!text) return Refuse(m.log, set, kExcellonFormat.openFailed);
        const ExcellonProgram program = ParseExcellon(*text, chosen);
        if (program.refusal == ExcellonRefusal::kWordTooLong)
            return Refuse(m.log, set, kDrillWordTooLong);
        if (program.refusal == ExcellonRefusal::kTooManyDrills)
            return Refuse(m.log, set, kDrillTooManyDrills);
        if (program.refusal == ExcellonRefusal::kUnreadGeometry)
            return Refuse(m.log, set, kUnreadGeometry, program.refusedWord.c_str(),
                          program.refusedLine);
        if (program.holes.empty())
            return program.slotCount() > 0 ? Refuse(m.log, set, kOnlySlots, program.slotCount())
                                           : Refuse(m.log, set, kNoHoles);
        if (std::none_of(program.holes.begin(), program.holes.end(),
                         [](const ExcellonHole& h) { return h.tool >= 0; }))
            return Refuse(m.log, set, kNoDrill);
        Fill(program, s, set);
        if (!normaliseDrillSet(m.log, set)) return Clear(set);  // reported there
        const HoleTravel travel = OrderHolesForTravel(set, s.mmPerStepX, s.mmPerStepY);
        ReportLoad(m.log, program, set, travel);
        if (program.formatAssumed) ReportAssumedFormat(m.log, *text, program, s);
        if (report) *report = {program.slotCount(), program.unknownWords, travel};
        return 1;
    } catch (const std::bad_alloc&) {
        return Refuse(m.log, set, kExcellonFormat.noMemory);
    }
}

int readExcellonFullFile(Machine& m, Host& host, DrillSet& set, ExcellonDigits chosen) {
    const FileChoice choice =
        host.openFile({kExcellonFormat.filter, kExcellonFullFilter}, kDrillFilterIndex);
    if (!choice.chosen) {
        set.toolCount = 0;
        return kDrillReadCancelled;
    }
    return LoadExcellonFullFile(m, set, choice.path, nullptr, chosen) ? kDrillReadLoaded
                                                                      : kDrillReadFailed;
}

}  // namespace korvex
