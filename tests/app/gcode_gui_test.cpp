#include <QWheelEvent>

#include "gcode/gcode_dialog.h"
#include "motion/rounding.h"
#include "tests/app/dialog_driver.h"
#include "tests/app/gui_fixture.h"
#include "ui/main_ids.h"

namespace korvex {
namespace {

using namespace mainwin;
using namespace test;

using GcodeGui = test::GuiTest;

// A program cut from its dialog, its moves fed by the window's timer past
// a buffer of four. M6 stops the machine showing the tool it waits for,
// not the emergency's look; Continue goes on with the program. The state
// line follows the job through it, the feed override slows what is left,
// the program ends 2 mm over its origin and the preview draws the
// program's toolpath with the path run over it.
TEST_F(GcodeGui, AProgramWithAToolChangeCutFromItsDialog) {
    startMoving([](MachineSettings& s) { s.commandCapacity = 4; });
    setOriginOnMaterial(1);  // room for Z 2 above the surface
    rememberStart();
    const int32_t originX = m().position.relOriginX.load();
    refreshStatus();
    EXPECT_EQ(text(kStateLine), "Idle");
    host.files = {
        dir.write("change.nc",
                  "G21 G90\nG0 Z2\nG0 X1\nG0 Y1\nG0 X0\nG0 Y0\nG0 X1\nT2 M6\nG1 X3 F600\nM30\n")};
    size_t ran = 0;
    m().buffer.addAppendObserver([&ran](const MotionCommand&) { ++ran; });
    WhenDialogShown([&](QWidget* dialog) {
        ClickControl(dialog, gcode_dialog::kFile);
        ClickControl(dialog, gcode_dialog::kStart);
        if (QApplication::activeModalWidget() == dialog) ClickControl(dialog, gcode_dialog::kClose);
    });
    window->logic().onCommand(kMenuGcode);
    ASSERT_TRUE(QTest::qWaitFor([&] { return m().gate.latched(); }, 20000));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    refreshStatus();
    EXPECT_EQ(text(kProgramStopText), "Tool change: T2 — change the tool, then Continue");
    EXPECT_EQ(text(kStateLine).rfind("Paused (waiting for: tool change) — ", 0), 0u)
        << text(kStateLine);
    EXPECT_TRUE(button(kContinue)->isEnabled());
    EXPECT_FALSE(button(kEmergencyStop)->isChecked());
    window->grab().save(KORVEX_SCREENSHOT_DIR "/korvex-tool-change.png");
    EXPECT_EQ(m().position.absX.load(), originX + MmToSteps(1, m().settings.mmPerStepX));

    // A minus typed into a field stays there; the key elsewhere slows the feed.
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    auto* target = window->view().control(kTargetX);
    target->setFocus();
    QTest::keyClick(target, Qt::Key_Minus);
    EXPECT_NE(text(kTargetX).find('-'), std::string::npos);
    EXPECT_EQ(m().executor.feedPercent.load(), 100);
    button(kContinue)->setFocus();
    for (int i = 0; i < 12; ++i) QTest::keyClick(window.get(), Qt::Key_Minus);
    EXPECT_EQ(m().executor.feedPercent.load(), 10) << "the override stops at 10 %";
    EXPECT_EQ(text(kFeedOverrideText), "10 %");

    click(kContinue);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return text(kStateLine).rfind("Running job: G-code — ", 0) == 0; }, 5000))
        << text(kStateLine);
    EXPECT_NE(text(kStateLine).find(" — feed 10 %"), std::string::npos);
    QTest::keyClick(window.get(), Qt::Key_Plus);
    EXPECT_EQ(m().executor.feedPercent.load(), 20);
    ASSERT_TRUE(waitDrained());
    refreshStatus();
    EXPECT_EQ(text(kStateLine).rfind("Idle — G-code job finished in 0:0", 0), 0u)
        << text(kStateLine);
    EXPECT_EQ(text(kProgramStopText), "");
    EXPECT_FALSE(button(kContinue)->isEnabled());
    expectAtPlanned();
    expectCarriageFollowed(now());
    EXPECT_EQ(ran, c->gcode.program().moves.size());
    EXPECT_EQ(m().position.absX.load(), originX + MmToSteps(3, m().settings.mmPerStepX));
    EXPECT_EQ(m().position.absZ.load(),
              m().position.relOriginZ.load() - MmToSteps(2, m().settings.mmPerStepZ));

    // The trace ran the whole plan and ends where the carriage stands.
    const JobTrack& track = c->track;
    ASSERT_FALSE(track.empty());
    EXPECT_EQ(track.done(), static_cast<int64_t>(track.points().size()));
    EXPECT_EQ(track.points().back().x, m().position.absX.load());
    const auto preview = [&] {
        window->logic().onPaint();
        return window->view().control(kPreviewArea)->grab().toImage();
    };
    QWidget* area = window->view().control(kPreviewArea);
    const QPointF centre(area->width() / 2.0, area->height() / 2.0);
    QTest::mouseDClick(area, Qt::LeftButton, {}, centre.toPoint());
    const QImage fitted = preview();
    EXPECT_GT(test::CountPixels(fitted, 0xFFE8590Cu), 50) << "the path run is drawn";
    QWheelEvent wheel(centre, area->mapToGlobal(centre), {}, {0, 240}, Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(area, &wheel);
    EXPECT_NE(preview(), fitted) << "the wheel zooms";
    QTest::mouseDClick(area, Qt::LeftButton, {}, centre.toPoint());
    EXPECT_EQ(preview(), fitted) << "a double click fits the job again";
}

}  // namespace
}  // namespace korvex
