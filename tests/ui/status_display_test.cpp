#include "ui/status_display.h"

#include <gtest/gtest.h>

#include "tests/ui/recording_window.h"
#include "tests/ui/view_driver.h"
#include "ui/main_ids.h"
#include "vector/hpgl_reader.h"

namespace korvex {
namespace {

using namespace mainwin;
using test::Texts;

TEST(TimeToEnd, SwitchesUnitsAboveOneHundredOfEach) {
    EXPECT_EQ(FormatTimeToEnd(100.0), "100.0 s");
    EXPECT_EQ(FormatTimeToEnd(150.0), "  2.5 min");
    EXPECT_EQ(FormatTimeToEnd(6001.0), "  1.7 h");
    EXPECT_EQ(FormatTimeToEnd(-30.0), " 30.0 s");
    EXPECT_EQ(FormatTimeToEnd(400.0 * 3600), " 16.7 d");
}

TEST(CountryOfLocale, GivesTheThreeLetterCountry) {
    EXPECT_EQ(CountryOfLocale("cs_CZ.UTF-8"), "CZE");
    EXPECT_EQ(CountryOfLocale("en_US"), "USA");
    EXPECT_EQ(CountryOfLocale("C"), "");
    EXPECT_EQ(CountryOfLocale("xx_ZZ.UTF-8"), "ZZ");
}

struct StatusTest : test::ControllerTest {
    test::RecordingWindow view;
    StatusDisplay status{c, view};
    StatusTest() {
        c.machine.buffer.allocate(50);
        c.machine.settings.showMillimetres = 0;
    }
};

TEST_F(StatusTest, BufferFillPlannedEndAndTimeToEnd) {
    view.setText(kFinalX, "none");
    status.refresh(true);
    EXPECT_EQ(view.text(kBufferFill), "nic/50");
    EXPECT_EQ(view.text(kFinalX), "none") << "kept until something is planned";
    EXPECT_EQ(view.text(kTimeToEnd), "  0.0 s");
    c.machine.settings.showMillimetres = 1;
    AppendCommand(c.machine, 100, 0, 0, 100000, 0, 0, 0, 0, 0);  // 10 s
    AppendCommand(c.machine, 0, 50, 0, 100000, 0, 0, 0, 0, 0);   // 5 s
    status.refresh(true);
    EXPECT_EQ(Texts(view, {kBufferFill, kLeftX, kFinalX + 1, kTimeToEnd}),
              "2/50 | 10.00mm |  5.00mm |  15.0 s");
    // Drained, then the plan moved by itself (a homing's switch): shown.
    c.machine.buffer.reset();
    c.machine.position.plannedY = 0;
    status.refresh(true);
    EXPECT_EQ(view.text(kFinalX + 1), " 0.00mm");
}

TEST_F(StatusTest, PositionsInStepsOrMillimetresRefreshOnlyWhenTheyChange) {
    c.machine.position.absX = 1234;
    status.refresh(false);
    EXPECT_EQ(view.text(kAbsX), "   1234");
    view.setText(kBufferFill, "untouched");
    EXPECT_EQ(status.refresh(false), 1);
    EXPECT_EQ(view.text(kBufferFill), "untouched");
    EXPECT_EQ(status.refresh(true), 0);
    EXPECT_EQ(view.text(kBufferFill), "nic/50");
    c.machine.settings.showMillimetres = 1;
    c.machine.position.absX = 1235;
    status.refresh(false);
    EXPECT_EQ(view.text(kAbsX), "123.500 mm");
}

// The speeds follow the executor even while the position stands still, and
// a machine held by the emergency stop shows "stop" on every axis although
// the executor keeps its last period.
TEST_F(StatusTest, SpeedsFollowTheExecutorAndAHeldMachineShowsStop) {
    ExecutorFlags& e = c.machine.executor;
    status.refresh(true);
    e.currentPeriodUs = 1000;
    e.axisStepping[0] = 1;
    EXPECT_EQ(status.refresh(false), 0);
    EXPECT_EQ(Texts(view, {mainwin::kSpeedX, kSpeedY}), "    1000 k/s | stop");
    EXPECT_EQ(status.refresh(false), 1);

    c.machine.signals.estopActive = 1;
    EXPECT_EQ(status.refresh(true), 0);
    EXPECT_EQ(view.text(mainwin::kSpeedX), "stop");
    c.machine.signals.estopActive = 0;
    c.machine.settings.showMillimetres = 1;
    EXPECT_EQ(status.refresh(false), 0);
    EXPECT_EQ(view.text(mainwin::kSpeedX), " 100.000 mm/s");

    e.currentPeriodUs = 0;  // the move ended where it was last shown
    EXPECT_EQ(status.refresh(false), 0);
    EXPECT_EQ(view.text(mainwin::kSpeedX), "stop");
}

// A 10 x 10 mm drawing at 25 pixels per mm: one step (0.1 mm) is 2.5 pixels.
struct CrossTest : StatusTest {
    ScriptedHost host;
    MachinePosition& p = c.machine.position;
    CrossTest() {
        c.pictures = [](int w, int h) { return std::make_unique<RecordingCanvas>(w, h); };
        const std::string path = dir.write("square.plt", "SP1;PU0,0;PD400,0;PD400,400;");
        LoadVectorFile(c.vector, path, kHpglCorel, c.machine.settings, c.machine.log, host);
        computeMainPreviewScale(c.preview, c.vector, c.machine.settings);
        p.relOriginX = 10;
        p.relOriginY = 20;
        p.relOriginSet = 1;
    }
    // The calls the last refreshes drew into the preview: the picture's
    // blit, and two lines when the cross shows.
    size_t drawn() {
        auto& calls = view.controls.canvases[kPreviewArea].calls;
        const size_t n = calls.size();
        calls.clear();
        return n;
    }
    void at(int32_t x, int32_t y) {
        p.absX = p.relOriginX + x;
        p.absY = p.relOriginY + y;
    }
};

TEST_F(CrossTest, TheCrossShowsInsideThePictureWithAnOriginAndMovesOnlyInXOrY) {
    const std::pair<int, int> outside[] = {{101, 50}, {50, -1}, {-1, 0}, {50, 101}};
    for (auto [x, y] : outside) {
        at(x, y);
        status.refresh(true);
        EXPECT_EQ(drawn(), 1u) << x << "," << y;
    }
    at(4, 4);
    status.refresh(false);
    EXPECT_EQ(drawn(), 3u);
    p.absZ = 77;
    EXPECT_EQ(status.refresh(false), 0);
    EXPECT_EQ(drawn(), 0u);
    at(4, 5);
    status.refresh(false);
    EXPECT_EQ(drawn(), 3u);
    p.relOriginSet = 0;
    status.refresh(true);
    EXPECT_EQ(drawn(), 1u);
    c.vector.loaded = 0;
    status.refresh(true);
    EXPECT_EQ(view.controls.canvases[kPreviewArea].calls,
              std::vector<std::string>{"clear ffffffff"})
        << "a blank sheet";
}

TEST_F(StatusTest, OriginSwitchesSignalsAndModelFollowTheMachine) {
    Machine& m = c.machine;
    status.showRelativeOrigin();
    EXPECT_FALSE(view.isEnabled(kRelX)) << "grayed until set";
    m.position.relOriginZ = -42;
    m.position.relOriginSet = 1;
    status.showRelativeOrigin();
    EXPECT_TRUE(view.isEnabled(kRelZ));
    EXPECT_EQ(view.text(kRelZ), "  -42");

    m.settings.switchMachine = 1;
    m.settings.switchSpindle = 0;
    m.signals.machineOnState = 1;
    status.refresh(true);
    EXPECT_TRUE(view.isEnabled(kMachineSwitch));
    EXPECT_TRUE(view.isChecked(kMachineSwitch));
    EXPECT_FALSE(view.isEnabled(kSpindleSwitch));

    m.signals.limitY = 1;
    m.signals.estopActive = 1;
    status.showSignals();
    EXPECT_TRUE(view.isChecked(kMinY));
    EXPECT_FALSE(view.isChecked(kMinX));
    EXPECT_TRUE(view.isChecked(kEmergencyStop));
}

}  // namespace
}  // namespace korvex
