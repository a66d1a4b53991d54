#include "vector/model_commands.h"

#include "motion/machine.h"
#include "platform/dialog_view.h"
#include "platform/host.h"
#include "vector/hpgl_reader.h"
#include "vector/model_transform.h"

namespace korvex {

using namespace model_panel;

namespace {
constexpr int32_t kKindOfFilter[] = {kHpglCorel, kHpglArtCam, kHpglSprint, kHpglGeneric};
constexpr int kFilterCount = 4;

int FilterOfKind(int32_t kind) {
    for (int i = 0; i < kFilterCount; ++i)
        if (kKindOfFilter[i] == kind) return i + 1;
    return 1;
}
}  // namespace

int openVectorFile(VectorModel& model, MainPreview& preview, const MachineSettings& settings,
                   EventLog& log, Host& host) {
    const std::vector<FileFilter> filters =
        settings.language == 0
            ? std::vector<FileFilter>{{"Vektorový soubor HPGL CorelDraw (*.plt)", "*.plt"},
                                      {"Vektorový soubor HPGL ArtCam 2018(*.art)", "*.art"},
                                      {"Vektorový soubor HPGL SprintLayout(*.plt)", "*.plt"},
                                      {"Vektorový soubor HPGL obecný (*.plt;*.hpgl)",
                                       "*.plt;*.hpgl"}}
            : std::vector<FileFilter>{{"Vector file HPGL CorelDraw(*.plt)", "*.plt"},
                                      {"Vector file HPGL ArtCam 2018(*.art)", "*.art"},
                                      {"Vector file HPGL SprintLayout(*.plt)", "*.plt"},
                                      {"Vector file HPGL generic (*.plt;*.hpgl)", "*.plt;*.hpgl"}};
    const FileChoice choice = host.openFile(filters, FilterOfKind(model.sourceKind));
    if (!choice.chosen) return 0;
    const int32_t kind = choice.filterIndex >= 1 && choice.filterIndex <= kFilterCount
                             ? kKindOfFilter[choice.filterIndex - 1]
                             : kHpglCorel;
    LoadVectorFile(model, choice.path, kind, settings, log, host);
    computeMainPreviewScale(preview, model, settings);
    if (model.loaded) preview.image.reset();
    return 1;
}

VectorModelPanel::VectorModelPanel(VectorModel& model, MainPreview& preview, ModelResize& resize,
                                   Machine& machine, DialogView& window, Host& host,
                                   CanvasFactory factory)
    : model_(model),
      preview_(preview),
      resize_(resize),
      machine_(machine),
      window_(window),
      host_(host),
      factory_(std::move(factory)) {}

void VectorModelPanel::load() {
    if (!openVectorFile(model_, preview_, machine_.settings, machine_.log, host_)) return;
    drawPreview();
}

bool VectorModelPanel::onCommand(int id) {
    switch (id) {
        case kToLeft:
            transform(kTurnLeft);
            return true;
        case kToRight:
            transform(kTurnRight);
            return true;
        case kVertical:
            transform(kMirrorX);
            return true;
        case kHorizont:
            transform(kMirrorY);
            return true;
        case kScaleUp:
            ++resize_.scalePercent;
            showNewSize();
            return true;
        case kScaleDown:
            if (resize_.scalePercent > 1) --resize_.scalePercent;
            showNewSize();
            return true;
        case kCalc:
            if (model_.hasHpgl())
                transform(kResize);
            else
                showNewSize();
            return true;
        default:
            return false;
    }
}

void VectorModelPanel::transform(int mode) {
    if (!model_.hasHpgl()) {
        machine_.log.say({"Nejprve nacti soubor hpgl!", "At first, u must choose file hpgl!"},
                         false, true);
        return;
    }
    transformVectorModel(model_, mode, resize_.scalePercent, machine_.log);
    preview_.image.reset();
    showModelSize();
    computeMainPreviewScale(preview_, model_, machine_.settings);
    drawPreview();
}

void VectorModelPanel::showNewSize() {
    const MachineSettings& s = machine_.settings;
    resize_.newWidth = static_cast<int32_t>(model_.width * double(resize_.scalePercent) / 100);
    resize_.newHeight = static_cast<int32_t>(model_.height * double(resize_.scalePercent) / 100);
    window_.setText(kScalePercent, Format("%d %%", resize_.scalePercent));
    window_.setText(kNewWidth, Format("%7.2fmm", resize_.newWidth * s.mmPerStepX));
    window_.setText(kNewHeight, Format("%7.2fmm", resize_.newHeight * s.mmPerStepY));
}

// A vector drawing has no Z extent.
void VectorModelPanel::showModelSize() {
    const MachineSettings& s = machine_.settings;
    window_.setText(kModelSize,
                    Format("x:%.2fmm y:%.2fmm z:%.2fmm", model_.displayWidth * s.mmPerStepX,
                           model_.displayHeight * s.mmPerStepY, 0.0));
}

void VectorModelPanel::drawPreview() {
    drawMainPreview(preview_, model_, machine_.settings, window_.canvas(0), factory_);
    window_.invalidate();
}

}  // namespace korvex
