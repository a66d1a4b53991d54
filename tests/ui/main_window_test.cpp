#include "ui/main_window.h"

#include <gtest/gtest.h>

#include "platform/version.h"
#include "settings/config_file.h"
#include "tests/testkit/temp_dir.h"
#include "tests/ui/recording_window.h"
#include "ui/controller.h"
#include "ui/main_ids.h"

namespace korvex {
namespace {

using namespace mainwin;

// The whole window on the simulated machine (virtual clock).
struct MainWindowTest : ::testing::Test {
    test::TempDir dir;
    Controller c{dir.path(), {"sim", true}};
    test::RecordingWindow view;
    ScriptedHost host;
    test::ScriptedLauncher dialogs;
    std::unique_ptr<MainWindow> window;

    void start(const std::string& country, int language) {
        MachineSettings s = FactorySettings();
        s.language = language;
        dir.write(kConfigFileName, SettingsFileText(s));
        c.country = country;
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
    EXPECT_EQ(host.boxes.back().icon, Icon::Information);
    EXPECT_EQ(c.machine.settings.language, 1);
    MachineSettings saved;
    ParseSettingsText(saved, dir.read(kConfigFileName));
    EXPECT_EQ(saved.language, 1);
    ASSERT_FALSE(view.menu.empty());
    EXPECT_EQ(view.menu[0].caption, "About");
}

TEST_F(MainWindowTest, StartUpInCzechAsksNothingAndFillsTheWindow) {
    start("CZE", 0);
    ASSERT_EQ(host.boxes.size(), 1u);  // the welcome
    EXPECT_EQ(view.menu[0].caption, "O programu");
    EXPECT_EQ(view.timers[kStatusTimer], 100);
    EXPECT_EQ((std::vector<int>{0, 0, 1024, 768}), view.geometry);
    EXPECT_EQ(view.text(kBufferFill), "nic/50000");
    EXPECT_EQ(view.text(kModelFile), "none");
    EXPECT_EQ(view.text(kFinalX), "none");
    EXPECT_TRUE(view.isChecked(kUseAcceleration));
    EXPECT_FALSE(view.isEnabled(kGoXYZ));
    EXPECT_FALSE(view.isEnabled(kRelX));
    EXPECT_TRUE(c.motionRunning());
    const std::string file = dir.read("listbox.txt");
    EXPECT_EQ(file.rfind("   1, " + dir.path() + " (složka programu) \n", 0), 0u);
    const auto lines = view.lines();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), "Start, hCommand suspend Ok");
}

TEST_F(MainWindowTest, TheAboutBoxNamesTheVersion) {
    start("USA", 1);
    window->onCommand(kMenuAbout);
    EXPECT_EQ(host.boxes.back().title, "Info");
    EXPECT_NE(host.boxes.back().text.find(std::string("\nVersion ") + ProgramVersion()),
              std::string::npos);
}

TEST_F(MainWindowTest, ClosingWithWorkQueuedAsksAndNoKeepsItOpen) {
    start("CZE", 0);
    c.machine.gate.suspend();  // hold the move in the buffer
    AppendCommand(c.machine, 100, 0, 0, 1000, 0, 0, 0, 0, 0);
    host.answers = {Answer::No};
    EXPECT_FALSE(window->onClose());
    EXPECT_TRUE(c.motionRunning());
    host.answers = {Answer::Yes};
    EXPECT_TRUE(window->onClose());
    EXPECT_FALSE(c.motionRunning());
    EXPECT_TRUE(view.timers.empty());
    EXPECT_EQ(view.controls.endResult, 1);
}

TEST_F(MainWindowTest, ClosingAnEmptyMachineAsksNothing) {
    start("CZE", 0);
    const size_t boxes = host.boxes.size();
    EXPECT_TRUE(window->onClose());
    EXPECT_EQ(host.boxes.size(), boxes);
    EXPECT_NE(dir.read("listbox.txt").find("_TimerInfo ukoncen"), std::string::npos);
}

// With "draw by refresh" every tick of the timer shows the machine; without
// it the display changes only when the executor asks: after a drained
// buffer, not on every tick.
TEST_F(MainWindowTest, TheStatusTimerFollowsTheMachineAsTheSettingSays) {
    start("CZE", 0);
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

}  // namespace
}  // namespace korvex
