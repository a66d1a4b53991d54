#include <QTimer>

#include "drilling/drilling_dialog.h"
#include "machining/relief_controls.h"
#include "machining/separation_dialog.h"
#include "machining/surface_dialog.h"
#include "motion/rounding.h"
#include "tests/app/dialog_driver.h"
#include "tests/app/gui_fixture.h"
#include "ui/main_ids.h"
#include "vector/hpgl_job_dialog.h"

namespace korvex {
namespace {

using namespace mainwin;
using namespace test;

using JobDialogGui = test::GuiTest;

// A job dialog stays open while its job runs, at 25 mm/s on the real
// clock. Esc holds the surfacing within a tick, wherever the keyboard is;
// the dialog's own stop releases it; its "End job" then holds by itself,
// and at the release the rest is dropped and the tool lifts from where it
// stopped to the height over the material.
TEST_F(JobDialogGui, EscHoldsTheSurfacingAndTheDialogsOwnButtonsReleaseAndEndIt) {
    startMoving();
    setOriginOnMaterial();
    rememberStart();
    const int32_t material = m().position.relOriginZ.load();
    bool shownHeld = false, stayedOpen = false, movedOn = false;
    Positions atKey, held, later, ended;
    WhenDialogShown([&](QWidget* dialog) {
        TypeInto(dialog, kSurfaceSizeX, "20");
        TypeInto(dialog, kSurfaceSizeY, "10");
        TypeInto(dialog, kSurfaceDepth, "0.5");
        TypeInto(dialog, kSurfacePitch, "2");
        ClickControl(dialog, kSurfaceStartX);
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return m().position.absZ.load() > material && m().position.absX.load() > 20; },
            10000));
        QTest::keyClick(dialog, Qt::Key_Escape);
        atKey = now();
        QTest::qWait(50);
        held = now();
        QTest::qWait(250);
        later = now();
        auto* stop = dialog->findChild<QAbstractButton*>("emergencyStop");
        shownHeld = stop->isChecked();
        stayedOpen = dialog->isVisible();
        QTest::mouseClick(stop, Qt::LeftButton);
        movedOn = QTest::qWaitFor([&] {
            return std::abs(m().position.absX.load() - later.abs[0]) +
                       std::abs(m().position.absY.load() - later.abs[1]) >
                   10;
        });
        QTest::mouseClick(dialog->findChild<QAbstractButton*>("endJob"), Qt::LeftButton);
        QTest::qWait(50);  // the carriages come to rest before a person releases
        ended = now();
        QTest::mouseClick(stop, Qt::LeftButton);
        ClickControl(dialog, kSurfaceCancel);
    });
    window->logic().onCommand(kMenuSurface);
    for (int a = 0; a < 3; ++a) {
        EXPECT_LE(std::abs(held.abs[a] - atKey.abs[a]), 1) << "axis " << a;
        EXPECT_EQ(later.abs[a], held.abs[a]) << "axis " << a;
        EXPECT_EQ(later.sim[a], held.sim[a]) << "axis " << a;
    }
    EXPECT_TRUE(shownHeld);
    EXPECT_TRUE(stayedOpen);
    EXPECT_TRUE(movedOn);
    ASSERT_TRUE(waitDrained());
    const Positions after = now();
    EXPECT_EQ(after.abs[0], ended.abs[0]);
    EXPECT_EQ(after.abs[1], ended.abs[1]);
    EXPECT_EQ(after.abs[2], material - MmToSteps(m().settings.safeHeight, m().settings.mmPerStepZ));
    expectAtPlanned();
    expectCarriageFollowed(after);
    EXPECT_NE(dir.read("listbox.txt").find("Job ended, the rest dropped"), std::string::npos);
}

// Holes drilled and a circle separated, each from its dialog, which its
// button that queues the job closes.
TEST_F(JobDialogGui, HolesAndACircleCutFromTheirDialogs) {
    start();
    host.files = {KORVEX_TEST_DATA "/drilling/inline-drills.drl"};
    using Script = std::function<void(QWidget*)>;
    const std::pair<std::function<void()>, Script> jobs[] = {
        {[this] { click(kDrill); },
         [](QWidget* dialog) {
             ClickControl(dialog, kDrillLoadExcellon);
             ClickControl(dialog, kDrillEnable);
             TypeInto(dialog, kDrillDepth, "1");
             ClickControl(dialog, kDrillTheseHoles);
             ClickControl(dialog, kResultOk);
         }},
        {[this] { window->logic().onCommand(kMenuSeparate); },
         [](QWidget* dialog) {
             ClickControl(dialog, kSeparationCircle);
             TypeInto(dialog, kSeparationSizeX, "3");
             TypeInto(dialog, kSeparationSizeY, "3");
             TypeInto(dialog, kSeparationDepth, "0.2");
             test::SaveScreenshot(dialog, "korvex-separation.png");
             ClickControl(dialog, kSeparationOk);
         }}};
    for (const auto& [open, script] : jobs) {
        rememberStart();
        WhenDialogShown(script);
        open();
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
        expectRunAsPlanned();
    }
}

