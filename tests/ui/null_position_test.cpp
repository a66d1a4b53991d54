#include "ui/null_position_dialog.h"

#include <gtest/gtest.h>

#include "motion/machine.h"
#include "tests/ui/recording_window.h"
#include "ui/main_ids.h"

namespace korvex {
namespace {

using namespace nullpos;

struct NullPositionTest : ::testing::Test {
    Machine m;
    test::RecordingWindow view;
    NullPositionDialog dialog{m, view};
    NullPositionTest() {
        LoadFactoryDefaults(m.settings);
        m.buffer.allocate(10);
    }
};

TEST_F(NullPositionTest, AClosedSwitchDisablesItsAxisButNotHomeAll) {
    m.signals.limitX = 1;
    dialog.onInit();
    EXPECT_EQ(view.timers[kTimer], m.settings.refreshMs);
    EXPECT_TRUE(view.isChecked(kSwitchX));
    EXPECT_FALSE(view.isEnabled(kHomeX));
    EXPECT_TRUE(view.isEnabled(kHomeY));
    EXPECT_TRUE(view.isEnabled(kHomeAll));
    m.signals.limitX = 0;
    m.signals.zSensor = 1;
    dialog.onTimer(kTimer);
    EXPECT_TRUE(view.isEnabled(kHomeX));
    EXPECT_TRUE(view.isChecked(kSwitchZSensor));
}

TEST_F(NullPositionTest, HomingQueuesZFirstThenXAndYWatchingTheSwitchesAndCloseEndsWithOne) {
    dialog.onInit();
    dialog.onCommand(kHomeAll);
    dialog.onCommand(kHomeY);
    ASSERT_EQ(m.buffer.queued(), 3);
    EXPECT_EQ(m.buffer.entry(0).dz, -1000);
    EXPECT_EQ(m.buffer.entry(1).dx, -1000);
    EXPECT_EQ(m.buffer.entry(1).dy, -1000);
    EXPECT_EQ(m.buffer.entry(1).checkSwitches, 1);
    EXPECT_EQ(m.buffer.entry(2).dy, -1000);
    EXPECT_EQ(m.position.absX.load(), 1000);
    dialog.onCommand(kClose);
    EXPECT_TRUE(view.timers.empty());
    EXPECT_EQ(view.controls.endResult, 1);
}

}  // namespace
}  // namespace korvex
