#include "app/qt_dialog_launcher.h"
#include "gcode/gcode_dialog.h"
#include "motion/rounding.h"
#include "tests/app/dialog_driver.h"
#include "tests/app/gui_fixture.h"
#include "ui/main_ids.h"

namespace korvex {
namespace {

using namespace mainwin;
using test::ClickControl;
using test::WhenDialogShown;

using GcodeGui = test::GuiTest;

// The program starts and ends at the relative origin's X and Y, 2 mm above
// the surface; the carriage must end where the counters say it is. The
// buffer holds a few of its moves: the window's timer feeds the rest.
TEST_F(GcodeGui, AProgramCutFromItsDialog) {
    start([](MachineSettings& s) { s.commandCapacity = 4; });
    setOriginOnMaterial(1);  // room for Z 2 above the surface
    rememberStart();

    host.files = {KORVEX_TEST_DATA "/gcode/engrave.nc"};
    std::string title, moves;
    WhenDialogShown([&](QWidget* dialog) {
        title = dialog->windowTitle().toStdString();
        ClickControl(dialog, gcode_dialog::kFile);
        moves = test::ControlText(dialog, gcode_dialog::kCounts);
        test::SaveScreenshot(dialog, "korvex-gcode.png");
        ClickControl(dialog, gcode_dialog::kStart);
        if (QApplication::activeModalWidget() == dialog) ClickControl(dialog, gcode_dialog::kClose);
    });
    size_t ran = 0;
    m().buffer.setAppendObserver([&ran](const MotionCommand&) { ++ran; });
    QtDialogLauncher launcher(*c, host, window.get());
    EXPECT_EQ(launcher.run(DialogKind::Gcode), kResultOk);
    EXPECT_EQ(title, "Set and cut G-code");
    EXPECT_EQ(moves.rfind("lines: 14, moves: ", 0), 0u) << moves;
    const size_t programMoves = c->gcode.program().moves.size();
    ASSERT_GT(programMoves, 20u);

    expectRunAsPlanned();
    EXPECT_EQ(ran, programMoves);
    const MachinePosition& p = m().position;
    EXPECT_EQ(p.absX.load(), p.relOriginX.load());
    EXPECT_EQ(p.absY.load(), p.relOriginY.load());
    EXPECT_EQ(p.absZ.load(), p.relOriginZ.load() - MmToSteps(2, m().settings.mmPerStepZ));
}

// M6 stops the machine showing the tool it waits for, not the emergency's
// look; Continue goes on with the program.
TEST_F(GcodeGui, AToolChangeWaitsForContinue) {
    start();
    setOriginOnMaterial(1);
    const int32_t originX = m().position.relOriginX.load();
    host.files = {dir.write("change.nc", "G21 G90\nG0 Z2\nG0 X1\nT2 M6\nG0 X2\nM30\n")};
    WhenDialogShown([&](QWidget* dialog) {
        ClickControl(dialog, gcode_dialog::kFile);
        ClickControl(dialog, gcode_dialog::kStart);
        if (QApplication::activeModalWidget() == dialog) ClickControl(dialog, gcode_dialog::kClose);
    });
    window->logic().onCommand(kMenuGcode);
    ASSERT_TRUE(QTest::qWaitFor([&] { return m().gate.latched(); }, 20000));
    refreshStatus();
    EXPECT_EQ(text(kProgramStopText), "Tool change: T2 — change the tool, then Continue");
    EXPECT_TRUE(button(kContinue)->isEnabled());
    EXPECT_FALSE(button(kEmergencyStop)->isChecked());
    window->grab().save(KORVEX_SCREENSHOT_DIR "/korvex-tool-change.png");
    EXPECT_EQ(m().position.absX.load(), originX + MmToSteps(1, m().settings.mmPerStepX));
    click(kContinue);
    ASSERT_TRUE(waitDrained());
    refreshStatus();
    EXPECT_EQ(text(kProgramStopText), "");
    EXPECT_FALSE(button(kContinue)->isEnabled());
    EXPECT_EQ(m().position.absX.load(), originX + MmToSteps(2, m().settings.mmPerStepX));
}

}  // namespace
}  // namespace korvex