TEST_F(JobDialogGui, AnHpglDrawingCutFromItsDialog) {
    start();
    setOriginOnMaterial();
    host.files = {dir.write("square.plt", "IN;SP1;PU0,0;PD400,0;PD400,400;PD0,400;PD0,0;PU0,0;")};
    click(kHpgl);                 // loads
    host.answers = {Answer::No};  // "read another?" No: the job's dialog
    rememberStart();
    bool ready = false;
    WhenDialogShown([&](QWidget* dialog) {
        EXPECT_EQ(dialog->windowTitle().toStdString(), "HPGL-1/2 settings");
        ClickControl(dialog, hpgl_job::kZoomIn);
        ClickControl(dialog, hpgl_job::kEnabled);
        TypeInto(dialog, hpgl_job::kDepth, "0.5");
        ready = test::Control(dialog, hpgl_job::kStart)->isEnabled();
        test::SaveScreenshot(dialog, "korvex-hpgl-job.png");
        ClickControl(dialog, hpgl_job::kStart);
        if (QApplication::activeModalWidget() == dialog) ClickControl(dialog, hpgl_job::kCancel);
    });
    click(kHpgl);
    EXPECT_TRUE(ready);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    expectRunAsPlanned();
    EXPECT_EQ(m().position.absX.load() - before.abs[0], 0) << "the square closes where it began";
}

// The relief steps the port itself from the window's thread, outside the
// executor. Its dialog's emergency stop answers while it carves: no step
// after the press and closing refused; "End job" then, at the release,
// lifts the tool back to where the carving began, over the material, and
// the dialog says where it stands. The depth typed stays the operator's
// until the program ends.
TEST_F(JobDialogGui, AReliefCarvedAndStoppedFromItsDialog) {
    start();
    rememberStart();
    host.files = {KORVEX_TEST_DATA "/machining/rgb24.bmp"};  // 4 x 2, all levels
    Positions atStop, halted;
    bool stayedOpen = false, endUsableWhileIdle = true;
    WhenDialogShown([&](QWidget* dialog) {
        QWidget* end = test::Control(dialog, kReliefEnd);
        endUsableWhileIdle = test::Control(dialog, kReliefEndJob)->isEnabled();
        TypeInto(dialog, kReliefDepth, "0.5");
        // Presses the stop at the first event the carving lets through with
        // the tool at the material.
        QTimer press;
        QObject::connect(&press, &QTimer::timeout, [&] {
            if (end->isEnabled() || m().position.absZ.load() < before.abs[2] + 50) return;
            press.stop();
            ClickControl(dialog, kReliefEmergencyStop);
            atStop = now();
            QTimer::singleShot(100, dialog, [&] {
                halted = now();
                dialog->close();
                stayedOpen = dialog->isVisible();
                test::SaveScreenshot(dialog, "korvex-relief-stopped.png");
                ClickControl(dialog, kReliefEndJob);
                ClickControl(dialog, kReliefEmergencyStop);
            });
        });
        press.start(0);
        ClickControl(dialog, kReliefGo);
        ClickControl(dialog, kReliefEnd);
    });
    window->logic().onCommand(kMenuRaster);
    EXPECT_FALSE(endUsableWhileIdle);
    EXPECT_GE(atStop.abs[2], before.abs[2] + 50) << "stopped with the tool at the material";
    for (int a = 0; a < 3; ++a) {
        EXPECT_EQ(halted.abs[a], atStop.abs[a]) << "axis " << a;
        EXPECT_EQ(halted.sim[a], atStop.sim[a]) << "axis " << a;
    }
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    const Positions after = now();
    EXPECT_EQ(after.abs[0], atStop.abs[0]);
    EXPECT_EQ(after.abs[1], atStop.abs[1]);
    EXPECT_EQ(after.abs[2], before.abs[2]);
    expectCarriageFollowed(after);
    EXPECT_EQ(host.texts.back().rfind("Cutting BMP ended: the tool stands over the material", 0),
              0u);
    EXPECT_EQ(c->relief.running, 0);
    EXPECT_EQ(m().signals.estopActive.load(), 0);
    EXPECT_EQ(m().gate.count(), 0);
    EXPECT_TRUE(waitDrained(1000));

    std::string reopenedDepth;
    WhenDialogShown([&](QWidget* dialog) {
        reopenedDepth = test::ControlText(dialog, kReliefDepth);
        ClickControl(dialog, kReliefEnd);
    });
    window->logic().onCommand(kMenuRaster);
    EXPECT_EQ(reopenedDepth, "0.50");
}

}  // namespace
}  // namespace korvex
