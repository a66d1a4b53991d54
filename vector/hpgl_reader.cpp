#include "vector/hpgl_reader.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <limits>
#include <memory>
#include <new>
#include <unordered_map>

#include "log/event_log.h"
#include "motion/rounding.h"
#include "platform/file_read.h"
#include "platform/host.h"
#include "settings/machine_settings.h"
#include "vector/hpgl_command.h"
#include "vector/hpgl_generic_reader.h"
#include "vector/model_geometry.h"
#include "vector/plotter_units.h"

namespace korvex {

namespace {

constexpr size_t kMaxCommand = 259;  // kept characters of one command
constexpr int kObjectChunk = 20;
constexpr int kPointChunk = 50;

// What a kept byte becomes (0: dropped). Alphanumerics of the "C" locale are
// upper-cased; " ,.-+" stay.
struct KeptBytes {
    std::array<char, 256> map{};
    constexpr KeptBytes() {
        for (int c = '0'; c <= '9'; ++c) map[c] = static_cast<char>(c);
        for (int c = 'A'; c <= 'Z'; ++c) map[c] = map[c + ('a' - 'A')] = static_cast<char>(c);
        for (char c : {' ', ',', '.', '-', '+'}) map[static_cast<unsigned char>(c)] = c;
    }
};
constexpr KeptBytes kKept;

std::string_view TrimSpaces(std::string_view text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

const Text kUnknownCommand{
    "Soubor HPGL se nenacetl, kontaktujte prosim autora pro vyreseni problemu\n Neznamy prikaz ve "
    "formatu dat",
    "Loading file of HPGL failed, please contact autor to solve this problem\n Unknown command in "
    "HPGL"};
const Text kBadSeparator{
    "Soubor HPGL se nenacetl, neznámý příkaz %s, kontaktujte prosim autora pro vyreseni "
    "problemu\n Chyba ve formátu HPGL",
    "Loading file of HPGL failed, unknown command %s, please contact autor to solve this "
    "problem\n Wrong command HPGL"};
const Text kSeparatorDetail{" chybný oddělovač != {,' '} ", " wrong separator != {,' '} "};
const Text kUndrawnGeometry{
    "Soubor HPGL se nenacetl, kresba používá příkaz %s (kódované lomené čáry nebo Bézierovy "
    "křivky), který se nečte: část kresby by se nevyfrézovala",
    "Loading file of HPGL failed, the drawing uses %s (encoded polylines or Bezier curves), "
    "which is not read: part of the drawing would not be cut"};
const Text kGenericReads{"\n Soubor přečte typ \"HPGL obecný\", zvolte jej",
                         "\n The kind \"HPGL generic\" reads this file, choose it"};
const Text kLongCommand{"Soubor HPGL se nenacetl, příkaz je delší než 259 znaků",
                        "Loading file of HPGL failed, a command is longer than 259 characters"};
const Text kNothingDrawn{"Soubor HPGL se nenacetl, v souboru není nic kresleno spuštěným perem",
                         "Loading file of HPGL failed, the file draws nothing with the pen down"};
const Text kPenOutOfRange{"Soubor HPGL se nenacetl, pero %s je mimo rozsah 0 až 255",
                          "Loading file of HPGL failed, pen %s is outside 0 to 255"};
const Text kIgnoredCommands{"Přeskočené příkazy HPGL: %s", "HPGL commands ignored: %s"};
const Text kSeveralPairs{
    "Soubor obsahuje PD nebo PA s více dvojicemi souřadnic, čte se z nich jen první bod. Lépe "
    "jej otevřete jako \"Vektorový soubor HPGL obecný (*.plt;*.hpgl)\"",
    "The file has PD or PA commands with several coordinate pairs, only their first point is "
    "read. Open it as \"Vector file HPGL generic (*.plt;*.hpgl)\" instead"};
const Text kTooManyPens{"Soubor HPGL se nenacetl, soubor používá více než 255 per",
                        "Loading file of HPGL failed, the file uses more than 255 pens"};
const Text kNoObjectMemory{"Nedostatek pameti O(%d) na HPGL kod",
                           "Not enought memory for reading hpgl O(%d)"};
const Text kNoPointMemory{"Nedostatek pameti S(%d) na HPGL kod",
                          "Not enought memory for reading hpgl code (%d)"};
const Text kNoScratchMemory{"Nedostatek pameti pro pomocnou strukturu(%d) na HPGL kod",
                            "Not enought memory for reading temp hpgl code (%d)"};

void ConvertToSteps(VectorModel& model, const MachineSettings& s) {
    const double unitsPerMm = PlotterUnitsPerMm(s);
    for (VectorObject& object : model.objects) {
        for (VectorPoint& p : object.points) {
            p.x = ToSteps(p.x / unitsPerMm / s.mmPerStepX);
            p.y = ToSteps(p.y / unitsPerMm / s.mmPerStepY);
            p.z = ToSteps(p.z / unitsPerMm / s.mmPerStepZ);
        }
    }
}

VectorPoint Difference(const VectorPoint& a, const VectorPoint& b) {
    return {ClampToInt32(int64_t{a.x} - b.x), ClampToInt32(int64_t{a.y} - b.y),
            ClampToInt32(int64_t{a.z} - b.z)};
}

// Whether the generic kind reads the file at `path` into a drawing.
bool GenericKindReads(const std::string& path, const MachineSettings& settings) {
    try {
        const std::optional<std::string> data = ReadRegularFile(path);
        VectorModel scratch;
        return data &&
               ReadGenericHpgl(*data, scratch, settings).outcome == GenericHpglResult::kRead;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

// One load: the scan of the file into objects of raw plotter units, and the
// steps that turn them into the model.
class HpglLoad {
  public:
    HpglLoad(VectorModel& model, const MachineSettings& settings, EventLog& log, Host& host)
        : model_(model), settings_(settings), log_(log), host_(host) {}

    bool run();

  private:
    bool scan(std::FILE* file);
    bool scanGeneric(std::FILE* file);
    // A PD or PA of more than one pair, which only the generic kind reads whole.
    void noteSeveralPairs(std::string_view text);
    void warnSeveralPairs();
    bool command(std::string_view text);
    bool startObject();
    bool ensureObjectRoom();
    bool addPoint(std::string_view coordinates);
    bool applyArtCamRule();
    // Moves the smallest coordinates to 0; `extent` is measured afterwards.
    bool normalise(ModelExtent& extent);
    bool buildPenTable();
    void measure();
    bool fillObjectOrders();

    // The one report for refused contents; `detail` fills the text's %s.
    bool refuse(Text text, const char* detail = nullptr);
    bool outOfMemory(Text text, int code) {
        SayFormatted(log_, text, true, true, code);
        return false;
    }

    VectorModel& model_;
    const MachineSettings& settings_;
    EventLog& log_;
    Host& host_;
    int32_t pen_ = 1;
    bool artCam_ = false;
    bool severalPairs_ = false;
    std::unordered_map<int32_t, int> penIndex_;  // pen number to pen-table index
    int layerOf(const VectorObject& object) const {
        auto it = penIndex_.find(object.pen);
        return it == penIndex_.end() ? -1 : it->second;
    }
};

bool HpglLoad::run() {
    model_.loaded = 0;
    if (int code = growObjects(model_, kObjectChunk); code != 0)
        return outOfMemory(kNoObjectMemory, code);
    log_.line("alokováno první 20 objektů", false, false);

    std::unique_ptr<std::FILE, FileCloser> file(OpenRegularFile(model_.sourcePath));
    if (!file) {
        log_.say(
            {"Predloha se nenacetla, soubor není otevren", "Loading hpgl failed, file not open"},
            true, true);
        return false;
    }
    log_.line("soubor otevřen pro čtení", false, false);
    const bool generic = model_.sourceKind == kHpglGeneric;
    const bool scanned = generic ? scanGeneric(file.get()) : scan(file.get());
    file.reset();
    if (!scanned) return false;
    log_.line("soubor uzavřen", false, false);

    if (!generic) {
        if (artCam_ && !applyArtCamRule()) return false;
        ConvertToSteps(model_, settings_);
    }
    ModelExtent extent;
    if (!normalise(extent)) return false;
    model_.width = model_.displayWidth = extent.maxX;
    model_.height = model_.displayHeight = extent.maxY;
    for (VectorObject& object : model_.objects)
        for (VectorPoint& p : object.points) p.y = model_.height - p.y;

    SayFormatted(log_,
                 {"Velikost HPGL kodu (%s)v pameti : %2.2fKB", "Size of HPGL code (%s): %2.2fKB"},
                 true, false, model_.sourcePath.c_str(),
                 (32.0 * model_.objectCount() + 12.0 * extent.points) / 1024);
    if (!buildPenTable()) return false;
    measure();
    if (!fillObjectOrders()) return false;
    // Only about a drawing that loaded: a refused one has its own report.
    if (severalPairs_) warnSeveralPairs();
    model_.loaded = 1;
    return true;
}

bool HpglLoad::scan(std::FILE* file) {
    char buffer[1 << 16];
    char text[kMaxCommand];
    size_t length = 0;
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        for (size_t i = 0; i < n; ++i) {
            if (buffer[i] == ';') {
                if (!command({text, length})) return false;
                length = 0;
                continue;
            }
            const char kept = kKept.map[static_cast<unsigned char>(buffer[i])];
            if (!kept) continue;
            if (length == kMaxCommand) {
                noteSeveralPairs(TrimSpaces({text, length}));
                return refuse(kLongCommand);
            }
            text[length++] = kept;
        }
    }
    return command({text, length});
}

bool HpglLoad::scanGeneric(std::FILE* file) {
    try {
        std::string data;
        char buffer[1 << 16];
        for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
            data.append(buffer, n);
        const GenericHpglResult result = ReadGenericHpgl(data, model_, settings_);
        if (!result.ignored.empty())
            SayFormatted(log_, kIgnoredCommands, true, false, result.ignored.c_str());
        switch (result.outcome) {
            case GenericHpglResult::kRead:
                return true;
            case GenericHpglResult::kNothingDrawn:
                return refuse(kNothingDrawn);
            case GenericHpglResult::kPenOutOfRange:
                return refuse(kPenOutOfRange, std::to_string(result.pen).c_str());
            case GenericHpglResult::kUndrawnGeometry:
                return refuse(kUndrawnGeometry, result.command.c_str());
        }
    } catch (const std::bad_alloc&) {
        return outOfMemory(kNoPointMemory, 1);
    }
    return false;
}

void HpglLoad::noteSeveralPairs(std::string_view text) {
    if (severalPairs_ || text.size() < 2) return;
    const HpglCode code = ClassifyHpglCommand(text.substr(0, 2));
    if (code != HpglCode::PenDown && code != HpglCode::PlotAbsolute) return;
    // x,y and an optional Z are one pair; a fourth number is a second pair.
    int numbers = 0;
    bool inNumber = false;
    for (char c : text.substr(2)) {
        const bool separator = c == ',' || c == ' ';
        if (!separator && !inNumber) ++numbers;
        inNumber = !separator;
    }
    severalPairs_ = numbers >= 4;
}

void HpglLoad::warnSeveralPairs() {
    log_.say(kSeveralPairs, true, true);
}

bool HpglLoad::command(std::string_view text) {
    // Producers put spaces and line breaks around commands; only the
    // command itself is classified.
    text = TrimSpaces(text);
    if (text.empty()) return true;
    switch (ClassifyHpglCommand(text)) {
        case HpglCode::Unknown:
            return refuse(kUnknownCommand);
        case HpglCode::Ignored:
            return true;
        case HpglCode::SelectPen:
            pen_ = ReadHpglInteger(text.substr(2));
            return true;
        case HpglCode::PenUp:
            return startObject() && addPoint(text.substr(2));
        case HpglCode::PlotAbsolute:
            if (model_.sourceKind != kHpglSprint) artCam_ = true;
            [[fallthrough]];
        case HpglCode::PenDown:
            noteSeveralPairs(text);
            // A pen-down before any pen-up starts the drawing's first object.
            if (model_.objects.empty()) return startObject() && addPoint(text.substr(2));
            return ensureObjectRoom() && addPoint(text.substr(2));
    }
    return true;
}

bool HpglLoad::startObject() {
    if (!ensureObjectRoom()) return false;
    model_.objects.emplace_back().pen = pen_;
    return true;
}

bool HpglLoad::ensureObjectRoom() {
    // Free records after the last object (the one a pen-up is about to start
    // included): fewer than 2 asks for another chunk.
    if (model_.objectCapacity - model_.objectCount() >= 2) return true;
    if (int code = growObjects(model_, kObjectChunk); code != 0)
        return outOfMemory(kNoObjectMemory, code);
    log_.line("alokováno dalších 20 objektů", false, false);
    return true;
}

bool HpglLoad::addPoint(std::string_view coordinates) {
    const int index = model_.objectCount() - 1;
    VectorObject& object = model_.objects[index];
    if (object.pointCapacity - object.pointCount() < 2) {
        if (int code = growPoints(model_, index, kPointChunk); code != 0)
            return outOfMemory(kNoPointMemory, code);
        log_.line("alokováno dalších 50 segmentů", false, false);
    }
    VectorPoint point;
    switch (ParseHpglCoordinates(coordinates, point)) {
        case CoordinateResult::Point:
            object.points.push_back(point);
            return true;
        case CoordinateResult::NoCoordinates:
            if (model_.sourceKind == kHpglSprint) return true;
            break;
        case CoordinateResult::BadSeparator:
            break;
    }
    return refuse(kBadSeparator, Caption(log_.language(), kSeparatorDetail).c_str());
}

bool HpglLoad::applyArtCamRule() {
    std::vector<VectorPoint> scratch;
    for (VectorObject& object : model_.objects) {
        try {
            scratch.resize(object.points.size());
        } catch (const std::bad_alloc&) {
            return outOfMemory(kNoScratchMemory, 1);
        }
        log_.line("alokována paměť pro pomocné segmenty", false, false);
        for (size_t i = 1; i < object.points.size(); ++i)
            scratch[i] = Difference(object.points[i], object.points[i - 1]);
        if (!scratch.empty()) scratch[0] = VectorPoint{};
        std::copy(scratch.begin(), scratch.end(), object.points.begin());
    }
    log_.line("konec transformace souboru ArtCam na HPGL", false, false);
    return true;
}

bool HpglLoad::normalise(ModelExtent& extent) {
    const ModelExtent before = MeasureExtent(model_);
    ShiftModel(model_, -before.minX, -before.minY, -before.minZ);
    extent = MeasureExtent(model_);
    if (extent.minX == 0 && extent.minY == 0 && extent.minZ == 0) return true;
    host_.messageBox(
        "Ok",
        Caption(log_.language(), {"Chyba kompenzace nulového bodu", "Fatal error with NULL point"}),
        Buttons::Ok, Icon::Information);
    return false;
}

bool HpglLoad::buildPenTable() {
    // Pens in the order of their first use; pen 0 draws objects no layer cuts.
    for (const VectorObject& object : model_.objects) {
        if (object.pen == 0 || penIndex_.count(object.pen)) continue;
        if (model_.penCount == kPenTableSize) return refuse(kTooManyPens);
        penIndex_[object.pen] = model_.penCount;
        model_.pens[model_.penCount++].pen = object.pen;
    }
    return true;
}

void HpglLoad::measure() {
    for (VectorObject& object : model_.objects) object.length = PathLength(object);
    for (int i = 0; i < model_.penCount; ++i) model_.pens[i].length = 0;
    for (const VectorObject& object : model_.objects)
        if (int index = layerOf(object); index >= 0)
            model_.pens[index].length += static_cast<float>(object.length);
}

bool HpglLoad::fillObjectOrders() {
    try {
        for (int32_t i = 0; i < model_.objectCount(); ++i)
            if (int index = layerOf(model_.objects[i]); index >= 0)
                model_.pens[index].objectOrder.push_back(i);
    } catch (const std::bad_alloc&) {
        host_.messageBox("Problém", "Chyba alokace paměti na pořadí objektů", Buttons::Ok,
                         Icon::Error);
        return false;
    }
    return true;
}

bool HpglLoad::refuse(Text text, const char* detail) {
    if (auto picked = Pick(log_.language(), text)) {
        std::string message = detail ? Format(picked->c_str(), detail) : *picked;
        if (model_.sourceKind != kHpglGeneric && GenericKindReads(model_.sourcePath, settings_))
            message += Caption(log_.language(), kGenericReads);
        log_.line(message, true, true);
    }
    model_.width = model_.height = model_.displayWidth = model_.displayHeight = 0;
    model_.sourcePath.clear();
    return false;
}

}  // namespace

int readVectorFile(VectorModel& model, const MachineSettings& settings, EventLog& log, Host& host) {
    HpglLoad(model, settings, log, host).run();
    return model.loaded;
}

int LoadVectorFile(VectorModel& model, const std::string& path, int32_t kind,
                   const MachineSettings& settings, EventLog& log, Host& host) {
    VectorModel fresh;
    fresh.sourcePath = path;
    fresh.sourceKind = kind;
    releaseVectorModel(fresh, settings);
    if (!readVectorFile(fresh, settings, log, host)) return 0;
    model = std::move(fresh);
    return 1;
}

}  // namespace korvex
