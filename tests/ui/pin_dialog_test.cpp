#include "ui/pin_dialog.h"

#include <gtest/gtest.h>

#include "platform/headless.h"
#include "settings/machine_settings.h"

namespace korvex {
namespace {

using namespace pindlg;

struct PinDialogTest : ::testing::Test {
    MachineSettings s = FactorySettings();
    RecordingView view;
    PinDialog dialog{s, view};

    std::vector<int> checkedRadios() const {
        std::vector<int> ids;
        for (int id = kOutputs; id <= kLastRadio; ++id)
            if (view.isChecked(id)) ids.push_back(id);
        return ids;
    }
};

TEST_F(PinDialogTest, DefaultsShowTheOutputDiagonalAndTheInputColumns) {
    s.pinStepX = 3;  // two bits: no column
    s.drawByRefresh = 0;
    s.invertEmergency = 1;
    dialog.onInit();
    EXPECT_EQ(view.isChecked(kOutputs + 7), false);
    for (int id : checkedRadios()) EXPECT_GE(id, kOutputs + 8);  // row 0 empty
    dialog.onCommand(kDefaults);
    EXPECT_EQ(s.drawByRefresh, 1);
    EXPECT_EQ(s.invertEmergency, 1);  // not part of the defaults
    // Row i sits on column 7 - i: step X on D0 at the top right, dir S4 on
    // D7 at the bottom left; then limit X on PE, Y on SLCT IN, Z on ERR,
    // the sensor on ACK and the emergency stop on BUSY.
    std::vector<int> expect;
    for (int row = 0; row < 8; ++row) expect.push_back(kOutputs + 8 * row + 7 - row);
    for (int col : {2, 3, 4, 1, 0}) expect.push_back(kInputs + 5 * (expect.size() - 8) + col);
    EXPECT_EQ(checkedRadios(), expect);
    EXPECT_TRUE(view.isChecked(kInvertSwitches));
    EXPECT_TRUE(view.isChecked(kInvertEmergency));
}

TEST_F(PinDialogTest, ARadioSetsItsRowAndTwoRowsMayShareABit) {
    dialog.onInit();
    dialog.onCommand(kOutputs + 8 * 1 + 7);  // dir X to D0, where step X already is
    EXPECT_EQ(s.pinDirX, 1);
    EXPECT_EQ(s.pinStepX, 1);
    EXPECT_TRUE(view.isChecked(kOutputs + 7));
    EXPECT_TRUE(view.isChecked(kOutputs + 15));
    EXPECT_FALSE(view.isChecked(kOutputs + 8 + 6));
    dialog.onCommand(kInputs + 5 * 4 + 4);  // emergency stop to ERR
    EXPECT_EQ(s.pinEmergency, 8);
    EXPECT_FALSE(view.isChecked(kInputs + 20));
    dialog.onCommand(kInvertPin17);
    EXPECT_EQ(s.invertPin17, 1);
    EXPECT_TRUE(view.isChecked(kInvertPin17));
    dialog.onCommand(kOk);
    EXPECT_EQ(view.endResult, kResultOk);
}

}  // namespace
}  // namespace korvex
