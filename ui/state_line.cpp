#include "ui/state_line.h"

#include <cmath>

#include "motion/motion_command.h"
#include "ui/controller.h"
#include "ui/job_stop.h"
#include "ui/window_view.h"

namespace korvex {

std::string FormatClock(double seconds) {
    const long long s = std::llround(std::max(0.0, seconds));
    if (s >= 3600) return Format("%lld:%02lld:%02lld", s / 3600, s / 60 % 60, s % 60);
    return Format("%lld:%02lld", s / 60, s % 60);
}

Text JobName(DialogKind kind) {
    switch (kind) {
        case DialogKind::HpglJob:
            return {"HPGL", "HPGL"};
        case DialogKind::Relief:
            return {"reliéf", "relief"};
        case DialogKind::Separation:
            return {"oddělení materiálu", "separation"};
        case DialogKind::Surface:
            return {"zarovnání povrchu", "surface"};
        case DialogKind::Drilling:
            return {"vrtání", "drilling"};
        case DialogKind::Gcode:
            return {"G-kód", "G-code"};
        default:
            return {"nastavení", "setup"};
    }
}

void StateLine::update() {
    JobTrack& t = c_.track;
    const JobTrack::Change change = t.update(c_.gcode.movesUnqueued() > 0);
    if (change == JobTrack::Change::None) return;
    EventLog& log = c_.machine.log;
    const std::string name = Caption(log.language(), t.name());
    const std::string took = FormatClock(t.elapsedS());
    const Text said = change == JobTrack::Change::Finished
                          ? Text{"Úloha %s dokončena za %s", "%s job finished in %s"}
                          : Text{"Úloha %s zastavena po %s", "%s job stopped after %s"};
    notice_ = FormatCaption(log.language(), said, name.c_str(), took.c_str());
    log.line(notice_, true, false);
}

namespace {

Text PauseReason(int32_t stop) {
    if (stop >= kStopToolChange) return {"výměnu nástroje", "tool change"};
    if (stop == kStopRemoveProbe) return {"odstranění sondy", "probe"};
    return {"pokračování programu", "program stop"};
}

}  // namespace

std::string StateLine::text() const {
    Machine& m = c_.machine;
    const int lang = m.log.language();
    const JobTrack& t = c_.track;
    // The relief carves without the buffer: the track shows only its outline.
    const bool carving = c_.relief.running != 0;
    const std::string name = Caption(lang, carving ? JobName(DialogKind::Relief) : t.name());
    std::string line;
    const int32_t stop = ProgramStopHolding(c_);
    if (stop != 0)
        line = FormatCaption(lang, {"Pozastaveno (čeká na: %s)", "Paused (waiting for: %s)"},
                             Caption(lang, PauseReason(stop)).c_str());
    else if (m.signals.estopActive.load())
        line = Caption(lang, {"Nouzové zastavení", "Emergency stop"});
    else if (c_.homing.pending != 0 && MachineMoving(c_))
        line = Caption(lang, {"Hledání nuly", "Homing"});
    else if (m.executor.softLimitClipped.load() || (t.running() && t.clipped()))
        line = t.running()
                   ? FormatCaption(
                         lang, {"Softwarové limity ořezávají úlohu: %s", "Soft-limit clip: %s job"},
                         name.c_str())
                   : Caption(lang, {"Softwarové limity ořezávají pohyb", "Soft-limit clip"});
    else if (t.running() || carving)
        line = FormatCaption(lang, {"Běží úloha: %s", "Running job: %s"}, name.c_str());
    else
        line = Caption(lang, {"Stojí", "Idle"});

    const int feed = m.executor.feedPercent.load();
    if (t.running()) {
        const int64_t all = static_cast<int64_t>(t.points().size() + c_.gcode.movesUnqueued());
        const int64_t done = t.done();
        // Interpolated moves dominate a job's time: the override scales it.
        const double left = (m.buffer.remainingTimeS() + c_.gcode.secondsUnqueued()) * 100 / feed;
        line += FormatCaption(lang,
                              {" — %d %%, pohyb %lld z %lld, %s uplynulo, zbývá %s",
                               " — %d %%, move %lld of %lld, %s elapsed, %s left"},
                              static_cast<int>(all > 0 ? done * 100 / all : 0),
                              static_cast<long long>(done), static_cast<long long>(all),
                              FormatClock(t.elapsedS()).c_str(), FormatClock(left).c_str());
    } else if (!notice_.empty() && !carving) {
        line += " — " + notice_;
    }
    if (feed != 100) line += FormatCaption(lang, {" — posuv %d %%", " — feed %d %%"}, feed);
    return line;
}

}  // namespace korvex
