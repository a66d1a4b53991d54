#include "ui/status_display.h"

#include <cmath>

#include "platform/canvas.h"
#include "platform/dialog_view.h"
#include "ui/controller.h"
#include "ui/job_stop.h"
#include "ui/main_ids.h"

namespace korvex {

using namespace mainwin;

std::string FormatTimeToEnd(double seconds) {
    float t = std::fabs(static_cast<float>(seconds));
    if (t <= 100) return Format("%5.1f s", t);
    t /= 60;
    if (t <= 100) return Format("%5.1f min", t);
    t /= 60;
    if (t <= 100) return Format("%5.1f h", t);
    return Format("%5.1f d", t / 24);
}

static float StepSize(const MachineSettings& s, int axis) {
    return axis == 0 ? s.mmPerStepX : axis == 1 ? s.mmPerStepY : s.mmPerStepZ;
}

StatusDisplay::StatusDisplay(Controller& c, DialogView& view)
    : c_(c), view_(view), toolpath_(c.pictures) {}

std::string StatusDisplay::position(int axis, int32_t steps, const char* mmFormat,
                                    const char* stepFormat) const {
    const MachineSettings& s = c_.machine.settings;
    if (s.showMillimetres) return Format(mmFormat, static_cast<double>(steps * StepSize(s, axis)));
    return Format(stepFormat, steps);
}

void StatusDisplay::forgetShown() {
    shown_[0] = shown_[1] = shown_[2] = 1;
    shownMotion_ = {-1, 0, false};
    shownProgramStop_ = -1;
    shownStopText_.reset();
}

StatusDisplay::Motion StatusDisplay::motion() const {
    const Machine& m = c_.machine;
    int stepping = 0;
    for (int a = 0; a < 3; ++a)
        if (m.executor.axisStepping[a].load()) stepping |= 1 << a;
    // The executor keeps its last period while an emergency stop holds it.
    return {m.executor.currentPeriodUs.load(), stepping, m.signals.estopActive.load() != 0};
}

int StatusDisplay::refresh(bool force) {
    Machine& m = c_.machine;
    const MachineSettings& s = m.settings;
    const int32_t abs[3] = {m.position.absX.load(), m.position.absY.load(), m.position.absZ.load()};
    const Motion now = motion();
    const bool moved = abs[0] != shown_[0] || abs[1] != shown_[1] || abs[2] != shown_[2];
    const bool traced = c_.track.done() != shownDone_;
    if (!force && !moved && !traced && now == shownMotion_) return 1;

    // A change of Z alone leaves the cross where it is.
    if (force || traced || abs[0] != shown_[0] || abs[1] != shown_[1]) drawPositionCross();

    view_.enable(kMachineSwitch, s.switchMachine != 0);
    view_.enable(kSpindleSwitch, s.switchSpindle != 0);
    view_.setCheck(kMachineSwitch, m.signals.machineOnState.load() != 0);
    view_.setCheck(kSpindleSwitch, m.signals.spindleOnState.load() != 0);

    const int absIds[3] = {kAbsX, kAbsY, kAbsZ};
    for (int a = 0; a < 3; ++a)
        if (abs[a] != shown_[a]) view_.setText(absIds[a], position(a, abs[a], "%7.3f mm", "%7d"));

    const int speedIds[3] = {kSpeedX, kSpeedY, kSpeedZ};
    for (int a = 0; a < 3; ++a) {
        std::string text = "stop";
        if (!now.stopped && now.periodUs >= 1 && (now.stepping & (1 << a))) {
            const float rate = 1000000.0f / static_cast<float>(now.periodUs);
            text = s.showMillimetres ? Format(" %7.3f mm/s", rate * StepSize(s, a))
                                     : Format(" %7.0f k/s", rate);
        }
        view_.setText(speedIds[a], text);
    }

    const int capacity = m.buffer.capacity();
    const int last = m.buffer.lastIndex();
    if (last < 0) {
        view_.setText(kBufferFill, FormatCaption(s.language, {"nic/%d", "empty/%d"}, capacity));
        for (int a = 0; a < 3; ++a)
            view_.setText(kLeftX + a,
                          s.showMillimetres ? Format("%5.2fmm", 0.0) : Format("%7d", 0));
    } else {
        view_.setText(kBufferFill, Format("%d/%d", last + 1, capacity));
        const MotionCommand front = m.buffer.entry(0);
        const int32_t left[3] = {front.dx, front.dy, front.dz};
        for (int a = 0; a < 3; ++a)
            view_.setText(kLeftX + a, position(a, left[a], "%5.2fmm", "%5d"));
        finalShown_ = true;
    }
    // Once shown, the planned end follows what changes it with nothing
    // queued too: a homing's switch, an ended job.
    if (finalShown_) {
        const int32_t planned[3] = {m.position.plannedX.load(), m.position.plannedY.load(),
                                    m.position.plannedZ.load()};
        for (int a = 0; a < 3; ++a)
            view_.setText(kFinalX + a, position(a, planned[a], "%5.2fmm", "%5d"));
    }
    // A G-code program's moves not queued yet count too.
    view_.setText(kTimeToEnd, FormatTimeToEnd((last < 0 ? 0.0 : m.buffer.remainingTimeS()) +
                                              c_.gcode.secondsUnqueued()));
    for (int a = 0; a < 3; ++a) shown_[a] = abs[a];
    shownMotion_ = now;
    return 0;
}

void StatusDisplay::drawPositionCross() {
    constexpr uint32_t kSheet = 0xFFFFFFFF, kCross = 0xFFFF0000;
    Canvas& area = view_.canvas(kPreviewArea);
    shownDone_ = c_.track.done();
    if (toolpath_.draw(area, c_.track, c_.machine.settings, c_.machine.position)) return;
    if (!drawMainPreview(c_.preview, c_.vector, c_.machine.settings, area, c_.pictures)) {
        area.clear(kSheet);
        return;
    }
    const MachinePosition& p = c_.machine.position;
    if (p.relOriginSet.load() != 1) return;
    const auto cross =
        mainPreviewPixel(c_.preview, c_.machine.settings, p.absX.load() - p.relOriginX.load(),
                         p.absY.load() - p.relOriginY.load());
    if (!cross) return;
    const int w = c_.preview.image->width(), h = c_.preview.image->height();
    area.line(cross->x, 1, cross->x, h - 1, kCross, 1);
    area.line(1, cross->y, w - 1, cross->y, kCross, 1);
}

void StatusDisplay::showRelativeOrigin() {
    const MachinePosition& p = c_.machine.position;
    const int32_t origin[3] = {p.relOriginX.load(), p.relOriginY.load(), p.relOriginZ.load()};
    const bool set = p.relOriginSet.load() == 1;
    const int ids[3] = {kRelX, kRelY, kRelZ};
    for (int a = 0; a < 3; ++a) {
        view_.setText(ids[a], position(a, origin[a], "%7.3f mm", "%5d"));
        view_.enable(ids[a], set);
    }
    // The cross is drawn from the origin: it moves, appears or goes with it.
    drawPositionCross();
}

void StatusDisplay::showSignals() {
    const MachineSignals& g = c_.machine.signals;
    // A program's stop shows what it waits for, not the emergency's look.
    const int32_t programStop = ProgramStopHolding(c_);
    view_.setCheck(kEmergencyStop, g.estopActive.load() != 0 && programStop == 0);
    if (programStop != shownProgramStop_) {
        shownProgramStop_ = programStop;
        view_.enable(kContinue, programStop != 0);
    }
    // Without a stop to answer, the place says how far a G-code program is,
    // or that jobs follow a height map.
    const int language = c_.machine.settings.language;
    std::string stopText = ProgramStopText(language, programStop);
    if (programStop == 0) {
        if (const auto p = c_.gcode.progress())
            stopText = FormatCaption(
                language,
                {"G-kód: řádek %lld, pohyb %zu z %zu", "G-code: line %lld, move %zu of %zu"},
                static_cast<long long>(p->line), p->done, p->total);
        else if (c_.machine.surfaceMap)
            stopText =
                Caption(language, {"Úlohy sledují výškovou mapu", "Jobs follow the height map"});
    }
    if (stopText != shownStopText_) {
        shownStopText_ = stopText;
        view_.setText(kProgramStopText, stopText);
    }
    view_.setCheck(kEmergencySignal, g.emergencyInput.load() != 0);
    view_.setCheck(kMinX, g.limitX.load() != 0);
    view_.setCheck(kMinY, g.limitY.load() != 0);
    view_.setCheck(kMinZ, g.limitZ.load() != 0);
    view_.setCheck(kMinKZ, g.zSensor.load() != 0);
    for (int a = 0; a < 3; ++a) view_.setText(kHomedX + a, c_.homing.homed[a] ? "✓" : "✗");
}

void StatusDisplay::showModelInfo() {
    const VectorModel& model = c_.vector;
    if (model.loaded != 1) {
        for (int id = kModelFile; id <= kModelObjects; ++id) view_.setText(id, "none");
        return;
    }
    const MachineSettings& s = c_.machine.settings;
    view_.setText(kModelFile, model.sourcePath);
    if (IsHpglKind(model.sourceKind)) view_.setText(kModelType, "HPGL soubor (*.plt)");
    view_.setText(kModelSize, Format("x:%.2fmm y:%.2fmm z:%.2fmm",
                                     static_cast<double>(model.displayWidth * s.mmPerStepX),
                                     static_cast<double>(model.displayHeight * s.mmPerStepY), 0.0));
    view_.setText(kModelPens, Format("%d", model.penCount));
    view_.setText(kModelObjects, Format("%d", model.objectCount()));
}

}  // namespace korvex
