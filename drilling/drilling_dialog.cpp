#include "drilling/drilling_dialog.h"

#include <optional>
#include <string>

#include "drilling/drill_holes.h"
#include "drilling/drill_preview.h"
#include "drilling/drill_readers.h"
#include "drilling/drill_words.h"
#include "drilling/excellon_full.h"
#include "motion/machine.h"
#include "motion/probing.h"
#include "motion/rounding.h"
#include "platform/dialog_view.h"
#include "platform/host.h"

namespace korvex {

namespace {
struct ControlCaption {
    int id;
    const char* text;
};
constexpr ControlCaption kCaptions[] = {
    {kDrillLoadExcellon, "EXCELLON DATA"},
    {kDrillLoadSimple, "jednoduchá data \n SIMPLE DATA"},
    {kDrillLoadExcellonFull, "Excellon (plný) \n Excellon (full)"},
    {kDrillEnable, " vrtat / enable"},
    {kDrillNext, "vrták / drill +"},
    {kDrillPrevious, "vrták / drill -"},
    {kDrillCalibrate, "kalibrace vrtáku \n calibrate drill"},
    {kDrillTheseHoles, "vrtat tento vrtak \n drill these holes"},
    {kResultOk, "OK"},
    {kResultCancel, "Cancel"},
};
}  // namespace

DrillingDialog::DrillingDialog(Machine& m, DrillSet& set, DialogView& view, Host& host,
                               Calibrate calibrate)
    : m_(m), set_(set), view_(view), host_(host), calibrate_(std::move(calibrate)) {
    if (!calibrate_) calibrate_ = [this] { ProbeToolLength(m_, host_); };
}

void DrillingDialog::onInit() {
    for (const ControlCaption& c : kCaptions) view_.setText(c.id, c.text);
    displayed_ = 0;
    refresh();
}

void DrillingDialog::refresh() {
    const MachineSettings& s = m_.settings;
    // Without drills every field shows 0.
    const bool any = set_.toolCount > 0;
    const DrillTool none{};
    const DrillTool& tool = any ? set_.tools[displayed_] : none;
    refreshing_ = true;
    view_.setText(kDrillHoleCount, Format("%d", any ? set_.holeCount : 0));
    view_.setText(kDrillToolCount, Format("%d", any ? set_.toolCount : 0));
    view_.setText(kDrillFieldSize,
                  Format("%5.2fx%5.2f mm", any ? set_.fieldWidth * s.mmPerStepX : 0,
                         any ? set_.fieldHeight * s.mmPerStepY : 0));
    view_.setText(kDrillToolHoles, Format("Počet děr (holes) %d", tool.holeCount));
    view_.setText(kDrillDiameter, Format("%5.2fmm", tool.diameter));
    view_.setText(kDrillIndex, any ? Format("%d/%d", displayed_ + 1, set_.toolCount) : "0/0");
    view_.setText(kDrillDepth, Format("%5.2fmm", tool.depth * s.mmPerStepZ));
    view_.setCheck(kDrillEnable, tool.enabled != 0);
    refreshing_ = false;
    view_.invalidate();
}

void DrillingDialog::load(const std::function<int()>& read) {
    lastRead_ = read();
    fileChosen_ = fileChosen_ || lastRead_ != kDrillReadCancelled;
    displayed_ = 0;  // the new file's first drill
    refresh();
}

void DrillingDialog::loadExcellonFull() {
    std::string typed = view_.text(kDrillNumberFormat);
    std::erase(typed, ' ');
    const std::optional<ExcellonDigits> chosen =
        typed.empty() ? ExcellonDigits{} : ParseExcellonDigits(typed);
    if (!chosen) {
        m_.log.say({"Formát čísel zadejte jako počet číslic před a za tečkou, např. 2.4",
                    "Give the number format as the digits before and after the point, e.g. 2.4"},
                   true, true);
        lastRead_ = kDrillReadFailed;
        return;
    }
    load([&] { return readExcellonFullFile(m_, host_, set_, *chosen); });
}

void DrillingDialog::drillDisplayed() {
    lastDrill_ = 0;
    if (set_.toolCount > 0 && !set_.tools[displayed_].enabled) {
        const Text refusal{"Vrták %d není povolen k vrtání: zaškrtněte \"vrtat / enable\"",
                           "Drill %d is not enabled: tick \"vrtat / enable\" first"};
        if (auto pattern = Pick(m_.log.language(), refusal))
            LogLine(m_.log, Format(pattern->c_str(), displayed_ + 1), true, true);
        return;
    }
    if (set_.toolCount > 0 && beyondTravel(set_.tools[displayed_].depth)) return;
    lastDrill_ = drillHoles(m_, set_, displayed_);
}

// The hole's bottom from the planned position: the tool stands the height
// over the material above the field's origin.
bool DrillingDialog::beyondTravel(int32_t depth) {
    const MachineSettings& s = m_.settings;
    const int64_t bottom =
        int64_t{m_.position.plannedZ.load()} + MmToSteps(s.safeHeight, s.mmPerStepZ) + depth;
    const int64_t over = bottom - MmToSteps(s.travelZ, s.mmPerStepZ);
    if (over <= 0) return false;
    host_.messageBox("",
                     FormatCaption(m_.log.language(),
                                   {"Hloubka vrtání přesahuje dráhu osy Z o %3.2f mm, vrtání "
                                    "přerušeno",
                                    "The drilling depth goes beyond the Z travel by %3.2f mm, "
                                    "drilling aborted"},
                                   static_cast<double>(over * s.mmPerStepZ)),
                     Buttons::Ok, Icon::Information);
    return true;
}

void DrillingDialog::onCommand(int id) {
    switch (id) {
        case kDrillLoadExcellon:
            return load([this] { return readExcellonFile(m_, host_, set_); });
        case kDrillLoadSimple:
            return load([this] { return readSimpleDrillFile(m_, host_, set_); });
        case kDrillLoadExcellonFull:
            return loadExcellonFull();
        case kDrillEnable: {
            // The dialog owns the mark: a window that leaves the click's own
            // toggle to the logic shows the field as it now is.
            DrillTool& tool = set_.tools[displayed_];
            tool.enabled = tool.enabled ? 0 : 1;
            view_.setCheck(kDrillEnable, tool.enabled != 0);
            return;
        }
        case kDrillNext:
            if (displayed_ < set_.toolCount - 1) ++displayed_;
            return refresh();
        case kDrillPrevious:
            if (displayed_ > 0) --displayed_;
            return refresh();
        case kDrillCalibrate:
            return calibrate_();
        case kDrillTheseHoles:
            return drillDisplayed();
        case kResultOk:
        case kResultCancel:
            return view_.end(kResultOk);
    }
}

void DrillingDialog::onEditChange(int id) {
    // The refresh's own text is the depth in force already; reading it back
    // would round a depth that is not a whole number of mm down to one.
    if (id != kDrillDepth || refreshing_) return;
    const int mm = LeadingInteger(view_.text(kDrillDepth));
    const int steps = MmToSteps(mm, m_.settings.mmPerStepZ);
    set_.tools[displayed_].depth = steps < 0 ? 0 : steps;
}

void DrillingDialog::onPaint() {
    DrawDrillPreview(view_.canvas(0), set_, displayed_);
}

void DrillingDialog::onClose() {
    view_.end(kResultOk);
}

}  // namespace korvex
