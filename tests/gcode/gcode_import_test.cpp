#include <gtest/gtest.h>

#include "gcode/gcode_import.h"
#include "motion/motion_rig.h"
#include "motion/port.h"
#include "tests/gcode/gcode_fixture.h"

namespace korvex::test {
namespace {

struct GcodeImportTest : GcodeFixture {
    GcodeImport import{m};
};

TEST_F(GcodeImportTest, SummaryAndStartQueueTheProgramFromTheOrigin) {
    // More seconds of machine time than an int holds are shown, not wrapped:
    // 2000000 steps of the longest period, each with its 15 us of pulse.
    ASSERT_TRUE(import.load(dir.write("slow.nc", "G1 X20000 F0.0001\n")));
    EXPECT_EQ(import.summaryLines().at(5), "estimated time: 1193046:28:44");

    const std::string path =
        dir.write("part.nc", "G21 G90\nG0 X10 Y-5 Z2\nG1 Z-1 F60\nG1 X20 F600\nG0 Z2\nM2\n");
    ASSERT_TRUE(import.load(path));
    EXPECT_EQ(import.summary(), path +
                                    "\nunits: mm\nX 10.000 to 20.000 mm\nY -5.000 to -5.000 mm\n"
                                    "Z -1.000 to 2.000 mm\nlines: 6, moves: 4\n"
                                    "estimated time: 0:00:06\nline 3: a feed with the "
                                    "spindle stopped, the program did not start it (M3, M4)");
    ASSERT_TRUE(import.start());
    EXPECT_EQ(queuedMoves(), "1000,-500,-200 0,0,300 1000,0,0 0,0,-300");
    EXPECT_EQ(Planned(m), (Steps3{5000 + 2000, 5000 - 500, 1000 - 200}));
}

// The summary's estimate is what the sample part takes on the simulated
// machine's virtual clock; its stops, released at once here, count nothing.
TEST_F(GcodeImportTest, EstimateIsTheSamplePartsMachineTime) {
    ASSERT_TRUE(import.load(KORVEX_TEST_DATA "/gcode/mill.ngc"));
    MotionRig rig(m);
    const int64_t start = rig.clock().now();
    ASSERT_TRUE(import.start());
    ASSERT_TRUE(WaitUntilDrained(m, [&] {
        if (m.signals.estopActive.load()) ReleaseEmergencyStop(m);
        return false;
    }));
    const double run = static_cast<double>(rig.clock().now() - start) / 1e9;
    EXPECT_NEAR(import.program().estimatedSeconds, run, run * 0.01);
}

TEST_F(GcodeImportTest, AbsoluteProgramIsReadAgainWhenTheToolHasMoved) {
    ASSERT_TRUE(import.load(dir.write("a.nc", "G0 X10\n")));
    m.position.plannedX = 5000 + 300;  // a move queued after the load
    ASSERT_TRUE(import.start());
    EXPECT_EQ(queuedMoves(), "700,0,0");
}

TEST_F(GcodeImportTest, RefusalsQueueNothing) {
    const std::string loaded = dir.write("loaded.nc", "G0 X2\n");
    ASSERT_TRUE(import.load(loaded));
    EXPECT_FALSE(import.load(dir.file("missing.nc")));
    EXPECT_FALSE(import.load(dir.write("bad.nc", "G0 X1\nG38.2 Z-5 F10\n")));
    EXPECT_EQ(import.path(), loaded) << "a refused program keeps the one loaded";
    ASSERT_TRUE(import.start());
    EXPECT_EQ(queued().size(), 1u);
    m.buffer.reset();

    // Off the table: the origin is 50 mm from the X switch.
    ASSERT_TRUE(import.load(dir.write("wide.nc", "G0 X-60\nG0 X155\nG1 Z-45 F60\n")));
    EXPECT_FALSE(import.start());

    ASSERT_TRUE(import.load(dir.write("empty.nc", "(nothing)\nM2\n")));
    EXPECT_FALSE(import.start());
    m.position.relOriginSet = 0;
    ASSERT_TRUE(import.load(loaded));
    EXPECT_FALSE(import.start());
    EXPECT_EQ(queued().size(), 0u);
    EXPECT_EQ(
        boxTexts(),
        (std::vector<std::string>{
            "The G-code program was not loaded, the file cannot be read",
            "line 2: the word G38.2 is not supported",
            " this program leaves the machine's travel by dX:10.00 dY:0.00 dZ:5.00 \n "
            "cutting aborted",
            "The G-code program has no moves", "you must define relative point (startpoint)"}));
}

// G28 runs to where the machine's counters are 0, which homing sets; the
// summary names the axes it never homed, and the list says once that tool
// lengths are not kept.
TEST_F(GcodeImportTest, HomeAndToolLengthsAreExplained) {
    ASSERT_TRUE(import.load(dir.write("h.nc", "G43 H1\nG0 X1\nG43 H2\nG28 X1 Z2\n")));
    EXPECT_EQ(import.summaryLines().back(),
              "G28 goes in X Z to where the machine was started: not homed on the limit switches");
    m.position.homedAxes = 1 | 2;
    EXPECT_EQ(import.summaryLines().back(),
              "G28 goes in Z to where the machine was started: not homed on the limit switches");
    m.position.homedAxes = 1 | 4;
    EXPECT_EQ(import.summaryLines().size(), 6u);
    EXPECT_EQ(listed("Tool lengths (G43) are not applied: tools are touched off with the probe"),
              1);
    ASSERT_TRUE(import.start());
    EXPECT_EQ(Planned(m), (Steps3{0, 5000, 0}));
}

// A feed, a drilling cycle's too, before M3 or M4, or after a tool change
// stopped the spindle, is named by its line; rapids are not.
TEST_F(GcodeImportTest, FeedWithTheSpindleStoppedIsNoted) {
    auto note = [&](const char* program) {
        EXPECT_TRUE(import.load(dir.write("s.nc", program)));
        return import.program().stoppedSpindleFeed;
    };
    EXPECT_EQ(note("G0 X1 Z-1\nM3 S1000\nG1 X2 F100\nG2 X3 I0.5\nM5\nG0 Z1\n"), 0);
    EXPECT_EQ(note("M4\nG1 X1 F100\nT2 M6\nG0 X2\nG1 X3\n"), 5);
    EXPECT_EQ(note("G0 Z5\nG81 X1 Y1 Z-1 R1 F100\n"), 2);
    m.settings.language = 0;
    EXPECT_EQ(import.summaryLines().back(),
              "řádek 2: posuv při stojícím vřetenu, program ho předtím nespustil (M3, M4)");
}

TEST_F(GcodeImportTest, ToolChangeIsListedAndStops) {
    ASSERT_TRUE(import.load(dir.write("t.nc", "T1 M6\nG0 X1\nT3 M6\nG0 X2\n")));
    ASSERT_TRUE(import.start());
    ASSERT_GE(list.size(), 2u);
    EXPECT_EQ(list[list.size() - 2], "tool T1");
    EXPECT_EQ(list.back(), "tool change to T3 after move 1");
    EXPECT_EQ(queued()[0].stopAfter, kStopToolChange + 3);  // the stop names the tool it waits for
}

// A program longer than the buffer is fed as the executor drains it: the
// buffer receives exactly the program's moves in order, the tool change's
// stop on its move; a reset ends the feed and so does a move queued in
// between, with the rest never queued.
TEST_F(GcodeImportTest, ALongProgramIsFedAsTheBufferDrains) {
    std::string text = "G91\n";
    for (int i = 1; i <= 40; ++i)
        text += Format(i == 17 ? "G0 X%d\nT2 M6\n" : "G0 X%d\n", i % 5 + 1);
    ASSERT_TRUE(import.load(dir.write("long.nc", text)));
    const std::vector<MotionCommand> program = import.program().moves;
    std::vector<MotionCommand> ran;
    auto runAndFeed = [&](int moves) {
        for (int i = 0; i < moves && m.buffer.queued() > 0; ++i) {
            ran.push_back(m.buffer.entry(0));
            m.buffer.removeFront();
        }
        import.feed();
    };
    m.buffer.allocate(7);
    ASSERT_TRUE(import.start());
    EXPECT_EQ(import.movesUnqueued(), 33u);
    EXPECT_EQ(import.progress()->line, 2);
    while (m.buffer.queued() > 0) runAndFeed(3);
    ASSERT_EQ(ran.size(), program.size());
    for (size_t i = 0; i < ran.size(); ++i) {
        EXPECT_EQ(ran[i].dx, program[i].dx) << i;
        EXPECT_EQ(ran[i].stopAfter, i == 16 ? kStopToolChange + 2 : 0) << i;
    }
    EXPECT_EQ(m.position.plannedX.load(), 5000 + 8 * 15 * 100);
    EXPECT_FALSE(import.progress());

    m.position.plannedX = 5000;
    ASSERT_TRUE(import.start());
    runAndFeed(2);
    m.buffer.requestReset(m.executor.resetRequest);
    runAndFeed(7);
    EXPECT_EQ(import.movesUnqueued(), 0u);
    EXPECT_EQ(m.buffer.queued(), 0);

    m.position.plannedX = 5000;
    ASSERT_TRUE(import.start());
    m.buffer.removeFront();
    AppendCommand(m, 0, 1, 0, 100, 0, 0, 0, 0, 0);  // a jog queued while the program is fed
    runAndFeed(1);
    EXPECT_EQ(import.movesUnqueued(), 0u);
    EXPECT_EQ(list.back(),
              "The G-code program was ended: its next move would not start where the last one "
              "ended");
}

}  // namespace
}  // namespace korvex::test
