#include "ui/settings_dialog.h"

#include <gtest/gtest.h>

#include <map>

#include "motion/port.h"
#include "platform/headless.h"
#include "settings/config_file.h"
#include "tests/ui/recording_window.h"
#include "tests/ui/view_driver.h"

namespace korvex {
namespace {

using namespace setupdlg;
using test::Texts;

// A port whose data latch reads back what was written, or not (a dead latch
// reads 0x7F: not 170, and BUSY low keeps the emergency input released).
struct LatchPort final : PortIo {
    bool load() override { return true; }
    uint8_t in(uint16_t a) override { return dead ? 0x7F : regs[a]; }
    void out(uint16_t a, uint8_t v) override { regs[a] = v; }
    std::string name() const override { return "latch"; }
    std::map<uint16_t, uint8_t> regs;
    bool dead = false;
};

struct SettingsDialogTest : test::ControllerTest {
    MachineSettings& s = c.machine.settings;
    RecordingView view;
    ScriptedHost host;
    int pinsOpened = 0;
    SettingsDialog dialog{c.machine, view, host, dir.path(), false, [this] { ++pinsOpened; }};

    SettingsDialogTest() {
        s = FactorySettings();
        c.machine.log.setHost(&host);
    }
    void type(int id, const std::string& text) {
        for (size_t n = 1; n <= text.size(); ++n) {
            view.setText(id, text.substr(0, n));
            dialog.onEditChange(id);
        }
    }
};

TEST_F(SettingsDialogTest, TypingAStepSizePassesThroughTheFloorAndTheDerivedFieldsFollow) {
    s.cuttingSpeed = 2.0f;
    s.mmPerStepY = 0.1f;
    s.moveSpeedX = 5.0f;
    s.accelSpeedX = 7.5f;
    dialog.onInit();
    std::vector<float> seen;
    for (const std::string t : {"0", "0.", "0.0", "0.05"}) {
        view.setText(kStepX, t);
        dialog.onEditChange(kStepX);
        seen.push_back(s.mmPerStepX);
    }
    EXPECT_EQ(seen, (std::vector<float>{0.1f, 0.1f, 0.1f, 0.05f}));
    // A rule never rewrites the edit; 25.4 / 0.05f is just below 508,
    // truncated; the cutting frequency is the smaller of X's 40 Hz and Y's 20 Hz.
    EXPECT_EQ(Texts(view, {kStepX, kDpiX, kSpeedHzX, kAccelHzX, kCuttingHz}),
              "0.05 |   507 | f=100.0Hz | f=150.0Hz | f=20.0Hz");
}

// The step sizes are locked while a vector model is loaded.
TEST_F(SettingsDialogTest, FillShowsTheFieldsInTheirFormats) {
    s.commandCapacity = 50000;
    s.lptAddress = 0x378;
    s.driveMode = 3;
    s.language = 1;
    dialog.onInit();
    EXPECT_EQ(view.text(kBufferKb), "2343 kB");
    EXPECT_EQ(view.text(kLptAddress), "0x378");
    EXPECT_TRUE(view.isChecked(kStepDir));
    EXPECT_FALSE(view.isEnabled(kStepDir));
    EXPECT_TRUE(view.isChecked(kEnglish));
    EXPECT_FALSE(view.isChecked(kCzech));
    EXPECT_TRUE(view.isEnabled(kStepX));
    SettingsDialog locked{c.machine, view, host, dir.path(), true};
    locked.onInit();
    for (int a = 0; a < 3; ++a) EXPECT_FALSE(view.isEnabled(kStepX + a));
}

TEST_F(SettingsDialogTest, RulesOnChangeFloorTheFieldsAndTheAccelerationStaysAboveTheSpeed) {
    dialog.onInit();
    s.moveSpeedY = 10.0f;
    type(kAccelX + 1, "10");
    EXPECT_FLOAT_EQ(s.accelSpeedY, 11.0f);
    type(kAccelX + 1, "12");
    EXPECT_FLOAT_EQ(s.accelSpeedY, 12.0f);
    type(kRampSteps, "50");
    EXPECT_EQ(s.rampSteps, 100);
    type(kRefresh, "0");
    EXPECT_EQ(s.refreshMs, 500);
    type(kPlunge, "0.05");
    EXPECT_FLOAT_EQ(s.plungeSpeed, 0.1f);
    type(kTravelX, "-3");
    EXPECT_FLOAT_EQ(s.travelX, 0.0f);
    type(kSafeHeight, "-1");
    EXPECT_FLOAT_EQ(s.safeHeight, 0.1f);
    type(kCommands, "1000");
    EXPECT_EQ(view.text(kBufferKb), "46 kB");
    type(kComAddress, "0x2F8");
    EXPECT_EQ(s.comAddress, 0x2F8);
}

TEST_F(SettingsDialogTest, SpindleAndLaserFollowEachOther) {
    s.switchSpindle = 0;
    s.laserPenMode = 0;
    dialog.onInit();
    dialog.onCommand(kLaser);
    EXPECT_EQ(s.laserPenMode, 1);
    EXPECT_EQ(s.switchSpindle, 1);
    EXPECT_TRUE(view.isChecked(kSwitchSpindle));
    dialog.onCommand(kSwitchSpindle);
    EXPECT_EQ(s.switchSpindle, 0);
    EXPECT_EQ(s.laserPenMode, 0);
    EXPECT_FALSE(view.isChecked(kLaser));
}

TEST_F(SettingsDialogTest, LanguageSwitchEndsWithSixOnlyForTheOtherLanguage) {
    dialog.onInit();
    dialog.onCommand(kCzech);
    EXPECT_FALSE(view.ended);
    dialog.onCommand(kEnglish);
    EXPECT_EQ(view.endResult, kResultLanguage);
    EXPECT_EQ(s.language, 1);
}

TEST_F(SettingsDialogTest, ASaveThatCannotWriteEndsWithThree) {
    SettingsDialog broken{c.machine, view, host, dir.file("missing/folder"), false};
    broken.onInit();
    broken.onCommand(kSave);
    EXPECT_EQ(view.endResult, kResultFailed);
    ASSERT_FALSE(host.boxes.empty());
    EXPECT_EQ(host.boxes.back().text, "program prerusen, zapis souboru nastaveni selhal");
}

TEST_F(SettingsDialogTest, LoadAndSaveAsFilesAndTheirCancelledDialogs) {
    s.language = 1;
    dialog.onInit();
    dialog.onCommand(kLoadFile);  // cancelled
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].text, "read setup failed, using default");
    EXPECT_EQ(host.fileDialogs[0][0].description, "File of setup (*.dat)");

