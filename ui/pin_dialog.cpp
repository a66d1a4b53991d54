#include "ui/pin_dialog.h"

#include "platform/dialog_view.h"
#include "settings/machine_settings.h"

namespace korvex {

using namespace pindlg;

namespace {

constexpr int kOutputRows = 8, kInputRows = 5;

constexpr int MachineSettings::*kOutputMasks[kOutputRows] = {
    &MachineSettings::pinStepX,  &MachineSettings::pinDirX,  &MachineSettings::pinStepY,
    &MachineSettings::pinDirY,   &MachineSettings::pinStepZ, &MachineSettings::pinDirZ,
    &MachineSettings::pinStepS4, &MachineSettings::pinDirS4};
constexpr int MachineSettings::*kInputMasks[kInputRows] = {
    &MachineSettings::pinLimitX, &MachineSettings::pinLimitY, &MachineSettings::pinLimitZ,
    &MachineSettings::pinZSensor, &MachineSettings::pinEmergency};

struct Switch {
    int id;
    int MachineSettings::*field;
    const char* caption;
};
constexpr Switch kSwitches[] = {
    {kInvertPin1, &MachineSettings::invertPin1, "INV (pin1) Machine On/Off"},
    {kInvertPin14, &MachineSettings::invertPin14, "INV (pin14) Spindle On/Off"},
    {kInvertPin16, &MachineSettings::invertPin16, "INV (pin16) Emergency"},
    {kInvertPin17, &MachineSettings::invertPin17, "INV (pin17) X2"},
    {kInvertSwitches, &MachineSettings::invertSwitches, "INV konc (final)"},
    {kInvertEmergency, &MachineSettings::invertEmergency, "INV Emergency Stop"},
};

}  // namespace

const char* PinDialog::outputRowCaption(int row) {
    static const char* const kCaptions[kOutputRows] = {
        "krok X (stepX)", "směr X (dirX)", "krok Y (stepY)",   "směr Y (dirY)",
        "krok Z (stepZ)", "směr Z (dirZ)", "krok S4 (stepS4)", "směr S4 (dirS4)"};
    return kCaptions[row];
}

const char* PinDialog::inputRowCaption(int row) {
    static const char* const kCaptions[kInputRows] = {
        "koncX (finalX)", "koncY (finalY)", "koncZ (finalZ)", "kalibration Z", "Emergency Stop"};
    return kCaptions[row];
}

void PinDialog::onInit() {
    for (const Switch& w : kSwitches) view_.setText(w.id, w.caption);
    view_.setText(kOk, "Ok");
    view_.setText(kDefaults, "základní (default)");
    refresh();
}

// A mask matching no column (several bits, or none) leaves its row empty.
void PinDialog::refresh() {
    for (int id = kOutputs; id <= kLastRadio; ++id) view_.setCheck(id, false);
    for (int row = 0; row < kOutputRows; ++row)
        for (int k = 0; k < 8; ++k)
            if (s_.*(kOutputMasks[row]) == (128 >> k)) view_.setCheck(kOutputs + 8 * row + k, true);
    for (int row = 0; row < kInputRows; ++row)
        for (int k = 0; k < 5; ++k)
            if (s_.*(kInputMasks[row]) == (128 >> k)) view_.setCheck(kInputs + 5 * row + k, true);
    for (const Switch& w : kSwitches) view_.setCheck(w.id, s_.*(w.field) != 0);
}

void PinDialog::onCommand(int id) {
    if (id >= kOutputs && id < kInputs) {
        const int i = id - kOutputs;
        s_.*(kOutputMasks[i / 8]) = 128 >> (i % 8);
        refresh();
        return;
    }
    if (id >= kInputs && id <= kLastRadio) {
        const int i = id - kInputs;
        s_.*(kInputMasks[i / 5]) = 128 >> (i % 5);
        refresh();
        return;
    }
    for (const Switch& w : kSwitches) {
        if (w.id != id) continue;
        s_.*(w.field) = s_.*(w.field) ? 0 : 1;
        view_.setCheck(id, s_.*(w.field) != 0);
        return;
    }
    if (id == kOk) {
        view_.end(kResultOk);
    } else if (id == kDefaults) {
        DefaultPinAssignment(s_);
        refresh();
    }
}

}  // namespace korvex
