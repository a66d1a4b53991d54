#include <QMenuBar>

#include "motion/timer_test.h"
#include "tests/app/dialog_driver.h"
#include "tests/app/gui_fixture.h"
#include "ui/main_ids.h"
#include "ui/pin_dialog.h"
#include "ui/settings_dialog.h"
#include "ui/timer_test_dialog.h"

namespace korvex {
namespace {

using namespace mainwin;
using namespace test;

using SetupGui = test::GuiTest;

// In Czech: a pin reassigned in the nested pin dialog, the switch to
// English that reopens the dialog, a step size typed key by key: the
// logic fills the derived field, the save reaches config.dat and the menu
// follows the language.
TEST_F(SetupGui, PinsLanguageAndAStepSizeSetInTheDialogReachConfigDat) {
    host.answers = {Answer::No};  // keep Czech although the country is not
    start([](MachineSettings& s) { s.language = 0; });
    std::vector<std::string> titles;
    bool stepXOnD7 = false, oldPlaceCleared = false;
    std::string dpi;
    WhenDialogShown([&](QWidget* czech) {
        titles.push_back(czech->windowTitle().toStdString());
        test::SaveScreenshot(czech, "korvex-settings-czech.png");
        WhenDialogShown([&](QWidget* pins) {
            ClickControl(pins, pindlg::kOutputs);  // step X to D7
            stepXOnD7 = ControlChecked(pins, pindlg::kOutputs);
            oldPlaceCleared = !ControlChecked(pins, pindlg::kOutputs + 7);
            test::SaveScreenshot(pins, "korvex-pins.png");
            ClickControl(pins, pindlg::kOk);
        });
        ClickControl(czech, setupdlg::kPins);
        WhenDialogShown([&](QWidget* english) {
            titles.push_back(english->windowTitle().toStdString());
            TypeInto(english, setupdlg::kStepX, "0.05");
            dpi = ControlText(english, setupdlg::kDpiX);
            test::SaveScreenshot(english, "korvex-settings.png");
            ClickControl(english, setupdlg::kSave);
        });
        ClickControl(czech, setupdlg::kEnglish);
    });
    window->logic().onCommand(kMenuSetup);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(titles, (std::vector<std::string>{"Nastavení", "Setup"}));
    EXPECT_EQ(window->menuBar()->actions().front()->text(), "About");
    EXPECT_TRUE(stepXOnD7);
    EXPECT_TRUE(oldPlaceCleared);
    EXPECT_EQ(dpi, "  507");  // the typed edit reached the logic, which filled the rest
    EXPECT_EQ(m().settings.language, 1);
    EXPECT_EQ(m().settings.pinStepX, 128);
    EXPECT_FLOAT_EQ(m().settings.mmPerStepX, 0.05f);
    EXPECT_EQ(dir.read(kConfigFileName), SettingsFileText(m().settings));
}

TEST_F(SetupGui, TheTimerTestStepsForASecondWithTestTicked) {
    start([](MachineSettings& s) { s.oldTimer = 1; });
    const int before = ReadTimingLog(m()).index;
    std::string index;
    WhenDialogShown([&](QWidget* dialog) {
        ClickControl(dialog, timertest::kTest);
        QTest::qWait(1000);
        test::SaveScreenshot(dialog, "korvex-timer-test.png");
        index = ControlText(dialog, timertest::kIndex);
        ClickControl(dialog, timertest::kOk);
    });
    window->logic().onCommand(kMenuTimerTest);
    const int after = ReadTimingLog(m()).index;
    EXPECT_GE((after - before + kTimingLogSize) % kTimingLogSize, 5);
    EXPECT_EQ(index, Format("Id %d/%d", after, kTimingLogSize));
}

}  // namespace
}  // namespace korvex
