#include "gcode/gcode_import.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>

#include "gcode/gcode_bend.h"
#include "log/event_log.h"
#include "motion/job_sink.h"
#include "motion/rounding.h"
#include "platform/canvas.h"

namespace korvex {

namespace {

// A program's text is held whole while the dialog is open.
constexpr std::streamoff kMaxProgramBytes = std::streamoff{1} << 30;

double Mm(int64_t steps, float mmPerStep) {
    return static_cast<double>(steps) * mmPerStep;
}

}  // namespace

bool GcodeImport::load(const std::string& path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    const std::streamoff size = in ? std::streamoff(in.tellg()) : -1;
    if (size < 0 || size > kMaxProgramBytes) {
        machine_.log.say({"Program G-kódu se nenačetl, soubor nelze přečíst",
                          "The G-code program was not loaded, the file cannot be read"},
                         true, true);
        return false;
    }
    std::string text(static_cast<size_t>(size), '\0');
    in.seekg(0);
    in.read(text.data(), size);
    // A refused program leaves the one loaded before as it was.
    if (!parse(text)) return false;
    text_ = std::move(text);
    path_ = path;
    if (program_->toolLengths)
        machine_.log.say(
            {"Délky nástrojů (G43) se nepoužijí: nástroje se nastavují sondou",
             "Tool lengths (G43) are not applied: tools are touched off with the probe"},
            true, false);
    return true;
}

GcodePoint GcodeImport::toolAt() const {
    const MachinePosition& p = machine_.position;
    return {int64_t{p.plannedX.load()} - p.relOriginX.load(),
            int64_t{p.plannedY.load()} - p.relOriginY.load(),
            int64_t{p.plannedZ.load()} - p.relOriginZ.load()};
}

bool GcodeImport::reread() {
    if (parse(text_)) return true;
    program_.reset();
    return false;
}

bool GcodeImport::parse(const std::string& text) {
    const GcodePoint from = toolAt();
    const MachinePosition& p = machine_.position;
    const GcodePoint zero{-int64_t{p.relOriginX.load()}, -int64_t{p.relOriginY.load()},
                          -int64_t{p.relOriginZ.load()}};
    GcodeRead r = ReadGcode(text, machine_.settings, from, zero);
    if (!r.program) {
        machine_.log.line(RefusalMessage(machine_.settings.language, r.refusal), true, true);
        return false;
    }
    program_ = std::make_shared<const GcodeProgram>(std::move(*r.program));
    readFrom_ = from;
    return true;
}

std::vector<std::string> GcodeImport::summaryLines() const {
    if (!program_) return {};
    const MachineSettings& s = machine_.settings;
    const int l = s.language;
    const GcodeProgram& p = *program_;
    // A crawling feed can take centuries: the hours grow as wide as needed.
    const long long seconds =
        p.estimatedSeconds > 0 ? std::llround(std::min(p.estimatedSeconds, 1e15)) : 0;
    const Text extent{"%s %.3f až %.3f mm", "%s %.3f to %.3f mm"};
    std::vector<std::string> lines = {
        FormatCaption(l, {"jednotky: %s", "units: %s"}, p.inches ? "inch" : "mm"),
        FormatCaption(l, extent, "X", Mm(p.low.x, s.mmPerStepX), Mm(p.high.x, s.mmPerStepX)),
        FormatCaption(l, extent, "Y", Mm(p.low.y, s.mmPerStepY), Mm(p.high.y, s.mmPerStepY)),
        FormatCaption(l, extent, "Z", Mm(-p.high.z, s.mmPerStepZ), Mm(-p.low.z, s.mmPerStepZ)),
        FormatCaption(l, {"řádků: %lld, pohybů: %zu", "lines: %lld, moves: %zu"},
                      static_cast<long long>(p.lines), p.moves.size()),
        FormatCaption(l, {"odhad času: %lld:%02lld:%02lld", "estimated time: %lld:%02lld:%02lld"},
                      seconds / 3600, seconds / 60 % 60, seconds % 60)};
    // Only homing puts the machine's zero on the switches; elsewhere it is
    // where the machine was started.
    if (const int unhomed = p.zeroedAxes & ~machine_.position.homedAxes.load()) {
        std::string axes;
        for (int a = 0; a < 3; ++a)
            if (unhomed & (1 << a)) axes += std::string(axes.empty() ? "" : " ") + "XYZ"[a];
        lines.push_back(FormatCaption(
            l,
            {"G28 jede v %s na místo, kde byl stroj zapnut: není vynulováno na koncových spínačích",
             "G28 goes in %s to where the machine was started: not homed on the limit switches"},
            axes.c_str()));
    }
    if (p.stoppedSpindleFeed)
        lines.push_back(FormatCaption(
            l,
            {"řádek %lld: posuv při stojícím vřetenu, program ho předtím nespustil (M3, M4)",
             "line %lld: a feed with the spindle stopped, the program did not start it (M3, M4)"},
            static_cast<long long>(p.stoppedSpindleFeed)));
    return lines;
}

std::string GcodeImport::summary() const {
    if (!program_) return "";
    std::string text = path_;
    for (const std::string& line : summaryLines()) text += "\n" + line;
    return text;
}

std::array<double, 3> GcodeImport::travelExcess(const GcodeProgram& p) const {
    const MachineSettings& s = machine_.settings;
    const MachinePosition& at = machine_.position;
    // Steps outside [0, travel] on the far side (positive) or the near one.
    auto over = [](int64_t origin, int64_t low, int64_t high, int64_t travel) {
        const int64_t beyond = std::max<int64_t>(origin + high - travel, 0);
        const int64_t before = std::max<int64_t>(-(origin + low), 0);
        return std::max(beyond, before);
    };
    return {Mm(over(at.relOriginX.load(), p.low.x, p.high.x, MmToSteps(s.travelX, s.mmPerStepX)),
               s.mmPerStepX),
            Mm(over(at.relOriginY.load(), p.low.y, p.high.y, MmToSteps(s.travelY, s.mmPerStepY)),
               s.mmPerStepY),
            Mm(over(at.relOriginZ.load(), p.low.z, p.high.z, MmToSteps(s.travelZ, s.mmPerStepZ)),
               s.mmPerStepZ)};
}

bool GcodeImport::tableRefuses(const GcodeProgram& p) const {
    const std::array<double, 3> d = travelExcess(p);
    if (d[0] == 0 && d[1] == 0 && d[2] == 0) return false;
    SayFormatted(machine_.log,
                 {" tento program přesahuje rozsah stroje o dX:%3.2f dY:%3.2f dZ:%3.2f \n "
                  "frézování přerušeno",
                  " this program leaves the machine's travel by dX:%3.2f dY:%3.2f dZ:%3.2f \n "
                  "cutting aborted"},
                 true, true, d[0], d[1], d[2]);
    return true;
}

bool GcodeImport::start() {
    if (!program_) return false;
    Machine& m = machine_;
    if (feeding_) {
        m.log.say({"Předchozí program G-kódu se ještě zařazuje",
                   "The previous G-code program is still being queued"},
                  true, true);
        return false;
    }
    if (!RelativeOriginSet(m)) return false;
    if (!(toolAt() == readFrom_) && !reread()) return false;
    const GcodeProgram& p = *program_;
    if (p.moves.empty()) {
        m.log.say({"Program G-kódu neobsahuje žádný pohyb", "The G-code program has no moves"},
                  true, true);
        return false;
    }
    std::shared_ptr<const GcodeProgram> run = program_;
    if (const std::shared_ptr<const HeightMap> map = m.surfaceMap) {
        const GcodeArea a = FeedArea(p);
        if (!SurfaceMapFits(m, a.x0, a.y0, a.x1, a.y1)) return false;
        run = std::make_shared<const GcodeProgram>(BendProgram(p, SurfaceBend(*map, m.settings)));
    }
    if (tableRefuses(*run)) return false;
    // The stop after the move before a change is what pauses the machine;
    // a change before the first move is the tool to start with.
    for (const GcodePause& change : p.toolChanges) {
        if (change.afterMove == 0)
            SayFormatted(m.log, {"nástroj T%d", "tool T%d"}, true, false, change.tool);
        else
            SayFormatted(
                m.log, {"výměna nástroje T%d po %zu. pohybu", "tool change to T%d after move %zu"},
                true, false, change.tool, change.afterMove);
    }
    running_ = run;
    feeding_ = true;
    next_ = 0;
    nextChange_ = running_->toolChanges.begin();
    resets_ = m.buffer.resetRequests();
    rememberPlan();
    unqueuedSeconds_ = p.estimatedSeconds;
    feed();
    return true;
}

MotionCommand GcodeImport::takeNext() {
    const std::vector<GcodePause>& changes = running_->toolChanges;
    MotionCommand c = running_->moves[next_++];
    while (nextChange_ != changes.end() && nextChange_->afterMove < next_) ++nextChange_;
    if (nextChange_ != changes.end() && nextChange_->afterMove == next_)
        c.stopAfter = kStopToolChange + nextChange_->tool;
    return c;
}

void GcodeImport::rememberPlan() {
    const MachinePosition& at = machine_.position;
    plannedAfter_[0] = at.plannedX.load(), plannedAfter_[1] = at.plannedY.load(),
    plannedAfter_[2] = at.plannedZ.load();
}

void GcodeImport::feed() {
    Machine& m = machine_;
    if (!feeding_) {
        if (running_ && m.buffer.queued() == 0) running_.reset();
        return;
    }
    if (m.buffer.resetRequests() != resets_ || m.executor.quitRequest.load()) return endFeed();
    const MachinePosition& at = m.position;
    if (at.plannedX.load() != plannedAfter_[0] || at.plannedY.load() != plannedAfter_[1] ||
        at.plannedZ.load() != plannedAfter_[2]) {
        m.log.say({"Program G-kódu ukončen: jeho další pohyb by nezačal, kde předchozí skončil",
                   "The G-code program was ended: its next move would not start where the last "
                   "one ended"},
                  true, false);
        return endFeed();
    }
    // Only this thread queues, and the executor only frees entries: the
    // free slots counted take every move.
    JobSink sink(m, false);
    for (int free = m.buffer.freeSlots(); free > 0 && next_ < running_->moves.size(); --free) {
        const MotionCommand c = takeNext();
        sink.add(c);
        unqueuedSeconds_ -= c.remainingTimeS;
    }
    rememberPlan();
    if (next_ == running_->moves.size() || sink.full()) endFeed();
}

void GcodeImport::endFeed() {
    feeding_ = false;
    unqueuedSeconds_ = 0;
}

void GcodeImport::takeUnqueued(const std::function<void(const MotionCommand&)>& take) {
    if (!feeding_) return;
    while (next_ < running_->moves.size()) take(takeNext());
    endFeed();
}

std::optional<GcodeImport::Progress> GcodeImport::progress() const {
    if (!running_) return std::nullopt;
    const size_t queued = static_cast<size_t>(std::max(machine_.buffer.queued(), 0));
    if (!feeding_ && queued == 0) return std::nullopt;
    Progress p;
    p.total = running_->moves.size();
    p.done = next_ - std::min(queued, next_);
    p.line = running_->moveLines[std::min(p.done, p.total - 1)];
    return p;
}

void DrawGcodePreview(const GcodeProgram& program, Canvas& canvas) {
    canvas.clear(0xFFFFFFFF);
    // The bounds of the path, the travel from where the tool stood included.
    int64_t lowX = program.start.x, lowY = program.start.y, highX = lowX, highY = lowY;
    int64_t x = lowX, y = lowY;
    for (const MotionCommand& c : program.moves) {
        x += c.dx, y += c.dy;
        lowX = std::min(lowX, x), highX = std::max(highX, x);
        lowY = std::min(lowY, y), highY = std::max(highY, y);
    }
    const double spanX = double(highX - lowX), spanY = double(highY - lowY);
    if (spanX <= 0 && spanY <= 0) return;
    // A margin keeps the path off the picture's edge.
    const int margin = std::min(canvas.width(), canvas.height()) / 40;
    const double scale = std::min(spanX > 0 ? (canvas.width() - 1 - 2 * margin) / spanX : 1e300,
                                  spanY > 0 ? (canvas.height() - 1 - 2 * margin) / spanY : 1e300);
    auto px = [&](int64_t v) { return margin + static_cast<int>(std::lround((v - lowX) * scale)); };
    auto py = [&](int64_t v) {
        return canvas.height() - 1 - margin - static_cast<int>(std::lround((v - lowY) * scale));
    };
    x = program.start.x, y = program.start.y;
    for (const MotionCommand& c : program.moves) {
        if (c.dx == 0 && c.dy == 0) continue;
        canvas.line(px(x), py(y), px(x + c.dx), py(y + c.dy),
                    c.accelerated ? 0xFFC0C0C0 : 0xFF000080);
        x += c.dx, y += c.dy;
    }
}

}  // namespace korvex
