#include "machining/relief_dialog.h"

#include <algorithm>

#include "log/captions.h"
#include "machining/job_input.h"
#include "machining/job_values.h"
#include "machining/raster_image.h"
#include "machining/relief_job.h"
#include "machining/relief_output.h"
#include "machining/relief_view.h"
#include "motion/machine.h"
#include "motion/port.h"
#include "motion/rounding.h"
#include "platform/dialog_view.h"
#include "platform/host.h"

namespace korvex {

namespace {
constexpr int kMaxMultiple = 1000;
// What a run disables; the disabled edits and the ratio mark stay so.
constexpr int kIdleControls[] = {
    kReliefGo,    kReliefEnd,   kReliefFile,      kReliefInvert,         kReliefSimulate,
    kReliefMinus, kReliefPlus,  kReliefZMultiple, kReliefShowSimulation, kReliefDepth,
    kReliefFeed,  kReliefPitch, kReliefZOffset,   kReliefScrollX,        kReliefScrollY};
}  // namespace

int ReliefDialog::language() const {
    return c_.machine.settings.language;
}

std::string ReliefDialog::title() const {
    return Caption(language(), kReliefTitle);
}

void ReliefDialog::onInit() {
    ShowCaptions(view_, language(),
                 {{kReliefDepthCaption, kReliefDepthLabel},
                  {kReliefCutCaption, kReliefCutLabel},
                  {kReliefFeedCaption, kReliefFeedLabel},
                  {kReliefPitchCaption, kReliefPitchLabel},
                  {kReliefZOffsetCaption, kReliefZOffsetLabel},
                  {kReliefPitchByMultipleCaption, kReliefPitchByMultipleLabel},
                  {kReliefLevelsCaption, kReliefLevelsLabel},
                  {kReliefRatio, kReliefRatioLabel},
                  {kReliefZMultiple, kReliefZMultipleLabel}});
    for (int id : {kReliefCut, kReliefSizeX, kReliefSizeY, kReliefRatio}) view_.enable(id, false);
    view_.setCheck(kReliefEmergencyStop, c_.machine.signals.estopActive.load() != 0);
    view_.setText(kReliefEndJob, Caption(language(), kEndJobCaption));
    view_.enable(kReliefEndJob, false);
    if (!c_.raster.loaded) {
        // A refused picture has nothing to carve: its box said why.
        if (OpenRasterImage(c_.raster, host_, c_.machine.log, c_.sourceKind) && !c_.raster.loaded)
            return view_.end(kResultCancel);
        drawView();
    }
    refresh();
}

// Filling an edit runs its change handler, as the window system's change
// notification does, so each value passes once through its shown rounding.
// The handlers read the text back, so a second notification changes nothing.
void ReliefDialog::fillEdit(int id, const std::string& text) {
    view_.setText(id, text);
    onEditChange(id);
}

void ReliefDialog::refresh() {
    RasterImage& r = c_.raster;
    ReliefJob& job = c_.job;
    const MachineSettings& s = c_.machine.settings;
    if (!r.loaded) {
        r.width = r.height = 0;
        r.levelCount = 255;
        job.progressDone = 0;
    }
    job.showSimulation = 0;
    c_.simulation.scrollX = c_.simulation.scrollY = 0;
    job.useMultipleForZ = 0;
    job.pitch = 1;
    job.multiple = 1;
    job.zMultiple = 1;
    job.stepsPerLevel = StepsPerLevel(job, r.levelCount);
    view_.setText(kReliefLevelLine, ReliefLevelLine(job, r.levelCount, s));
    view_.setText(kReliefResolution, ReliefResolutionHint(s));
    view_.setCheck(kReliefRatio, true);
    job.sizeX = job.multiple * r.width;
    job.sizeY = job.multiple * r.height;
    view_.setText(kReliefOriginal, Format("original %dx%d pixel", r.width, r.height));
    fillEdit(kReliefCut, Format("%0.2f", c_.values.cut * s.mmPerStepZ));
    fillEdit(kReliefDepth, Format("%0.2f", job.depth * s.mmPerStepZ));
    fillEdit(kReliefPitch, Format("%0.5f", job.pitch * s.mmPerStepY));
    view_.setText(kReliefPitchByMultiple, ReliefPitchByMultiple(job, s));
    fillEdit(kReliefFeed, Format("%0.2f/s", c_.values.feed));
    view_.setText(kReliefLevels, Format("%d linear", r.levelCount));
    fillEdit(kReliefSizeX, Format("%0.2f", job.sizeX * s.mmPerStepX));
    fillEdit(kReliefSizeY, Format("%0.2f", job.sizeY * s.mmPerStepY));
    fillEdit(kReliefZOffset, Format("%0.2f", job.zOffset * s.mmPerStepZ));
    view_.setText(kReliefMultiple, Format("Násobek (multiple) > %d", job.multiple));
    view_.setCheck(kReliefZMultiple, false);
    writeSize();
}

void ReliefDialog::onEditChange(int id) {
    if (running_) return;
    const MachineSettings& s = c_.machine.settings;
    ReliefJob& job = c_.job;
    const double value = ReadEditNumber(view_.text(id));
    switch (id) {
        case kReliefDepth:
            job.depth = std::max(1, MmToSteps(value, s.mmPerStepZ));
            writeSize();
            writeLevels();
            break;
        case kReliefCut:
            c_.values.cut =
                std::max(CutSteps(value, s.mmPerStepZ), MmToSteps(s.cutDepth, s.mmPerStepZ));
            break;
        case kReliefFeed:
            c_.values.feed = std::min(static_cast<float>(value), s.cuttingSpeed);
            break;
        case kReliefPitch:
            job.pitch = std::max(1, MmToSteps(value, s.mmPerStepY));
            view_.setText(kReliefPitchByMultiple, ReliefPitchByMultiple(job, s));
            break;
        case kReliefZOffset:
            job.zOffset = std::max(0, MmToSteps(value, s.mmPerStepZ));
            writeSize();
            break;
    }
}

void ReliefDialog::updateZMultiple() {
    ReliefJob& job = c_.job;
    job.zMultiple = job.useMultipleForZ ? job.multiple : 1;
}

void ReliefDialog::writeLevels() {
    ReliefJob& job = c_.job;
    job.stepsPerLevel = StepsPerLevel(job, c_.raster.levelCount);
    view_.setText(kReliefLevelLine,
                  ReliefLevelLine(job, c_.raster.levelCount, c_.machine.settings));
}

void ReliefDialog::writeSize() {
    view_.setText(kReliefSize, ReliefSizeLine(c_.job, c_.machine.settings));
}

void ReliefDialog::changeMultiple(int by) {
    ReliefJob& job = c_.job;
    const MachineSettings& s = c_.machine.settings;
    if ((by < 0 && job.multiple > 1) || (by > 0 && job.multiple < kMaxMultiple)) job.multiple += by;
    updateZMultiple();
    writeLevels();
    job.sizeX = job.multiple * c_.raster.width;
    job.sizeY = job.multiple * c_.raster.height;
    // The size edits follow the multiple too, not only the size line.
    view_.setText(kReliefSizeX, Format("%0.2f", job.sizeX * s.mmPerStepX));
    view_.setText(kReliefSizeY, Format("%0.2f", job.sizeY * s.mmPerStepY));
    view_.setText(kReliefMultiple, Format("Násobek (multiple) > %d", job.multiple));
    writeSize();
    view_.setText(kReliefPitchByMultiple, ReliefPitchByMultiple(job, s));
}

void ReliefDialog::toggleZMultiple() {
    ReliefJob& job = c_.job;
    job.useMultipleForZ = !job.useMultipleForZ;
    view_.setCheck(kReliefZMultiple, job.useMultipleForZ);
    updateZMultiple();
    writeSize();
    writeLevels();
}

void ReliefDialog::drawView() {
    DrawReliefView(view_.canvas(0), c_.raster, c_.job, c_.simulation, c_.machine.settings);
}

void ReliefDialog::onPaint() {
    DrawReliefProgress(view_.canvas(0), c_.job.progressDone,
                       static_cast<int64_t>(c_.raster.width) * c_.raster.height);
    drawView();
}

void ReliefDialog::onCommand(int id) {
    if (id == kReliefEmergencyStop) return emergencyStop();
    if (id == kReliefEndJob) {
        if (c_.job.running) EndReliefCarving(c_.machine, c_.job);
        view_.setCheck(kReliefEmergencyStop, c_.machine.signals.estopActive.load() != 0);
        return;
    }
    if (running_) return;
    switch (id) {
        case kReliefMinus:
            changeMultiple(-1);
            break;
        case kReliefPlus:
            changeMultiple(1);
            break;
        case kReliefZMultiple:
            toggleZMultiple();
            break;
        case kReliefInvert:
            ConvertRasterToGray(c_.raster, true);
            drawView();
            view_.invalidate();
            break;
        case kReliefShowSimulation:
            c_.job.showSimulation = !c_.job.showSimulation;
            ClearReliefView(view_.canvas(0));
            drawView();
            break;
        case kReliefFile:
            OpenRasterImage(c_.raster, host_, c_.machine.log, c_.sourceKind);
            if (c_.raster.loaded) {
                refresh();
                drawView();
                view_.invalidate();
            }
            break;
        case kReliefGo:
            go();
            break;
        case kReliefSimulate:
            simulate();
            break;
        case kReliefEnd:
            view_.end(kResultCancel);
            break;
    }
}

void ReliefDialog::onScroll(int id, int request, int pos) {
    ReliefSimulation& sim = c_.simulation;
    if (running_ || !c_.job.showSimulation || (id != kReliefScrollX && id != kReliefScrollY))
        return;
    const bool horizontal = id == kReliefScrollX;
    int& current = horizontal ? sim.scrollX : sim.scrollY;
    // A picture smaller than the view does not scroll at all.
    const int last = std::max(
        0, horizontal ? sim.simWidth - kReliefViewWidth : sim.simHeight - kReliefViewHeight);
    int p = current;
    switch (request) {
        case kScrollLineUp:
            p -= 1;
            break;
        case kScrollLineDown:
            p += 1;
            break;
        case kScrollPageUp:
            p -= 10;
            break;
        case kScrollPageDown:
            p += 10;
            break;
        case kScrollThumbPosition:
        case kScrollThumbTrack:
            p = pos;
            break;
        case kScrollTop:
            p = 0;
            break;
        case kScrollBottom:
            p = last;
            break;
    }
    current = std::clamp(p, 0, last);
    view_.setScrollPos(id, current);
    drawView();
}

bool ReliefDialog::confirm(Text question) {
    return host_.messageBox("Info", Caption(language(), question), Buttons::YesNo,
                            Icon::Question) == Answer::Yes;
}

bool ReliefDialog::refused() {
    if (c_.raster.loaded) return false;
    c_.machine.log.say(kReliefNoPicture, true, true);
    return true;
}

void ReliefDialog::go() {
    Machine& m = c_.machine;
    ReliefJob& job = c_.job;
    lastRun_ = 0;
    if (refused() || !AcceptJobInput(m.log, c_.values.feed, job.depth, job.sizeX, job.sizeY))
        return;
    auto busy = [&m] { return !m.executor.executorIdle.load() || m.buffer.queued() > 0; };
    if (busy() && !confirm(kReliefBusyQuestion)) return;
    if (!confirm(kReliefGoQuestion)) return;
    job.running = 1;
    job.endRequested = 0;
    setRunning(true);
    // Two writers on the port would garble both: the relief starts when the
    // executor has run out of work.
    while (busy()) c_.output.wait();
    if (c_.carvingStarts) c_.carvingStarts();
    job.showSimulation = 0;
    DrawReliefProgress(view_.canvas(0), job.progressDone,
                       static_cast<int64_t>(c_.raster.width) * c_.raster.height);
    CarveRelief(c_, view_, host_, 0);
    job.running = 0;
    view_.setCheck(kReliefEmergencyStop, m.signals.estopActive.load() != 0);
    setRunning(false);
    lastRun_ = 1;
}

void ReliefDialog::simulate() {
    ReliefJob& job = c_.job;
    lastRun_ = 0;
    if (refused() || !confirm(kReliefSimulateQuestion)) return;
    DrawReliefProgress(view_.canvas(0), job.progressDone,
                       static_cast<int64_t>(c_.raster.width) * c_.raster.height);
    job.showSimulation = 1;
    setRunning(true);
    CarveRelief(c_, view_, host_, 1);
    setRunning(false);
    view_.invalidate();
    lastRun_ = c_.simulation.picture ? 1 : 0;
}

void ReliefDialog::setRunning(bool running) {
    running_ = running;
    for (int id : kIdleControls) view_.enable(id, !running);
    view_.enable(kReliefEndJob, running && c_.job.running);
}

// The main window's emergency-stop button, for the time the dialog hides it.
void ReliefDialog::emergencyStop() {
    Machine& m = c_.machine;
    if (!PressEmergencyStopButton(m))
        host_.messageBox("?", kEmergencyInputStillActive, Buttons::Ok, Icon::Warning);
    view_.setCheck(kReliefEmergencyStop, m.signals.estopActive.load() != 0);
}

}  // namespace korvex
