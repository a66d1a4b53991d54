#include "ui/main_commands.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>

#include "motion/rounding.h"
#include "tests/ui/recording_window.h"
#include "tests/ui/view_driver.h"
#include "ui/kind_guard.h"
#include "ui/main_ids.h"
#include "ui/main_menu.h"
#include "ui/status_display.h"

namespace korvex {
namespace {

using namespace mainwin;

// The commands on a machine whose executor does not run: what they queue
// stays in the buffer to be read.
struct CommandsTest : test::ControllerTest {
    test::RecordingWindow view;
    ScriptedHost host;
    test::ScriptedLauncher dialogs;
    StatusDisplay status{c, view};
    MainCommands commands{c, view, host, status, dialogs};
    const MachineSettings& s = c.machine.settings;

    CommandsTest() {
        c.machine.settings.language = 1;
        c.machine.settings.showMillimetres = 0;
        c.machine.settings.moveSpeedZ = 2.5f;  // Z's period differs from X's and Y's
        // The commands' own moves from the unhomed zero; the soft limits'
        // shortening has its own tests.
        c.machine.settings.softLimits = 0;
        c.machine.buffer.allocate(100);
        c.machine.log.setHost(&host);
        c.machine.log.setListSink([this](const std::string& l) { view.addListLine(kLogList, l); });
    }
    std::vector<MotionCommand> queued() const {
        std::vector<MotionCommand> out;
        for (int i = 0; i <= c.machine.buffer.lastIndex(); ++i)
            out.push_back(c.machine.buffer.entry(i));
        return out;
    }
    // Each queued move's steps on X, Y and Z.
    std::vector<std::array<int32_t, 3>> moves() const {
        std::vector<std::array<int32_t, 3>> out;
        for (const MotionCommand& m : queued()) out.push_back({m.dx, m.dy, m.dz});
        return out;
    }
    int32_t period(float speed) const { return PeriodUs(speed, 0.1); }
    void target(int id, const std::string& text) { test::Type(view, commands, id, text); }
};
using Moves = std::vector<std::array<int32_t, 3>>;

// Plain: one step without ramp; Shift 5 mm and Ctrl 50 mm ramped, both
// first 5 then 50 mm, by the acceleration switch; the keys jog like the
// buttons, Page Up lifting Z.
TEST_F(CommandsTest, JogButtonsAndKeysMoveByTheModifiers) {
    for (int id = kJogXPlus; id <= kJogZMinus; ++id) commands.onCommand(id);
    for (JogKey key : {JogKey::Left, JogKey::Up, JogKey::PageUp, JogKey::PageDown})
        commands.onKey(key);
    host.shift = true;
    commands.onCommand(kJogXPlus);
    host.shift = false;
    host.ctrl = true;
    commands.onCommand(kJogXPlus + 3);  // Y -
    host.shift = true;
    commands.onCommand(kUseAcceleration);  // off
    commands.onCommand(kJogZMinus - 1);    // Z +
    using Jogs = std::vector<std::array<int32_t, 4>>;
    const Jogs expect = {// dx, dy, dz, accelerated
                         {1, 0, 0, 0},  {-1, 0, 0, 0},   {0, 1, 0, 0},  {0, -1, 0, 0}, {0, 0, 1, 0},
                         {0, 0, -1, 0}, {-1, 0, 0, 0},   {0, 1, 0, 0},  {0, 0, -1, 0}, {0, 0, 1, 0},
                         {50, 0, 0, 1}, {0, -500, 0, 1}, {0, 0, 50, 0}, {0, 0, 500, 0}};
    Jogs got;
    for (const MotionCommand& q : queued()) {
        got.push_back({q.dx, q.dy, q.dz, q.accelerated});
        if (!q.accelerated) {
            EXPECT_EQ(q.periodUs, period(q.dz ? s.moveSpeedZ : s.moveSpeedX)) << got.size();
        }
    }
    EXPECT_EQ(got, expect);
}

// Targets are distances unless absolute; the slowest axis moving sets the
// period, "XY then Z" lifts a negative Z first and skips a zero XY move.
TEST_F(CommandsTest, GoTargetsMoveByTheSlowestAxisAndXYThenZLiftsFirst) {
    commands.position().updateGoButtons();
    EXPECT_FALSE(view.isEnabled(kGoXYZ));
    target(kTargetX, "12");
    EXPECT_TRUE(view.isEnabled(kGoXYThenZ));
    target(kTargetZ, "-7 steps");
    commands.onCommand(kGoXYZ);
    EXPECT_EQ(queued()[0].periodUs, period(s.moveSpeedZ));
    EXPECT_EQ(view.text(kTargetX), "   0.00");
    EXPECT_FALSE(view.isEnabled(kGoXYZ));
    target(kTargetX, "30");
    target(kTargetZ, "-40");
    commands.onCommand(kGoXYThenZ);
    EXPECT_EQ(queued().back().dwellAfter, 1);
    target(kTargetZ, "40");
    commands.onCommand(kGoXYThenZ);
    commands.onCommand(kAbsoluteTarget);  // zero targets: back to the origin
    commands.onCommand(kGoXYZ);
    EXPECT_EQ(moves(), (Moves{{12, 0, -7}, {0, 0, -40}, {30, 0, 0}, {0, 0, 40}, {-42, 0, 7}}));
    c.machine.settings.showMillimetres = 1;
    target(kTargetY, "2.56");
    EXPECT_EQ(c.op.goTarget[1], 26);
}

TEST_F(CommandsTest, GoCommandsRefuseWithoutFreeEntries) {
    c.machine.buffer.allocate(1);
    target(kTargetX, "5");
    commands.onCommand(kGoXYThenZ);
    EXPECT_TRUE(queued().empty());
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_NE(host.boxes[0].text.find("plus 2"), std::string::npos);
    commands.onCommand(kGoXYZ);
    EXPECT_EQ(queued().size(), 1u);
}

// No: the tool stands over the material, the surface a safe height below
// it. Yes: the tool is on the surface and lifts by the safe height.
TEST_F(CommandsTest, SetRelativeOriginAsksWhereTheToolIs) {
    const int32_t safe = MmToSteps(s.safeHeight, s.mmPerStepZ);
    AppendCommand(c.machine, 10, 20, 30, 1000, 0, 0, 0, 0, 0);
    host.answers = {Answer::No};
    commands.onCommand(kSetRel);
    const MachinePosition& p = c.machine.position;
    EXPECT_EQ((Moves{{p.relOriginX, p.relOriginY, p.relOriginZ}}), (Moves{{10, 20, 30 + safe}}));
    EXPECT_EQ(p.relOriginSet.load(), 1);
    EXPECT_TRUE(view.isEnabled(kRelX));

    host.answers = {Answer::Yes};
    commands.onCommand(kMenuSetRel);
    EXPECT_EQ(moves(), (Moves{{10, 20, 30}, {0, 0, -safe}}));
    EXPECT_EQ(queued()[1].accelerated, 1);
    EXPECT_EQ(p.relOriginZ.load(), 30);
}

TEST_F(CommandsTest, GotoRelativeAfterAResetStartsFromWhereTheResetStopped) {
    MachinePosition& p = c.machine.position;
    p.relOriginX = 100;
    p.relOriginY = 50;
    p.relOriginZ = 10;
    p.relOriginSet = 1;
    p.plannedX = 999;  // the abandoned job's end
    p.resumeX = 40;
    p.resumeY = 30;
    p.resumeZ = 20;
    p.resumeValid = 1;
    commands.onCommand(kGotoRel);
    const int32_t safe = MmToSteps(s.safeHeight, s.mmPerStepZ);
    EXPECT_EQ(moves(), (Moves{{0, 0, -10}, {0, 0, -safe}, {60, 20, 0}, {0, 0, safe}}));
    EXPECT_EQ(p.resumeValid.load(), 0);
    EXPECT_EQ(p.absX.load(), 40);
    EXPECT_EQ(p.plannedZ.load(), 10);
}

TEST_F(CommandsTest, GotoRelativeLeavesTheCountersAloneWhileMovesAreQueued) {
    MachinePosition& p = c.machine.position;
    p.relOriginSet = 1;
    AppendCommand(c.machine, 100, 0, 0, 1000, 0, 0, 0, 0, 0);
    p.resumeX = 40;  // saved by a reset that came before that move
    p.resumeValid = 1;
    commands.onCommand(kGotoRel);
    EXPECT_EQ(p.absX.load(), 0) << "a stale stop point rewrites nothing";
    EXPECT_EQ(p.plannedX.load(), 0) << "back at the origin after the queued move";
    EXPECT_EQ(p.resumeValid.load(), 0) << "dropped by the next append";
}

TEST_F(CommandsTest, ResetAbsoluteAndCalibrationOnlyWhileIdle) {
    MachinePosition& p = c.machine.position;
    p.absX = 5;
    p.relOriginX = 9;
    p.relOriginSet = 1;
    AppendCommand(c.machine, 10, 0, 0, 1000, 0, 0, 0, 0, 0);  // work queued: busy
    commands.onCommand(kResetAbs);
    commands.onCommand(kSetAbs);
    EXPECT_EQ(p.absX.load(), 5);
    EXPECT_TRUE(dialogs.opened.empty());
    EXPECT_EQ(host.boxes.at(0).title, "?");
    c.machine.buffer.reset();
    commands.onCommand(kMenuResetAbs);
    EXPECT_EQ(p.absX.load(), 0);
    EXPECT_EQ(p.relOriginX.load(), 0);
    EXPECT_EQ(p.relOriginSet.load(), 1);
    commands.onCommand(kMenuCalibration);
    EXPECT_EQ(dialogs.opened, std::vector<DialogKind>{DialogKind::NullPosition});
}

TEST_F(CommandsTest, ResetBufferAsksFirst) {
    AppendCommand(c.machine, 10, 0, 0, 1000, 0, 0, 0, 0, 0);
    host.answers = {Answer::No, Answer::Yes};
    commands.onCommand(kResetBuffer);
    EXPECT_EQ(queued().size(), 1u);
    EXPECT_TRUE(view.lines().empty());
    commands.onCommand(kResetBuffer);
    EXPECT_EQ(view.lines().back(), "Reset buffer OK");
}

// Without a drawing the model commands are gray and only a box answers
// them; the G-code is never gray.
TEST_F(CommandsTest, ModelCommandsWithoutADrawingAreGrayButGcodeIsNot) {
    commands.model().updateControls();
    EXPECT_FALSE(view.menuEnabled[kMenuHpgl]);
    EXPECT_FALSE(view.isEnabled(kScaleUp));
    EXPECT_EQ(view.menuEnabled.count(kMenuGcode), 0u);
    int offered = 0;
    for (const MenuItem& top : MainMenu(1))
        for (const MenuItem& item : top.children) offered += item.id == kMenuGcode && item.enabled;
    EXPECT_EQ(offered, 1);
    commands.onCommand(kToLeft);
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].text, "At first, u must choose file hpgl!");
    EXPECT_TRUE(view.lines().empty());
}

