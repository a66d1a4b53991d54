#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>

#include "app/sim_panel.h"
#include "log/text.h"
#include "machining/relief_dialog.h"
#include "motion/motion_rig.h"
#include "motion/rounding.h"
#include "tests/app/dialog_driver.h"
#include "tests/app/gui_fixture.h"
#include "ui/main_ids.h"

namespace korvex {
namespace {

using namespace mainwin;

using MainWindowGui = test::GuiTest;

// The log list scrolls to its newest line; a limit switch held on the
// simulator panel shows among the inputs; Finish closes the idle machine
// without asking.
TEST_F(MainWindowGui, StartsWithTheStatusTheLogAndTheSimulatorPanelAndFinishes) {
    start();
    EXPECT_EQ(window->size(), QSize(1024, 768));
    EXPECT_EQ(window->windowTitle(), "Korvex v.1.0.3.0");
    EXPECT_EQ(text(kAbsX), "  0.000 mm");
    auto* list = qobject_cast<QListWidget*>(window->view().control(kLogList));
    ASSERT_NE(list, nullptr);
    ASSERT_GT(list->count(), 3);
    EXPECT_EQ(list->item(list->count() - 1)->text(), "Start, hCommand suspend Ok");
    ASSERT_NE(window->simPanel(), nullptr);
    EXPECT_TRUE(window->simPanel()->isVisible());
    ASSERT_FALSE(window->menuBar()->actions().isEmpty());
    EXPECT_EQ(window->menuBar()->actions().front()->text(), "About");
    // Tooltips say what a button does, not a code name.
    for (const QAbstractButton* b : window->findChildren<QAbstractButton*>()) {
        const QString tip = b->toolTip();
        EXPECT_TRUE(tip.isEmpty() || tip.contains(' ')) << tip.toStdString();
    }
    window->grab().save(KORVEX_SCREENSHOT_DIR "/korvex-main-window-start.png");

    for (int i = 0; i < 200; ++i) m().log.line("line " + std::to_string(i), true, false);
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return list->item(list->count() - 1)->text() == "line 199"; }, 2000));
    QApplication::processEvents();
    const QRect last = list->visualItemRect(list->item(list->count() - 1));
    EXPECT_TRUE(list->viewport()->rect().contains(last.center()));

    auto* limitY = window->simPanel()->findChild<QCheckBox*>("simLimitY");
    ASSERT_NE(limitY, nullptr);
    QTest::mouseClick(limitY, Qt::LeftButton, {}, QPoint(6, limitY->height() / 2));
    refreshStatus();
    EXPECT_FALSE(window->view().isChecked(kMinX));
    EXPECT_TRUE(window->view().isChecked(kMinY));

    const size_t boxes = host.texts.size();
    window->logic().onCommand(kMenuFinish);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window->isVisible(); }, 2000));
    EXPECT_EQ(host.texts.size(), boxes);
    EXPECT_FALSE(c->motionRunning());
    EXPECT_EQ(window->simPanel(), nullptr);  // it watched the machine that has ended
    QTest::qWait(250);                       // no timer of the window touches it any more
}

// pstoedit's circle drawing, 50 x 30 mm read by the generic kind: 5 pixels
// per mm on the preview, half a pixel per step. The tool jogs by buttons
// and keys with the modifiers as Qt reports them (the amounts are the
// logic's, tested without the window).
TEST_F(MainWindowGui, ThePreviewShowsTheDrawingAndTheCrossFollowsTheJoggedTool) {
    start();
    c->vector.sourceKind = kHpglGeneric;  // the open dialog preselects its filter
    host.files = {KORVEX_TEST_DATA "/vector/pstoedit_plain.plt"};
    click(kHpgl);
    ASSERT_EQ(c->vector.loaded, 1);
    QWidget* area = window->view().control(kPreviewArea);
    ASSERT_NE(area, nullptr);
    ASSERT_EQ(area->size(), QSize(250, 250));
    auto picture = [area] { return area->grab().toImage(); };
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return test::CountPixels(picture(), qRgb(0, 0, 127)) > 200; }, 2000));
    const QRgb red = qRgb(255, 0, 0);

    host.answers = {Answer::No};
    click(kSetRel);  // the origin where the tool stands: the cross in the corner
    refreshStatus();
    EXPECT_EQ(picture().pixel(0, 100), red);
    EXPECT_EQ(picture().pixel(100, 0), red);

    click(kJogXPlus, Qt::ShiftModifier);  // X + 5 mm: 25 pixels
    click(kJogXPlus + 2, Qt::ShiftModifier);
    QTest::keyClick(window.get(), Qt::Key_Up, Qt::ShiftModifier);  // Y + 10 mm: 50 pixels
    click(kJogXPlus + 4, Qt::ControlModifier);                     // Z + 50 mm
    QTest::keyClick(window.get(), Qt::Key_PageUp);                 // Z one step up
    ASSERT_TRUE(waitDrained());
    EXPECT_EQ(m().position.absZ.load(), 499);
    refreshStatus();
    const QImage moved = picture();
    EXPECT_EQ(moved.pixel(25, 120), red);
    EXPECT_EQ(moved.pixel(120, 50), red);
    EXPECT_NE(moved.pixel(0, 100), red);
    for (int d : {-1, 1}) {  // one pixel wide
        EXPECT_NE(moved.pixel(25 + d, 120), red);
        EXPECT_NE(moved.pixel(120, 50 + d), red);
    }
    window->grab().save(KORVEX_SCREENSHOT_DIR "/korvex-main-window.png");
}

