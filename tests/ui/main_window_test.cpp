#include "ui/main_window.h"

#include <gtest/gtest.h>

#include <functional>

#include "platform/version.h"
#include "settings/config_file.h"
#include "tests/testkit/temp_dir.h"
#include "tests/ui/recording_window.h"
#include "tests/ui/view_driver.h"
#include "ui/controller.h"
#include "ui/main_ids.h"
#include "ui/settings_dialog.h"

namespace korvex {
namespace {

using namespace mainwin;
using test::Type;

// The whole window on the simulated machine (virtual clock). The settings
// dialogs run headlessly, each through the next of `settingsSteps`.
struct MainWindowTest : ::testing::Test {
    test::TempDir dir;
    Controller c{dir.path(), {"sim", true}};
    test::RecordingWindow view;
    ScriptedHost host;
    test::ScriptedLauncher dialogs;
    std::unique_ptr<MainWindow> window;
    using SettingsStep = std::function<void(SettingsDialog&, RecordingView&)>;
    std::vector<SettingsStep> settingsSteps;
    std::vector<std::string> settingsTitles;

    void start(const std::string& country = "CZE", int language = 0) {
        MachineSettings s = FactorySettings();
        s.language = language;
        dir.write(kConfigFileName, SettingsFileText(s));
        c.country = country;
        dialogs.runner = [this](DialogKind kind) {
            if (kind != DialogKind::Settings || settingsSteps.empty()) return kNotBuilt;
            RecordingView v;
            SettingsDialog dialog(c.machine, v, host, c.moduleDir, false);
            settingsTitles.push_back(dialog.title());
            dialog.onInit();
            const SettingsStep step = settingsSteps.front();
            settingsSteps.erase(settingsSteps.begin());
            step(dialog, v);
            return v.ended ? v.endResult : kResultOk;
        };
        window = std::make_unique<MainWindow>(c, view, host, dialogs);
        window->onInit();
    }
};

TEST_F(MainWindowTest, StartUpAsksTheLanguageOnceAndKeepsTheAnswer) {
    host.answers = {Answer::Yes};
    start("USA", 0);
    ASSERT_GE(host.boxes.size(), 2u);
    EXPECT_EQ(host.boxes[0].text.rfind("In system you have set ENG", 0), 0u);
    EXPECT_EQ(host.boxes.back().title, "Info");
    EXPECT_EQ(c.machine.settings.language, 1);
    MachineSettings saved;
    ParseSettingsText(saved, dir.read(kConfigFileName));
    EXPECT_EQ(saved.language, 1);
    EXPECT_EQ(view.menu.at(0).caption, "About");
    window->onCommand(kMenuAbout);
    EXPECT_NE(host.boxes.back().text.find(std::string("\nVersion ") + ProgramVersion()),
              std::string::npos);
}

TEST_F(MainWindowTest, StartUpInCzechAsksNothingAndFillsTheWindow) {
    start();
    ASSERT_EQ(host.boxes.size(), 1u);  // the welcome
    EXPECT_EQ(view.menu[0].caption, "O programu");
    EXPECT_EQ(view.timers[kStatusTimer], 100);
    EXPECT_EQ((std::vector<int>{0, 0, 1024, 768}), view.geometry);
    EXPECT_EQ(view.text(kBufferFill), "nic/50000");
    EXPECT_TRUE(view.isChecked(kUseAcceleration));
    EXPECT_FALSE(view.isEnabled(kRelX));
    EXPECT_TRUE(c.motionRunning());
    const std::string file = dir.read("listbox.txt");
    EXPECT_EQ(file.rfind("   1, " + dir.path() + " (složka programu) \n", 0), 0u);
    EXPECT_EQ(view.lines().back(), "Start, hCommand suspend Ok");
}

// Closing asks only while work is queued; No keeps the window open.
TEST_F(MainWindowTest, ClosingWithWorkQueuedAsksAndNoKeepsItOpen) {
    start();
    const size_t boxes = host.boxes.size();
    c.machine.gate.suspend();  // hold the move in the buffer
    AppendCommand(c.machine, 100, 0, 0, 1000, 0, 0, 0, 0, 0);
    host.answers = {Answer::No, Answer::Yes};
    EXPECT_FALSE(window->onClose());
    EXPECT_TRUE(c.motionRunning());
    EXPECT_EQ(host.boxes.size(), boxes + 1);
    EXPECT_TRUE(window->onClose());
    EXPECT_FALSE(c.motionRunning());
    EXPECT_TRUE(view.timers.empty());
    EXPECT_EQ(view.controls.endResult, 1);
    EXPECT_NE(dir.read("listbox.txt").find("_TimerInfo ukoncen"), std::string::npos);
}

// With "draw by refresh" every tick of the timer shows the machine; without
// it the display changes only when the executor asks: after a drained
// buffer, not on every tick.
TEST_F(MainWindowTest, TheStatusTimerFollowsTheMachineAsTheSettingSays) {
    start();
    c.machine.position.absX = 10;
    window->onTimer(kStatusTimer);
    EXPECT_EQ(view.text(kAbsX), "  1.000 mm");
    c.machine.settings.drawByRefresh = 0;
    window->onTimer(kStatusTimer);  // whatever the start-up asked for
    AppendCommand(c.machine, 15, 0, 0, 1000, 0, 0, 0, 0, 0);
    ASSERT_TRUE(WaitUntilDrained(c.machine));
    window->onTimer(kStatusTimer);
    EXPECT_EQ(view.text(kAbsX), "  2.500 mm");
    EXPECT_EQ(view.text(kBufferFill), "nic/50000");
    c.machine.position.absX = 50;  // moved with no request: not shown
    window->onTimer(kStatusTimer);
    EXPECT_EQ(view.text(kAbsX), "  2.500 mm");
}

// The language switch reopens the dialog; the save reaches the machine:
// the buffer, the timer, config.dat and the positions in the new step size.
TEST_F(MainWindowTest, SettingsReopenInTheOtherLanguageAndTheSaveReachesTheMachine) {
    start();
    c.machine.position.absX = 620;
    window->onPaint();
    EXPECT_EQ(view.text(kAbsX), " 62.000 mm");
    settingsSteps.push_back(
        [](SettingsDialog& d, RecordingView&) { d.onCommand(setupdlg::kEnglish); });
    settingsSteps.push_back([](SettingsDialog& d, RecordingView& v) {
        Type(v, d, setupdlg::kCommands, "1000");
        Type(v, d, setupdlg::kRefresh, "250");
        Type(v, d, setupdlg::kStepX, "0.05");
        d.onCommand(setupdlg::kSave);
    });
    window->onCommand(kMenuSetup);
    EXPECT_EQ(settingsTitles, (std::vector<std::string>{"Nastavení", "Setup"}));
    EXPECT_EQ(view.menu[0].caption, "About");
    EXPECT_EQ(c.machine.buffer.capacity(), 1000);
    EXPECT_EQ(view.timers[kStatusTimer], 250);
    EXPECT_EQ(view.lines().back().find("Size of alloc commands 1000 OK"), 0u);
    EXPECT_EQ(view.text(kAbsX), " 31.000 mm");
    MachineSettings saved;
    ParseSettingsText(saved, dir.read(kConfigFileName));
    EXPECT_EQ(saved, c.machine.settings);
    EXPECT_EQ(view.closeRequests, 0);
}

// Cancelled edits are undone from config.dat; a save that fails closes the
// program; the machine at work refuses the dialog.
TEST_F(MainWindowTest, SettingsCancelledFailedOrRefused) {
    start();
    const float before = c.machine.settings.cutDepth;
    settingsSteps.push_back([](SettingsDialog& d, RecordingView& v) {
        Type(v, d, setupdlg::kCutDepth, "7.5");
        d.onCommand(setupdlg::kCancel);
    });
    settingsSteps.push_back(
        [](SettingsDialog&, RecordingView& v) { v.end(setupdlg::kResultFailed); });
    window->onCommand(kMenuSetup);
    EXPECT_FLOAT_EQ(c.machine.settings.cutDepth, before);
    EXPECT_EQ(view.closeRequests, 0);
    window->onCommand(kMenuSetup);
    EXPECT_EQ(view.closeRequests, 1);

    c.machine.gate.suspend();  // hold the move in the buffer
    AppendCommand(c.machine, 100, 0, 0, 1000, 0, 0, 0, 0, 0);
    settingsSteps.push_back([](SettingsDialog&, RecordingView&) {});
    window->onCommand(kMenuSetup);
    EXPECT_EQ(settingsTitles.size(), 2u);
    EXPECT_EQ(host.boxes.back().text, "Není možné měnit nastavení, když stroj pracuje !");
    c.machine.gate.resume();
}

}  // namespace
}  // namespace korvex