TEST_F(CommandsTest, JobCommandsWithoutTheirWindowSayWhichWindowIsMissing) {
    commands.onCommand(kDrill);
    commands.onCommand(kMenuGcode);
    EXPECT_EQ(dialogs.opened, (std::vector<DialogKind>{DialogKind::Drilling, DialogKind::Gcode}));
    EXPECT_EQ(view.lines(), (std::vector<std::string>{
                                "The window \"Drill holes\" is not in this version yet",
                                "The window \"Set and cut G-code\" is not in this version yet"}));
    dialogs.result = 1;
    commands.onCommand(kMenuSeparate);
    EXPECT_EQ(view.lines().size(), 2u);
}

// Model transforms on a drawing loaded through the HPGL command; 4 plotter
// units are one step.
struct ModelCommandsTest : CommandsTest {
    void load(const std::string& hpgl) {
        host.files = {{true, dir.write("drawing.plt", hpgl), 1}};
        commands.onCommand(kHpgl);
        ASSERT_EQ(c.vector.loaded, 1);
    }
    const std::vector<VectorPoint>& points(int object) const {
        return c.vector.objects[object].points;
    }
};

TEST_F(ModelCommandsTest, TurnsAndMirrorsUndoEachOther) {
    load("SP1;PU0,0;PD28,0;PD28,12;PU8,4;PD20,4;");
    const auto loaded = c.vector.objects;
    const size_t boxes = host.boxes.size();
    for (int id : {kVertical, kVertical, kHorizont, kHorizont, kToLeft, kToRight, kToLeft, kToLeft,
                   kToLeft, kToLeft})
        EXPECT_TRUE(commands.onCommand(id));
    EXPECT_EQ(points(0), loaded[0].points);
    EXPECT_EQ(points(1), loaded[1].points);
    commands.onCommand(kToLeft);
    EXPECT_EQ(c.vector.width, 3);
    EXPECT_EQ(c.vector.height, 7);
    EXPECT_EQ(points(0).front(), (VectorPoint{3, 7, 0}));
    EXPECT_EQ(view.text(kModelSize), "x:0.30mm y:0.70mm z:0.00mm");
    EXPECT_EQ(host.boxes.size(), boxes);
}

