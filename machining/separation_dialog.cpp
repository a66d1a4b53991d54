#include "machining/separation_dialog.h"

#include <cstdint>

#include "log/captions.h"
#include "log/event_log.h"
#include "machining/job_input.h"
#include "motion/job_sink.h"
#include "motion/rounding.h"
#include "platform/dialog_view.h"

namespace korvex {

namespace {

// The refusal of a job the free space cannot hold, with the capacity that
// would suffice.
constexpr Text kSeparationShortfall{
    "Takto zadany pohyb presahuje velikost zasobniku o %d,\n upravte velikost "
    "zasobniku na %d nebo zmensete rozsahy",
    "Not enought space in buffer for this work around %d,\n please set more space "
    "plus %d or reduce the limits"};

}  // namespace

void SeparationDialog::onInit() {
    ShowCaptions(view_, machine_.settings.language,
                 {{kSeparationDepthCaption, kSeparationDepthLabel},
                  {kSeparationSizeXCaption, kSeparationSizeXLabel},
                  {kSeparationSizeYCaption, kSeparationSizeYLabel},
                  {kSeparationCutCaption, kSeparationCutLabel},
                  {kSeparationFeedCaption, kSeparationFeedLabel},
                  {kSeparationCancel, kSeparationCancelCaption}});
    show(kSeparationFeed, Format("%6.2f", values_.feed));
    show(kSeparationCut, Format("%6.2f", values_.cut * machine_.settings.mmPerStepZ));
    for (int id : {kSeparationDepth, kSeparationSizeX, kSeparationSizeY}) show(id, "0");
    chooseShape(SeparationShape::Rectangle);
}

// The text goes through the change handler as if typed, so the value in force
// is the one shown whether or not the view reports its own changes.
void SeparationDialog::show(int id, const std::string& text) {
    view_.setText(id, text);
    onEditChange(id);
}

void SeparationDialog::chooseShape(SeparationShape shape) {
    job_.shape = shape;
    view_.setCheck(kSeparationRectangle, shape == SeparationShape::Rectangle);
    view_.setCheck(kSeparationCircle, shape == SeparationShape::Circle);
}

void SeparationDialog::onEditChange(int id) {
    const MachineSettings& s = machine_.settings;
    const double value = ReadEditNumber(view_.text(id));
    switch (id) {
        case kSeparationDepth:
            job_.depth = MmToSteps(value, s.mmPerStepZ);
            break;
        case kSeparationSizeX:
            job_.sizeX = readSize(id, s.mmPerStepX);
            break;
        case kSeparationSizeY:
            job_.sizeY = readSize(id, s.mmPerStepY);
            break;
        case kSeparationCut:
            values_.cut = CutSteps(value, s.mmPerStepZ);
            break;
        case kSeparationFeed:
            values_.feed = value < 0 ? s.cuttingSpeed : static_cast<float>(value);
            break;
    }
}

// A negative size becomes 0, and the edit says so.
int32_t SeparationDialog::readSize(int id, float mmPerStep) {
    const int32_t steps = MmToSteps(ReadEditNumber(view_.text(id)), mmPerStep);
    if (steps >= 0) return steps;
    show(id, "0 mm");
    return 0;
}

void SeparationDialog::onCommand(int id) {
    switch (id) {
        case kSeparationRectangle:
            chooseShape(SeparationShape::Rectangle);
            break;
        case kSeparationCircle:
            chooseShape(SeparationShape::Circle);
            break;
        case kSeparationOk:
            start();
            break;
        case kSeparationCancel:
            view_.end(kResultCancel);
            break;
    }
}

void SeparationDialog::onClose() {
    view_.end(kResultCancel);
}

void SeparationDialog::start() {
    if (!AcceptJobInput(machine_.log, values_.feed, job_.depth, job_.sizeX, job_.sizeY)) return;
    const int32_t cycles = SeparationCycles(job_.depth, values_.cut);
    if (job_.shape == SeparationShape::Circle && !buildCircle(cycles)) return;
    if (QueueJob(
            machine_,
            [&](bool countOnly) {
                return GenerateSeparation(machine_, job_, values_, circle_, countOnly);
            },
            kSeparationShortfall))
        view_.end(kResultOk);
}

// A lap holds at least 4 r moves (x runs from r to -r and back), so a circle
// that could not fit even then is refused before its table is built: for a
// mistyped diameter that would take long and much memory. The shortfall it
// names is then a least one.
bool SeparationDialog::buildCircle(int32_t cycles) {
    const int64_t radius = job_.sizeX - job_.sizeX / 2;
    const int64_t least = (4 * radius + 3) * cycles + 4;
    if (!FreeSlotsHold(machine_, least, kSeparationShortfall)) return false;
    Text failure{};
    if (!BuildSeparationCircle(circle_, job_.sizeX, failure)) {
        machine_.log.say(failure, true, true);
        return false;
    }
    machine_.log.say({"spoctení kruhove interpolace OK", "calculation of circle interpolation OK"},
                     true, false);
    return true;
}

}  // namespace korvex
