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
using test::ClickControl;
using test::ControlChecked;
using test::ControlText;
using test::TypeInto;
using test::WhenDialogShown;

using SetupGui = test::GuiTest;

TEST_F(SetupGui, TypingAStepSizeUpdatesTheDerivedFieldsAndTheSaveReachesConfigDat) {
    start([](MachineSettings& s) {
        s.moveSpeedX = 5.0f;
        s.accelSpeedX = 7.5f;
    });
    std::string dpi, title;
    WhenDialogShown([&](QWidget* dialog) {
        title = dialog->windowTitle().toStdString();
        TypeInto(dialog, setupdlg::kStepX, "0.05");
        dpi = ControlText(dialog, setupdlg::kDpiX);
        test::SaveScreenshot(dialog, "korvex-settings.png");
        ClickControl(dialog, setupdlg::kSave);
    });
    window->logic().onCommand(kMenuSetup);
    EXPECT_EQ(title, "Setup");
    EXPECT_EQ(dpi, "  507");  // the typed edit reached the logic, which filled the rest
    EXPECT_FLOAT_EQ(m().settings.mmPerStepX, 0.05f);
    EXPECT_EQ(dir.read(kConfigFileName), SettingsFileText(m().settings));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(SetupGui, SwitchingTheLanguageReopensTheDialogAndChangesTheMenu) {
    host.answers = {Answer::No};  // keep Czech although the country is not
    start([](MachineSettings& s) { s.language = 0; });
    std::vector<std::string> titles;
    WhenDialogShown([&](QWidget* dialog) {
        titles.push_back(dialog->windowTitle().toStdString());
        test::SaveScreenshot(dialog, "korvex-settings-czech.png");
        WhenDialogShown([&](QWidget* reopened) {
            titles.push_back(reopened->windowTitle().toStdString());
            test::SaveScreenshot(reopened, "korvex-settings-english.png");
            ClickControl(reopened, setupdlg::kSave);
        });
        ClickControl(dialog, setupdlg::kEnglish);
    });
    window->logic().onCommand(kMenuSetup);
    EXPECT_EQ(titles, (std::vector<std::string>{"Nastavení", "Setup"}));
    EXPECT_EQ(window->menuBar()->actions().front()->text(), "About");
    EXPECT_EQ(m().settings.language, 1);
}

TEST_F(SetupGui, ReassigningAPinShowsInTheGridAndTheSettings) {
    start();
    bool stepXOnD7 = false, oldPlaceCleared = false;
    WhenDialogShown([&](QWidget* settings) {
        WhenDialogShown([&](QWidget* pins) {
            EXPECT_EQ(pins->windowTitle().toStdString(), PinDialog::title());
            ClickControl(pins, pindlg::kOutputs);  // step X to D7
            stepXOnD7 = ControlChecked(pins, pindlg::kOutputs);
            oldPlaceCleared = !ControlChecked(pins, pindlg::kOutputs + 7);
            test::SaveScreenshot(pins, "korvex-pins.png");
            ClickControl(pins, pindlg::kOk);
        });
        ClickControl(settings, setupdlg::kPins);
        ClickControl(settings, setupdlg::kSave);
    });
    window->logic().onCommand(kMenuSetup);
    EXPECT_TRUE(stepXOnD7);
    EXPECT_TRUE(oldPlaceCleared);
    EXPECT_EQ(m().settings.pinStepX, 128);
    MachineSettings saved;
    ParseSettingsText(saved, dir.read(kConfigFileName));
    EXPECT_EQ(saved.pinStepX, 128);
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