// Steps truncate and accumulate; the scale never goes below 1 %.
TEST_F(ModelCommandsTest, ResizeTruncatesAndAccumulates) {
    load("SP1;PU0,0;PD28,0;PD28,12;");
    commands.onCommand(kScaleCalc);  // 100 %
    EXPECT_EQ(points(0)[1], (VectorPoint{7, 3, 0}));
    c.op.scalePercent = 51;
    commands.onCommand(kScaleDown);
    EXPECT_EQ(view.text(kNewSizeX), "   0.30mm");  // 3.5 steps, truncated
    commands.onCommand(kScaleCalc);
    EXPECT_EQ(points(0)[1], (VectorPoint{3, 1, 0}));
    commands.onCommand(kScaleCalc);
    EXPECT_EQ(c.vector.width, 1);
    EXPECT_EQ(view.text(kModelSize), "x:0.10mm y:0.00mm z:0.00mm");
    c.op.scalePercent = 2;
    commands.onCommand(kScaleDown);
    commands.onCommand(kScaleDown);
    EXPECT_EQ(view.text(kScalePercent), "1 %");
}

TEST_F(ModelCommandsTest, TheOpenDialogsFilterChoosesTheKindAndACancelChangesNothing) {
    load("SP1;PU0,0;PD160,0;");
    host.files = {{true, dir.write("b.plt", "SP1;PU;PA0,0;PD;PA40,0;"), 3}};
    commands.onCommand(kHpgl);  // "load another": yes
    EXPECT_EQ(c.vector.sourceKind, kHpglSprint);
    EXPECT_FLOAT_EQ(c.preview.scale, 250);  // 1 mm wide
    commands.onCommand(kHpgl);              // cancelled
    EXPECT_EQ(c.vector.loaded, 1);
    EXPECT_EQ(c.vector.sourceKind, kHpglSprint);
}

