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
    click(kJogXPlus + 4, Qt::ShiftModifier);  // 5 mm down: room for Z 2 above the surface
    click(kSetRel);
    ASSERT_TRUE(waitDrained());
    const MachinePosition& p = m().position;
    const int32_t origin[3] = {p.relOriginX.load(), p.relOriginY.load(), p.relOriginZ.load()};
    const int32_t absStart[3] = {p.absX.load(), p.absY.load(), p.absZ.load()};
    int32_t simStart[3];
    for (int a = 0; a < 3; ++a) simStart[a] = c->sim()->position(a);

    host.files = {KORVEX_TEST_DATA "/gcode/engrave.nc"};
    std::string title, moves, table;
    WhenDialogShown([&](QWidget* dialog) {
        title = dialog->windowTitle().toStdString();
        ClickControl(dialog, gcode_dialog::kFile);
        moves = test::ControlText(dialog, gcode_dialog::kCounts);
        table = test::ControlText(dialog, gcode_dialog::kTable);
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
    EXPECT_EQ(table, "the program stays within the machine's travel");
    const size_t programMoves = c->gcode.program().moves.size();
    ASSERT_GT(programMoves, 20u);

    ASSERT_TRUE(waitDrained());
    EXPECT_EQ(ran, programMoves);
    const int32_t abs[3] = {p.absX.load(), p.absY.load(), p.absZ.load()};
    const int32_t planned[3] = {p.plannedX.load(), p.plannedY.load(), p.plannedZ.load()};
    const int32_t end[3] = {origin[0], origin[1],
                            origin[2] - MmToSteps(2, m().settings.mmPerStepZ)};
    for (int a = 0; a < 3; ++a) {
        EXPECT_EQ(abs[a], planned[a]) << a;
        EXPECT_EQ(abs[a], end[a]) << a;
        EXPECT_EQ(c->sim()->position(a) - simStart[a], abs[a] - absStart[a]) << a;
    }
}

// M6 stops the machine showing the tool it waits for, not the emergency's
// look; Continue goes on with the program.
TEST_F(GcodeGui, AToolChangeWaitsForContinue) {
    start();
    click(kJogXPlus + 4, Qt::ShiftModifier);
    click(kSetRel);
    ASSERT_TRUE(waitDrained());
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