// Closes a job's window as its operator would; its name.
std::string CloseJobWindow(QWidget* dialog) {
    const std::string name = dialog->objectName().toStdString();
    // The relief's window closes only by its End button.
    if (name == "reliefDialog")
        test::ClickControl(dialog, kReliefEnd);
    else
        dialog->close();
    return name;
}

// Ctrl+O opens each kind of file where it belongs whatever its name says,
// refuses what is none of them without losing the drawing loaded, and
// offers the files again, newest first, in this run and the next.
TEST_F(MainWindowGui, OpenFindsEachFilesWindowByItsContent) {
    start();
    std::string shown;
    // What opens no window is not waited for.
    const auto open = [&](const std::string& path, bool window = true) {
        // The window is active again once a dialog closed, as under a desktop.
        this->window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(this->window.get()));
        shown.clear();
        host.files = {path};
        if (window) test::WhenDialogShown([&](QWidget* d) { shown = CloseJobWindow(d); });
        QTest::keyClick(this->window.get(), Qt::Key_O, Qt::ControlModifier);
        return shown;
    };
    const std::string drawing = dir.write("drawing.txt", "IN;SP1;PU0,0;PD100,0;PD100,100;");
    EXPECT_EQ(open(drawing, false), "");
    EXPECT_EQ(c->vector.loaded, 1);
    EXPECT_EQ(c->vector.sourcePath, drawing);
    EXPECT_EQ(open(dir.write("program.plt", "G21 G90\nG0 Z2\nG1 X5 F100\nM30\n")), "gcodeDialog");
    EXPECT_EQ(open(KORVEX_TEST_DATA "/drilling/gerbv-orcad-thruhole.tap"), "drillingDialog");
    EXPECT_GT(c->drills.toolCount, 0);
    EXPECT_EQ(open(KORVEX_TEST_DATA "/cli/two.vrt"), "drillingDialog");
    const std::string picture = KORVEX_TEST_DATA "/machining/rgb24.bmp";
    EXPECT_EQ(open(picture), "reliefDialog");

    host.texts.clear();
    EXPECT_EQ(open(dir.write("letter.nc", "Dear operator,\nall is well.\n"), false), "");
    ASSERT_EQ(host.texts.size(), 1u);
    EXPECT_NE(host.texts[0].find("is not an HPGL drawing, a drill file, a picture or a G-code"),
              std::string::npos);
    EXPECT_EQ(c->vector.sourcePath, drawing) << "the drawing stays";

    ASSERT_EQ(c->recent.paths().size(), 5u);
    EXPECT_EQ(c->recent.paths().front(), picture);
    EXPECT_EQ(c->recent.paths().back(), drawing);
    RecentFiles nextRun;
    nextRun.load(dir.path());
    EXPECT_EQ(nextRun.paths(), c->recent.paths());
    test::WhenDialogShown([&](QWidget* dialog) { shown = CloseJobWindow(dialog); });
    window->logic().onCommand(kMenuRecent);
    EXPECT_EQ(shown, "reliefDialog");
}

TEST_F(MainWindowGui, NoSimulatorPanelWithoutTheSimulatedMachine) {
    start({}, true, "none");
    EXPECT_EQ(window->simPanel(), nullptr);
}

