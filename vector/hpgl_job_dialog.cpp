#include "vector/hpgl_job_dialog.h"

#include <algorithm>

#include "log/captions.h"
#include "log/event_log.h"
#include "log/text.h"
#include "motion/job_sink.h"
#include "motion/rounding.h"
#include "platform/dialog_view.h"
#include "platform/edit_number.h"
#include "platform/host.h"
#include "vector/model_geometry.h"
#include "vector/travel_order.h"

namespace korvex {

using namespace hpgl_job;

namespace {

constexpr int kPageStep = 20;

}  // namespace

HpglJobDialog::HpglJobDialog(VectorModel& model, VectorJobRepeat& repeat, Machine& machine,
                             DialogView& view, Host& host, CanvasFactory factory)
    : model_(model),
      repeat_(repeat),
      machine_(machine),
      view_(view),
      host_(host),
      factory_(std::move(factory)) {}

std::string HpglJobDialog::caption(Text text) const {
    return Caption(machine_.settings.language, text);
}

std::string HpglJobDialog::title() const {
    return caption({"nastavení HPGL-1/2", "HPGL-1/2 settings"});
}

void HpglJobDialog::onInit() {
    const MachineSettings& s = machine_.settings;
    ShowCaptions(view_, s.language,
                 {{kFileCaption, {"soubor", "file"}}, {kTravelCaption, {"přejíždění", "travel"}}});
    for (int i = 0; i < model_.penCount; ++i) {
        PenLayer& layer = model_.pens[i];
        if (layer.feed == 0) layer.feed = s.cuttingSpeed;
        if (layer.passDepth == 0) layer.passDepth = s.cutDepth;
        OptimiseLayerTravel(model_, layer, s, machine_.log);
    }
    if (model_.cutOrder.count == 0) model_.cutOrder.slots.fill(-1);
    layer_ = 0;
    showTotals();
    showLayer();
    showOrder();
    updateReady();
    preview_.hPos = preview_.vPos = 0;
    preview_.zoom = 1;
    view_.setScrollPos(kHorizontalScroll, 0);
    view_.setScrollPos(kVerticalScroll, 0);
    showScrollPosition();
    redrawPreview(true);
    view_.setText(kCountX, Format("%d", repeat_.countX));
    view_.setText(kCountY, Format("%d", repeat_.countY));
    view_.setText(kSpacing, Format("%.2f", repeat_.spacing));
    showRepeat();
}

void HpglJobDialog::onCommand(int id) {
    switch (id) {
        case kPreviousLayer:
            browse(-1);
            break;
        case kNextLayer:
            browse(+1);
            break;
        case kEnabled:
            toggleEnabled();
            break;
        case kChangeTool:
            layer().changeTool = !layer().changeTool;
            view_.setCheck(kChangeTool, layer().changeTool);
            break;
        case kOneWay:
            model_.pens[0].oneWay = !model_.pens[0].oneWay;
            view_.setCheck(kOneWay, model_.pens[0].oneWay);
            break;
        case kCounterClockwise:
            reverseDirection();
            break;
        case kLayerUp:
            moveInOrder(-1);
            break;
        case kLayerDown:
            moveInOrder(+1);
            break;
        case kZoomIn:
            zoom(+1);
            break;
        case kZoomOut:
            zoom(-1);
            break;
        case kStart:
            start();
            break;
        case kCancel:
            view_.end(kResultCancel);
            break;
        default:
            break;
    }
}

void HpglJobDialog::onEditChange(int id) {
    const MachineSettings& s = machine_.settings;
    switch (id) {
        case kDepth:
            setDepth();
            break;
        case kPassDepth:
            setPassDepth();
            break;
        case kFeed:
            setFeed();
            break;
        case kCountX:
            repeat_.countX = std::max(1, ReadEditInteger(view_.text(kCountX)));
            showRepeat();
            break;
        case kCountY:
            repeat_.countY = std::max(1, ReadEditInteger(view_.text(kCountY)));
            showRepeat();
            break;
        case kSpacing:
            SetRepeatSpacing(repeat_, static_cast<float>(ReadEditNumber(view_.text(kSpacing))), s);
            showRepeat();
            break;
        default:
            break;
    }
}

void HpglJobDialog::onScroll(int id, int request, int pos) {
    if (id != kHorizontalScroll && id != kVerticalScroll) return;
    const bool horizontal = id == kHorizontalScroll;
    int& position = horizontal ? preview_.hPos : preview_.vPos;
    const int range = horizontal ? preview_.hRange : preview_.vRange;
    switch (request) {
        case kScrollLineUp:
            position = std::max(0, position - 1);
            break;
        case kScrollLineDown:
            position = std::min(range, position + 1);
            break;
        case kScrollPageUp:
            if (position > kPageStep) position -= kPageStep;
            break;
        case kScrollPageDown:
            if (position <= range - kPageStep) position += kPageStep;
            break;
        case kScrollThumbPosition:
        case kScrollThumbTrack:
            position = std::clamp(pos, 0, range);
            break;
        case kScrollTop:
            position = 0;
            break;
        case kScrollBottom:
            position = range;
            break;
        default:
            break;
    }
    view_.setScrollPos(id, position);
    showScrollPosition();
    redrawPreview(true);
}

void HpglJobDialog::onPaint() {
    redrawPreview(false);
}

void HpglJobDialog::onClose() {
    view_.end(kResultOk);
}

void HpglJobDialog::showTotals() {
    view_.setText(kSourcePath, model_.sourcePath);
    view_.setText(kPenCount,
                  FormatCaption(machine_.settings.language,
                                {"počet per/vrstev %5d", "number of pens %5d"}, model_.penCount));
    view_.setText(kObjectCount, FormatCaption(machine_.settings.language,
                                              {"počet objektů %10d", "number of objects %10d"},
                                              model_.objectCount()));
    showPathLength();
}

void HpglJobDialog::showPathLength() {
    double steps = 0;
    for (int i = 0; i < model_.penCount; ++i)
        if (model_.pens[i].enabled) steps += model_.pens[i].length;
    double length = steps * StepLengthMm(machine_.settings);
    // The unit grows while the number stays above 100.
    const Text units[] = {{"délka dráhy %7.2fmm", "way length %7.2fmm"},
                          {"délka dráhy %7.2fcm", "way length %7.2fcm"},
                          {"délka dráhy %7.2fm", "way length %7.2fm"},
                          {"délka dráhy %7.2fkm", "way length %7.2fkm"}};
    const double divisors[] = {1, 10, 100, 1000};
    int unit = 0;
    while (unit < 3 && length > 100) length /= divisors[++unit];
    view_.setText(kPathLength, FormatCaption(machine_.settings.language, units[unit], length));
}

void HpglJobDialog::showLayer() {
    const int language = machine_.settings.language;
    const PenLayer& l = layer();
    view_.setText(kLayerNumber, Format("%d/%d", layer_ + 1, model_.penCount));
    view_.setCheck(kEnabled, l.enabled);
    view_.setCheck(kChangeTool, l.changeTool);
    view_.setCheck(kCounterClockwise, l.counterClockwise);
    view_.setCheck(kOneWay, model_.pens[0].oneWay);
    view_.setText(kDepth, Format("%7.2fmm", l.depth));
    view_.setText(kPassDepth, Format("%7.2fmm", l.passDepth));
    view_.setText(kFeed, Format("%7.2fmm/s", l.feed));
    view_.setText(kTravel, Format("%0.2fmm", l.travel));
    view_.setText(kLayerLength, FormatCaption(language, {"délka %7.2fmm", "length %7.2fmm"},
                                              l.length * StepLengthMm(machine_.settings)));
    view_.setText(kLayerObjects, FormatCaption(language, {"objektů %ld", "objects %ld"},
                                               static_cast<long>(l.objectCount())));
}

void HpglJobDialog::showOrder() {
    const int language = machine_.settings.language;
    const CutOrder& order = model_.cutOrder;
    std::string lines;
    for (int i = 0; i < kCutOrderSlots; ++i) {
        if (i > 0) lines += '\n';
        lines += FormatCaption(language, {"pořadí %3d. - vrstva %d", "seq.nr. %3d. - pen nr. %d"},
                               i + 1, order.slots[i] + 1);
    }
    view_.setText(kOrderList, lines);
    view_.setText(kOrderCount,
                  FormatCaption(language, {"zařazených vrstev %d z %d", "pens in sequence %d z %d"},
                                order.count, model_.penCount));
}

void HpglJobDialog::showScrollPosition() {
    view_.setText(kScrollPosition, Format("X %d/%d, Y %d/%d, M: %d", preview_.hPos, preview_.hRange,
                                          preview_.vPos, preview_.vRange, preview_.zoom));
}

void HpglJobDialog::showRepeat() {
    const MachineSettings& s = machine_.settings;
    const int cx = repeat_.countX, cy = repeat_.countY;
    view_.setText(kRepeatSummary,
                  Format("Počet objektů (number of objects) %d, velikost (size):%.2fmm x%.2fmm",
                         ClampToInt32(int64_t{cx} * cy),
                         model_.width * s.mmPerStepX * cx + (cx - 1) * repeat_.spacing,
                         model_.height * s.mmPerStepY * cy + (cy - 1) * repeat_.spacing));
}

void HpglJobDialog::updateReady() {
    ready_ = model_.cutOrder.count > 0;
    for (int i = 0; i < model_.penCount; ++i)
        if (model_.pens[i].enabled && model_.pens[i].depth == 0) ready_ = false;
    view_.enable(kStart, ready_);
}

void HpglJobDialog::redrawPreview(bool discard) {
    if (discard) preview_.image.reset();
    drawJobPreview(preview_, model_, machine_.settings, layer_, view_, factory_);
    view_.invalidate();
}

void HpglJobDialog::browse(int step) {
    if (step < 0 && layer_ > 0) --layer_;
    if (step > 0 && layer_ < model_.penCount - 1) ++layer_;
    showLayer();
    redrawPreview(true);
}

void HpglJobDialog::toggleEnabled() {
    if (model_.penCount == 0) return;
    PenLayer& l = layer();
    l.enabled = !l.enabled;
    if (l.enabled && tableRefuses(l)) l.enabled = 0;
    view_.setCheck(kEnabled, l.enabled);
    showPathLength();
    CutOrder& order = model_.cutOrder;
    if (l.enabled && order.count < kCutOrderSlots) {
        order.slots[order.count++] = layer_;
    } else if (!l.enabled) {
        auto kept = std::remove(order.slots.begin(), order.slots.begin() + order.count, layer_);
        std::fill(kept, order.slots.end(), -1);
        order.count = static_cast<int32_t>(kept - order.slots.begin());
    }
    showOrder();
    updateReady();
}

bool HpglJobDialog::tableRefuses(const PenLayer& l) {
    const MachineSettings& s = machine_.settings;
    const MachinePosition& at = machine_.position;
    const int64_t freeX =
        int64_t{MmToSteps(s.travelX, s.mmPerStepX)} - model_.width - at.plannedX.load();
    const int64_t freeY =
        int64_t{MmToSteps(s.travelY, s.mmPerStepY)} - model_.height - at.plannedY.load();
    const int64_t freeZ = int64_t{MmToSteps(s.travelZ, s.mmPerStepZ)} -
                          (int64_t{at.plannedZ.load()} + MmToSteps(l.depth, s.mmPerStepZ));
    if (freeX >= 0 && freeY >= 0 && freeZ >= 0) return false;
    const double dX = std::min<int64_t>(freeX, 0) * double(s.mmPerStepX);
    const double dY = std::min<int64_t>(freeY, 0) * double(s.mmPerStepY);
    const double dZ = std::min<int64_t>(freeZ, 0) * double(s.mmPerStepZ);
    const Text abort{
        " tato předloha je větší než je velikost stolu o dX:%3.2f dY:%3.2f dZ:%3.2f \n protože je "
        "zapnuta kontrola mezí, frézování přerušeno",
        " this model is greater then table of machine about dX:%3.2f dY:%3.2f dZ:%3.2f \n but you "
        "choose check limits, cutting aborted"};
    const Text crop{
        " tato předloha je větší než je velikost stolu o dX:%3.2f dY:%3.2f dZ:%3.2f \n protože "
        "není zapnuta kontrola mezí, obraz se ořízne !",
        " this model is greater then table of machine about dX:%3.2f dY:%3.2f dZ:%3.2f \n but you "
        "choose not check limits, image will be cropped"};
    host_.messageBox("", FormatCaption(s.language, s.softLimits ? abort : crop, dX, dY, dZ),
                     Buttons::Ok, Icon::Information);
    return s.softLimits != 0;
}

void HpglJobDialog::moveInOrder(int step) {
    CutOrder& order = model_.cutOrder;
    auto at = std::find(order.slots.begin(), order.slots.begin() + order.count, layer_);
    const auto i = at - order.slots.begin();
    if (i < order.count && i + step >= 0 && i + step < order.count)
        std::swap(order.slots[i], order.slots[i + step]);
    showOrder();
}

void HpglJobDialog::reverseDirection() {
    PenLayer& l = layer();
    l.counterClockwise = !l.counterClockwise;
    for (int32_t index : l.objectOrder) {
        auto& points = model_.objects[index].points;
        std::reverse(points.begin(), points.end());
    }
    view_.setCheck(kCounterClockwise, l.counterClockwise);
    machine_.log.say(
        {"zmena smeru frezovani byla uspesne provedena", "change of cutting direction has set"},
        true, false);
    redrawPreview(true);
}

void HpglJobDialog::zoom(int step) {
    preview_.zoom = std::clamp(preview_.zoom + step, 1, kMaxJobPreviewZoom);
    redrawPreview(true);
    showScrollPosition();
}

void HpglJobDialog::start() {
    if (!ready_) return;
    // A depth typed after its layer was enabled, or a tool moved since,
    // is checked here too.
    const CutOrder& order = model_.cutOrder;
    for (int i = 0; i < order.count; ++i)
        if (tableRefuses(model_.pens[order.slots[i]])) return;
    if (QueueJob(machine_, [&](bool countOnly) {
            return generateVectorJob(machine_, model_, repeat_, countOnly);
        }))
        view_.end(kResultCancel);
}

void HpglJobDialog::setDepth() {
    const MachineSettings& s = machine_.settings;
    PenLayer& l = layer();
    l.depth = std::max(0.0f, static_cast<float>(ReadEditNumber(view_.text(kDepth))));
    const int32_t z = MmToSteps(l.depth, s.mmPerStepZ);
    for (int32_t index : l.objectOrder)
        for (VectorPoint& p : model_.objects[index].points) p.z = z;
    updateReady();
}

void HpglJobDialog::setPassDepth() {
    PenLayer& l = layer();
    const float typed = static_cast<float>(ReadEditNumber(view_.text(kPassDepth)));
    l.passDepth = typed < 0 ? l.depth : typed;
}

void HpglJobDialog::setFeed() {
    const MachineSettings& s = machine_.settings;
    const float typed = static_cast<float>(ReadEditNumber(view_.text(kFeed)));
    if (typed > s.cuttingSpeed) {
        host_.messageBox("?",
                         caption({"POZOR posuv je větší než maximální, nastaven bude maximální",
                                  "WARNING, cutting speed if greater than maximal, maximal value "
                                  "will be set"}),
                         Buttons::Ok, Icon::Question);
    }
    // A feed of 0 would never finish a cut: like a negative one it becomes
    // the maximum.
    layer().feed = typed > s.cuttingSpeed || typed <= 0 ? s.cuttingSpeed : typed;
}

}  // namespace korvex
