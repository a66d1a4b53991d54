#include <gtest/gtest.h>

#include <functional>

#include "settings/config_file.h"
#include "tests/testkit/temp_dir.h"
#include "tests/ui/recording_window.h"
#include "ui/controller.h"
#include "ui/main_ids.h"
#include "ui/main_window.h"
#include "ui/settings_dialog.h"

namespace korvex {
namespace {

using namespace mainwin;

// Runs each settings dialog headlessly through the next scripted step.
struct SettingsLauncher final : DialogLauncher {
    std::vector<std::function<void(SettingsDialog&, RecordingView&)>> steps;
    std::vector<std::string> titles;
    Controller* c = nullptr;
    Host* host = nullptr;
    int run(DialogKind kind) override {
        if (kind != DialogKind::Settings || steps.empty()) return kNotBuilt;
        RecordingView view;
        SettingsDialog dialog(c->machine, view, *host, c->moduleDir, false);
        titles.push_back(dialog.title());
        dialog.onInit();
        auto step = steps.front();
        steps.erase(steps.begin());
        step(dialog, view);
        return view.ended ? view.endResult : kResultOk;
    }
};

struct SettingsCommandTest : ::testing::Test {
    test::TempDir dir;
    Controller c{dir.path(), {"sim", true}};
    test::RecordingWindow view;
    ScriptedHost host;
    SettingsLauncher dialogs;
    std::unique_ptr<MainWindow> window;

    SettingsCommandTest() {
        dir.write(kConfigFileName, SettingsFileText(FactorySettings()));
        c.country = "CZE";
        dialogs.c = &c;
        dialogs.host = &host;
        window = std::make_unique<MainWindow>(c, view, host, dialogs);
        window->onInit();
    }
    static void type(SettingsDialog& d, RecordingView& v, int id, const std::string& text) {
        v.setText(id, text);
        d.onEditChange(id);
    }
};

TEST_F(SettingsCommandTest, ALanguageSwitchReopensInEnglishAndTheSaveReachesTheMachine) {
    dialogs.steps.push_back(
        [](SettingsDialog& d, RecordingView&) { d.onCommand(setupdlg::kEnglish); });
    dialogs.steps.push_back([](SettingsDialog& d, RecordingView& v) {
        type(d, v, setupdlg::kCommands, "1000");
        type(d, v, setupdlg::kRefresh, "250");
        d.onCommand(setupdlg::kSave);
    });
    window->onCommand(kMenuSetup);
    EXPECT_EQ(dialogs.titles, (std::vector<std::string>{"Nastavení", "Setup"}));
    EXPECT_EQ(view.menu[0].caption, "About");
    EXPECT_EQ(c.machine.buffer.capacity(), 1000);
    EXPECT_EQ(view.timers[kStatusTimer], 250);
    EXPECT_EQ(view.lines().back().find("Size of alloc commands 1000 OK"), 0u);
    MachineSettings saved;
    ParseSettingsText(saved, dir.read(kConfigFileName));
    EXPECT_EQ(saved, c.machine.settings);
    EXPECT_EQ(view.closeRequests, 0);
}

TEST_F(SettingsCommandTest, CancelledEditsAreUndoneFromConfigDat) {
    const float before = c.machine.settings.cutDepth;
    dialogs.steps.push_back([](SettingsDialog& d, RecordingView& v) {
        type(d, v, setupdlg::kCutDepth, "7.5");
        d.onCommand(setupdlg::kCancel);
    });
    window->onCommand(kMenuSetup);
    EXPECT_FLOAT_EQ(c.machine.settings.cutDepth, before);
}

// A new step size shows at once: the position in steps stays, its
// millimetres change.
TEST_F(SettingsCommandTest, ThePositionsShowTheNewStepSizeRightAway) {
    c.machine.position.absX = 620;
    window->onPaint();
    EXPECT_EQ(view.text(kAbsX), " 62.000 mm");
    dialogs.steps.push_back([](SettingsDialog& d, RecordingView& v) {
        type(d, v, setupdlg::kStepX, "0.05");
        d.onCommand(setupdlg::kSave);
    });
    window->onCommand(kMenuSetup);
    EXPECT_EQ(view.text(kAbsX), " 31.000 mm");
}

TEST_F(SettingsCommandTest, ASaveThatFailsClosesTheProgram) {
    dialogs.steps.push_back(
        [](SettingsDialog&, RecordingView& v) { v.end(setupdlg::kResultFailed); });
    window->onCommand(kMenuSetup);
    EXPECT_EQ(view.closeRequests, 1);
}

TEST_F(SettingsCommandTest, RefusedWhileTheMachineWorks) {
    c.machine.gate.suspend();  // hold the move in the buffer
    AppendCommand(c.machine, 100, 0, 0, 1000, 0, 0, 0, 0, 0);
    dialogs.steps.push_back([](SettingsDialog&, RecordingView&) {});
    window->onCommand(kMenuSetup);
    EXPECT_TRUE(dialogs.titles.empty());
    EXPECT_EQ(host.boxes.back().text, "Není možné měnit nastavení, když stroj pracuje !");
    c.machine.gate.resume();
}

}  // namespace
}  // namespace korvex