// A file of another kind chosen for a drawing never reaches the HPGL
// reader: it opens where it belongs and the drawing stays. Inside a job
// dialog the guard only says where such a file opens.
TEST_F(ModelCommandsTest, AnotherKindOpensWhereItBelongsAndTheDrawingStays) {
    load("SP1;PU0,0;PD28,0;");
    const auto drawing = c.vector.objects;
    const std::string program = dir.write("part.nc", "G21 G90\nG0 X1 Y1\nG1 X2 F100\nM2\n");
    host.files = {{true, program, 1}};
    commands.onCommand(kHpgl);  // "load another": yes
    EXPECT_EQ(c.vector.objects[0].points, drawing[0].points);
    EXPECT_EQ(dialogs.opened, std::vector<DialogKind>{DialogKind::Gcode});
    const auto lines = view.lines();
    EXPECT_NE(std::find(lines.begin(), lines.end(),
                        "This looks like a G-code program: opened in the G-code dialog"),
              lines.end());

    KindGuard guard(host, c.machine.log, {FileKind::Picture}, false);
    host.files = {{true, program, 1}};
    EXPECT_FALSE(guard.openFile({}, 1).chosen);
    EXPECT_EQ(host.boxes.back().text,
              "This looks like a G-code program: open it in the G-code dialog (Open… in the main "
              "window)");
    host.files = {{true, dir.write("notes.txt", "nothing to cut"), 1}};
    EXPECT_TRUE(guard.openFile({}, 1).chosen) << "the reader names its own fault";
}

TEST_F(ModelCommandsTest, HpglLoadsADrawingThenOffersItsJobDialog) {
    load("IN;SP1;PU0,0;PD400,0;PD400,400;");
    EXPECT_EQ(view.text(kModelFile), dir.file("drawing.plt"));
    EXPECT_TRUE(view.menuEnabled[kMenuHpgl]);
    EXPECT_TRUE(view.isEnabled(kScaleUp));
    host.answers = {Answer::No};  // not another drawing: its job
    commands.onCommand(kMenuHpgl);
    EXPECT_EQ(dialogs.opened, std::vector<DialogKind>{DialogKind::HpglJob});
    EXPECT_EQ(host.fileDialogs.size(), 1u);
}

TEST_F(CommandsTest, LogoOpensThePageOfTheLanguage) {
    commands.onCommand(kLogo);
    c.machine.settings.language = 0;
    commands.onCommand(kLogo);
    ASSERT_EQ(host.urls.size(), 2u);
    EXPECT_NE(host.urls[0], host.urls[1]);
}

}  // namespace
}  // namespace korvex