    s.cutDepth = 0.7f;
    host.files.push_back({true, dir.file("mine"), 1});
    dialog.onCommand(kSaveFile);
    EXPECT_EQ(dir.read("mine.dat"), SettingsFileText(s));

    s.cutDepth = 3.0f;
    host.files.push_back({true, dir.file("mine.dat"), 1});
    dialog.onCommand(kLoadFile);
    EXPECT_FLOAT_EQ(s.cutDepth, 0.7f);
    EXPECT_EQ(view.text(kCutDepth), "    0.70 mm");
}

TEST_F(SettingsDialogTest, PortTestTicksOnlyWhenTheLatchReadsBackAndFactoryRefills) {
    LatchPort port;
    c.machine.port.io = &port;
    dialog.onInit();
    dialog.onCommand(kTestLpt);
    EXPECT_TRUE(view.isChecked(kPortOk));
    EXPECT_EQ(c.machine.signals.portReady.load(), 1);
    EXPECT_EQ(port.regs[static_cast<uint16_t>(s.lptAddress + 2)], 11);
    // 170 would drive every inverted step line active: not during a stop.
    ASSERT_TRUE(PressEmergencyStopButton(c.machine));
    port.regs.clear();
    dialog.onCommand(kTestLpt);
    EXPECT_EQ(port.regs.count(static_cast<uint16_t>(s.lptAddress)), 0u);
    ASSERT_TRUE(PressEmergencyStopButton(c.machine));
    port.dead = true;
    type(kLptAddress, "0x278");
    EXPECT_EQ(s.lptAddress, 0x278);
    EXPECT_FALSE(view.isChecked(kPortOk));
    EXPECT_EQ(c.machine.signals.portReady.load(), 0);
    c.machine.port.io = nullptr;

    dialog.onCommand(kFactory);
    EXPECT_EQ(s, FactorySettings());
    EXPECT_EQ(view.text(kLptAddress), Format("0x%.3X", FactorySettings().lptAddress));
    dialog.onCommand(kPins);
    EXPECT_EQ(pinsOpened, 1);
}

}  // namespace
}  // namespace korvex
