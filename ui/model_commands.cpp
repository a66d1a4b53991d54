#include "ui/model_commands.h"

#include "log/text.h"
#include "ui/controller.h"
#include "ui/main_ids.h"
#include "ui/status_display.h"
#include "ui/window_view.h"
#include "vector/model_transform.h"
#include "vector/vector_file_dialog.h"

namespace korvex {

using namespace mainwin;

void ModelCommands::load(Host& host) {
    Machine& m = c_.machine;
    if (openVectorFile(c_.vector, c_.preview, m.settings, m.log, host)) loaded();
}

void ModelCommands::load(const std::string& path) {
    Machine& m = c_.machine;
    openVectorPath(c_.vector, c_.preview, path, kHpglGeneric, m.settings, m.log, host_);
    loaded();
}

void ModelCommands::loaded() {
    // The new drawing replaces the last job's toolpath in the preview.
    if (c_.vector.loaded) c_.track.clear();
    updateControls();
    status_.showModelInfo();
    view_.invalidate();
}

void ModelCommands::updateControls() {
    // G-code needs no loaded drawing: its dialog reads its own program.
    for (int id : {kMenuHpgl, kMenuRaster}) view_.enableMenuItem(id, false);
    for (int id : {kScaleUp, kScaleDown, kScaleCalc}) view_.enable(id, false);
    if (!c_.vector.hasHpgl()) return;
    view_.enableMenuItem(kMenuHpgl, true);
    for (int id : {kScaleUp, kScaleDown, kScaleCalc}) view_.enable(id, true);
    showNewSize();
}

void ModelCommands::showNewSize() {
    OperatorState& op = c_.op;
    const MachineSettings& s = c_.machine.settings;
    op.newSizeX =
        static_cast<int32_t>(c_.vector.width * static_cast<double>(op.scalePercent) / 100);
    op.newSizeY =
        static_cast<int32_t>(c_.vector.height * static_cast<double>(op.scalePercent) / 100);
    view_.setText(kScalePercent, Format("%d %%", op.scalePercent));
    view_.setText(kNewSizeX, Format("%7.2fmm", static_cast<double>(op.newSizeX * s.mmPerStepX)));
    view_.setText(kNewSizeY, Format("%7.2fmm", static_cast<double>(op.newSizeY * s.mmPerStepY)));
}

void ModelCommands::scale(int delta) {
    OperatorState& op = c_.op;
    if (delta > 0) ++op.scalePercent;
    if (delta < 0 && op.scalePercent > 1) --op.scalePercent;
    showNewSize();
}

void ModelCommands::applyScale() {
    if (c_.vector.hasHpgl())
        transformVectorModel(c_.vector, kResize, c_.op.scalePercent, c_.machine.log);
    afterChange();
}

void ModelCommands::turn(int mode) {
    if (!c_.vector.hasHpgl()) {
        c_.machine.log.say({"Nejprve nacti soubor hpgl!", "At first, u must choose file hpgl!"},
                           false, true);
        return;
    }
    transformVectorModel(c_.vector, mode, c_.op.scalePercent, c_.machine.log);
    afterChange();
}

void ModelCommands::afterChange() {
    c_.preview.image.reset();
    c_.track.clear();
    computeMainPreviewScale(c_.preview, c_.vector, c_.machine.settings);
    status_.showModelInfo();
    showNewSize();
    view_.invalidate();
}

}  // namespace korvex
