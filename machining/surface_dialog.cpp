#include "machining/surface_dialog.h"

#include <algorithm>

#include "log/captions.h"
#include "log/event_log.h"
#include "machining/job_input.h"
#include "motion/job_sink.h"
#include "motion/rounding.h"
#include "platform/dialog_view.h"
#include "platform/host.h"

namespace korvex {

void SurfaceMillingDialog::onInit() {
    const MachineSettings& s = machine_.settings;
    ShowCaptions(view_, s.language,
                 {{kSurfaceDepthCaption, kSurfaceDepthLabel},
                  {kSurfaceSizeXCaption, kSurfaceSizeXLabel},
                  {kSurfaceSizeYCaption, kSurfaceSizeYLabel},
                  {kSurfaceCutCaption, kSurfaceCutLabel},
                  {kSurfaceFeedCaption, kSurfaceFeedLabel},
                  {kSurfacePitchCaption, kSurfacePitchLabel},
                  {kSurfaceStyleCaption, kSurfaceStyleGroup},
                  {kSurfaceCancel, kSurfaceCancelCaption}});
    show(kSurfaceFeed, Format("%6.2f mm/s", values_.feed));
    show(kSurfaceCut, Format("%6.2f mm", values_.cut * s.mmPerStepZ));
    for (int id : {kSurfaceSizeX, kSurfaceSizeY, kSurfaceDepth, kSurfacePitch}) show(id, "0.0 mm");
    writeSummary();
}

// The text goes through the change handler as if typed, so the value in force
// is the one shown whether or not the view reports its own changes.
void SurfaceMillingDialog::show(int id, const std::string& text) {
    view_.setText(id, text);
    onEditChange(id);
}

void SurfaceMillingDialog::onEditChange(int id) {
    const MachineSettings& s = machine_.settings;
    const double value = ReadEditNumber(view_.text(id));
    switch (id) {
        case kSurfaceDepth:
            job_.depth = MmToSteps(value, s.mmPerStepZ);
            break;
        case kSurfaceSizeX:
            job_.sizeX = MmToSteps(value, s.mmPerStepX);
            break;
        case kSurfaceSizeY:
            job_.sizeY = MmToSteps(value, s.mmPerStepY);
            break;
        case kSurfaceCut:
            values_.cut = CutSteps(value, s.mmPerStepZ);
            break;
        case kSurfaceFeed:
            values_.feed = value < 0 ? s.cuttingSpeed : static_cast<float>(value);
            break;
        case kSurfacePitch:
            job_.pitchX = std::max(1, MmToSteps(value, s.mmPerStepX));
            job_.pitchY = std::max(1, MmToSteps(value, s.mmPerStepY));
            break;
        default:
            return;
    }
    writeSummary();
}

void SurfaceMillingDialog::onCommand(int id) {
    switch (id) {
        case kSurfaceStartX:
            start(SurfaceStyle::StrokesAlongX);
            break;
        case kSurfaceStartY:
            start(SurfaceStyle::StrokesAlongY);
            break;
        case kSurfaceStartSpiral:
            start(SurfaceStyle::Spiral);
            break;
        case kSurfaceCancel:
            view_.end(kResultCancel);
            break;
    }
}

void SurfaceMillingDialog::onClose() {
    view_.end(kResultCancel);
}

bool SurfaceMillingDialog::confirmed(double seconds) {
    if (!host_) return true;
    const MachineSettings& s = machine_.settings;
    const std::string question = FormatCaption(
        machine_.log.language(),
        {"Přefrézovat plochu %.2f x %.2f mm: %d průchodů do hloubky %.2f mm, asi %.1f min. "
         "Začít?",
         "Mill the surface %.2f x %.2f mm: %d passes down to %.2f mm, about %.1f min. Start?"},
        job_.sizeX * s.mmPerStepX, job_.sizeY * s.mmPerStepY, SurfacePasses(job_, values_),
        job_.depth * s.mmPerStepZ, seconds / 60);
    return host_->messageBox("?", question, Buttons::YesNo, Icon::Question) == Answer::Yes;
}

void SurfaceMillingDialog::start(SurfaceStyle style) {
    double seconds = 0;  // the counted job's machine time
    lastStart_ = QueueJob(
        machine_,
        [&](bool countOnly) {
            return GenerateSurfaceMilling(machine_, job_, values_, countOnly, style,
                                          countOnly ? &seconds : nullptr);
        },
        {"Takto zadany pohyb presahuje velikost zasobniku o %d",
         "Not enought space in buffer space plus %d"},
        [&] { return confirmed(seconds); });
}

void SurfaceMillingDialog::writeSummary() {
    const MachineSettings& s = machine_.settings;
    view_.setText(kSurfaceSummary,
                  Format("%0.2fx%0.2f, h%0.2f/s%0.2f, rf%0.2f", job_.sizeX * s.mmPerStepX,
                         job_.sizeY * s.mmPerStepY, job_.depth * s.mmPerStepZ,
                         values_.cut * s.mmPerStepZ, values_.feed));
}

}  // namespace korvex
