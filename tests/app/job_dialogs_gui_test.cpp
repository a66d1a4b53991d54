#include "drilling/drilling_dialog.h"
#include "machining/relief_controls.h"
#include "machining/separation_dialog.h"
#include "machining/surface_dialog.h"
#include "tests/app/dialog_driver.h"
#include "tests/app/gui_fixture.h"
#include "ui/main_ids.h"
#include "vector/hpgl_job_dialog.h"

namespace korvex {
namespace {

using namespace mainwin;
using test::ClickControl;
using test::TypeInto;
using test::WhenDialogShown;

// A job queued from its dialog, run on the simulated machine: the carriage
// ends where the plan said, having moved by exactly what the counters did.
struct JobDialogGui : test::GuiTest {
    int32_t simStart[3] = {}, absStart[3] = {};
    int64_t ticksBefore = 0;
    void rememberStart() {
        const MachinePosition& p = m().position;
        absStart[0] = p.absX.load();
        absStart[1] = p.absY.load();
        absStart[2] = p.absZ.load();
        for (int a = 0; a < 3; ++a) simStart[a] = c->sim()->position(a);
        ticksBefore = m().executor.ticks.load();
    }
    void expectRunAsPlanned() {
        ASSERT_TRUE(waitDrained());
        EXPECT_GT(m().executor.ticks.load(), ticksBefore);
        const MachinePosition& p = m().position;
        EXPECT_EQ(p.absX.load(), p.plannedX.load());
        EXPECT_EQ(p.absY.load(), p.plannedY.load());
        const int32_t abs[3] = {p.absX.load(), p.absY.load(), p.absZ.load()};
        // Z is left out: the lift to the safe height meets the simulated
        // carriage's top end.
        for (int a = 0; a < 2; ++a)
            EXPECT_EQ(c->sim()->position(a) - simStart[a], abs[a] - absStart[a]) << a;
    }
};

TEST_F(JobDialogGui, ASurfaceMilledFromItsDialog) {
    start();
    click(kSetRel);  // the surface starts at the relative origin
    ASSERT_TRUE(waitDrained());
    rememberStart();
    WhenDialogShown([&](QWidget* dialog) {
        TypeInto(dialog, kSurfaceSizeX, "2");
        TypeInto(dialog, kSurfaceSizeY, "1.5");
        TypeInto(dialog, kSurfaceDepth, "0.2");
        TypeInto(dialog, kSurfacePitch, "0.5");
        test::SaveScreenshot(dialog, "korvex-surface.png");
        ClickControl(dialog, kSurfaceStartX);
        ClickControl(dialog, kSurfaceCancel);
    });
    window->logic().onCommand(kMenuSurface);
    expectRunAsPlanned();
}

TEST_F(JobDialogGui, ACircleSeparatedFromItsDialog) {
    start();
    rememberStart();
    WhenDialogShown([&](QWidget* dialog) {
        ClickControl(dialog, kSeparationCircle);
        TypeInto(dialog, kSeparationSizeX, "3");
        TypeInto(dialog, kSeparationSizeY, "3");
        TypeInto(dialog, kSeparationDepth, "0.2");
        test::SaveScreenshot(dialog, "korvex-separation.png");
        ClickControl(dialog, kSeparationOk);
    });
    window->logic().onCommand(kMenuSeparate);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);  // "Ok" queued and closed
    expectRunAsPlanned();
}

TEST_F(JobDialogGui, AnHpglDrawingCutFromItsDialog) {
    start();
    // Room below for the cut, then the relative origin on the material.
    click(kJogXPlus + 4, Qt::ShiftModifier);
    click(kJogXPlus + 4, Qt::ShiftModifier);
    host.answers = {Answer::Yes};
    click(kSetRel);
    ASSERT_TRUE(waitDrained());
    host.files = {dir.write("square.plt", "IN;SP1;PU0,0;PD400,0;PD400,400;PD0,400;PD0,0;PU0,0;")};
    click(kHpgl);                 // loads
    host.answers = {Answer::No};  // "read another?" No: the job's dialog
    rememberStart();
    std::string pens, layer;
    bool ready = false;
    WhenDialogShown([&](QWidget* dialog) {
        EXPECT_EQ(dialog->windowTitle().toStdString(), "nastavení HPGL-1/2");
        ClickControl(dialog, hpgl_job::kZoomIn);
        pens = test::ControlText(dialog, hpgl_job::kPenCount);
        layer = test::ControlText(dialog, hpgl_job::kLayerNumber);
        ClickControl(dialog, hpgl_job::kEnabled);
        TypeInto(dialog, hpgl_job::kDepth, "0.5");
        ready = test::Control(dialog, hpgl_job::kStart)->isEnabled();
        test::SaveScreenshot(dialog, "korvex-hpgl-job.png");
        ClickControl(dialog, hpgl_job::kStart);
        if (QApplication::activeModalWidget() == dialog) ClickControl(dialog, hpgl_job::kCancel);
    });
    click(kHpgl);
    EXPECT_EQ(pens, "number of pens     1");
    EXPECT_EQ(layer, "1/1");
    EXPECT_TRUE(ready);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    expectRunAsPlanned();
    EXPECT_EQ(m().position.absX.load() - absStart[0], 0) << "the square closes where it began";
}

TEST_F(JobDialogGui, ADrillListDrilledFromItsDialog) {
    start();
    rememberStart();
    host.files = {KORVEX_TEST_DATA "/drilling/inline-drills.drl"};
    std::string holes;
    WhenDialogShown([&](QWidget* dialog) {
        ClickControl(dialog, kDrillLoadExcellon);
        holes = test::ControlText(dialog, kDrillHoleCount);
        ClickControl(dialog, kDrillEnable);
        TypeInto(dialog, kDrillDepth, "1");
        test::SaveScreenshot(dialog, "korvex-drilling.png");
        ClickControl(dialog, kDrillTheseHoles);
        ClickControl(dialog, kResultOk);
    });
    click(kDrill);
    EXPECT_NE(holes, "0");
    expectRunAsPlanned();
}

TEST_F(JobDialogGui, AReliefSimulatedInItsDialog) {
    start();
    host.files = {KORVEX_TEST_DATA "/machining/indexed8.bmp"};
    bool loaded = false;
    WhenDialogShown([&](QWidget* dialog) {
        loaded = c->raster.loaded != 0;
        TypeInto(dialog, kReliefDepth, "1");
        ClickControl(dialog, kReliefSimulate);  // "Yes" to the question
        test::SaveScreenshot(dialog, "korvex-relief.png");
        ClickControl(dialog, kReliefEnd);
    });
    window->logic().onCommand(kMenuRaster);
    EXPECT_TRUE(loaded);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

}  // namespace
}  // namespace korvex