// OK on the probe's real box: Z goes down to the probe and back up by the
// height over the material, then waits for the probe's removal.
TEST_F(MainWindowGui, TheProbeRunsFromTheMainWindowAndWaitsForTheProbesRemoval) {
    start();
    host.realBoxes = true;
    test::ClickOnNextBox(QMessageBox::Ok);
    click(mainwin::kProbe);
    ASSERT_TRUE(QTest::qWaitFor([&] { return m().gate.latched(); }, 20000));
    const MachineSettings& s = m().settings;
    const int32_t probe = SimConfigFromSettings(s).probeSurfaceZ;
    EXPECT_EQ(c->sim()->position(2), probe - MmToSteps(s.safeHeight, s.mmPerStepZ));
    refreshStatus();
    EXPECT_EQ(text(kProgramStopText), "Remove the probe, then Continue");
    EXPECT_FALSE(button(kEmergencyStop)->isChecked());
    click(kContinue);
    ASSERT_TRUE(waitDrained());
    EXPECT_EQ(c->sim()->position(2), probe + MmToSteps(s.sensorDepth - s.safeHeight, s.mmPerStepZ));
}

// Home all from the null position dialog with X's switch not wired: X runs
// the whole travel and never meets it, Y and Z stop at theirs, which the
// dialog's own timer shows. The box says X is not homed, the status shows
// it, and the first job dialog warns about the soft limits, once.
TEST_F(MainWindowGui, HomingFromTheNullPositionDialogSaysWhichAxisMissedItsSwitch) {
    start([](MachineSettings& s) { s.pinLimitX = 0; });
    host.realBoxes = true;
    bool switchShown = false;
    QTimer::singleShot(0, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        test::ClickOnNextBox(QMessageBox::Ok);
        QTest::mouseClick(dialog->findChild<QPushButton*>("homeAll"), Qt::LeftButton);
        EXPECT_TRUE(QTest::qWaitFor([&] { return c->homing.pending == 0; }, 20000));
        switchShown =
            QTest::qWaitFor([&] { return dialog->findChild<QCheckBox*>("switchZ")->isChecked(); },
                            2000) &&
            !dialog->findChild<QPushButton*>("homeZ")->isEnabled();
        QTest::mouseClick(dialog->findChild<QPushButton*>("closeButton"), Qt::LeftButton);
    });
    click(kSetAbs);
    EXPECT_TRUE(switchShown);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(host.texts.back(), "Axis X did not meet its limit switch: it is not homed");
    ASSERT_TRUE(waitDrained());
    EXPECT_EQ(c->sim()->position(1), 0);
    EXPECT_EQ(c->sim()->position(2), 0);
    refreshStatus();
    EXPECT_EQ(text(kHomedX), "✗");
    EXPECT_EQ(text(kHomedX + 1), "✓");
    EXPECT_EQ(text(kHomedX + 2), "✓");

    host.realBoxes = false;
    const size_t before = host.texts.size();
    for (int i = 0; i < 2; ++i) {
        test::WhenDialogShown(
            [](QWidget* dialog) { dialog->findChild<QPushButton*>("pushbutton1020")->click(); });
        window->logic().onCommand(kMenuSurface);
    }
    ASSERT_EQ(host.texts.size(), before + 1);
    EXPECT_EQ(host.texts.back(),
              "Axes not homed: X. The soft limits guard a position that may not be the "
              "machine's");
}

TEST_F(MainWindowGui, EmergencyStopHoldsTheMoveAndItsReleaseCompletesItExactly) {
    startMoving();
    SimulatedMachine& sim = *c->sim();
    const int64_t lostBefore = sim.stepsLost(0);  // the port test's pattern is no step
    click(kJogXPlus, Qt::ControlModifier);        // 500 steps, about 2 s
    ASSERT_TRUE(QTest::qWaitFor([&] { return m().position.absX.load() > 50; }, 5000));
    click(kEmergencyStop);
    EXPECT_TRUE(button(kEmergencyStop)->isChecked());
    refreshStatus();
    window->grab().save(KORVEX_SCREENSHOT_DIR "/korvex-emergency-stop.png");
    QTest::qWait(50);
    const int32_t held = m().position.absX.load();
    QTest::qWait(300);
    EXPECT_EQ(m().position.absX.load(), held);
    EXPECT_LT(held, 500);
    EXPECT_EQ(sim.position(0), 500 + held);  // the carriage stopped too (power-on mid-travel)

    click(kEmergencyStop);
    EXPECT_FALSE(button(kEmergencyStop)->isChecked());
    ASSERT_TRUE(waitDrained());
    EXPECT_EQ(m().position.absX.load(), 500);
    EXPECT_EQ(sim.stepsReceived(0), 500);
    EXPECT_EQ(sim.stepsLost(0), lostBefore);
}

}  // namespace
}  // namespace korvex
