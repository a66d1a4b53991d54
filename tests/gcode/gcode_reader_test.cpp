#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <numbers>
#include <string>

#include "gcode/gcode_program.h"
#include "settings/machine_settings.h"

namespace korvex {
namespace {

MachineSettings Steps(float mm) {
    MachineSettings s = FactorySettings();
    s.language = 1;
    s.mmPerStepX = s.mmPerStepY = s.mmPerStepZ = mm;
    return s;
}

// Net positions after every move, Z down.
std::vector<GcodePoint> Positions(const GcodeProgram& p, GcodePoint at = {}) {
    std::vector<GcodePoint> out;
    for (const MotionCommand& c : p.moves) {
        at = {at.x + c.dx, at.y + c.dy, at.z + c.dz};
        out.push_back(at);
    }
    return out;
}

GcodeProgram Read(const std::string& text, float mm = 0.01f, GcodePoint start = {}) {
    GcodeRead r = ReadGcode(text, Steps(mm), start);
    EXPECT_TRUE(r.program) << RefusalMessage(1, r.refusal);
    return r.program ? *r.program : GcodeProgram{};
}

std::string Refusal(const std::string& text) {
    GcodeRead r = ReadGcode(text, Steps(0.01f));
    EXPECT_FALSE(r.program) << text;
    return r.program ? "" : RefusalMessage(1, r.refusal);
}

TEST(GcodeReader, LinesModesUnitsAndZDown) {
    const GcodeProgram p = Read(
        "%\n(header) ; comment\nN10 G21 G90 G0 X10 Y5\nG1 Z-1 F600\nx20\n"
        "G91 Y-5 z1\nG20 G90 X1 (one inch)\n/G0 X99\nM30\nG0 X50\n");
    const std::vector<GcodePoint> expected = {
        {1000, 500, 0}, {1000, 500, 100}, {2000, 500, 100}, {2000, 0, 0}, {2540, 0, 0}};
    EXPECT_EQ(Positions(p), expected);
    EXPECT_EQ(p.lines, 10);
    EXPECT_TRUE(p.inches);
    EXPECT_EQ(p.low, (GcodePoint{1000, 0, 0}));
    EXPECT_EQ(p.high, (GcodePoint{2540, 500, 100}));
    EXPECT_EQ(p.end, (GcodePoint{2540, 0, 0}));
    EXPECT_EQ(p.moves[0].accelerated, 1);
    EXPECT_EQ(p.moves[1].accelerated, 0);
    // Spaces inside words and lower case.
    EXPECT_EQ(Positions(Read("g 0 x 1 0 . 5 y-.5\r\n")), (std::vector<GcodePoint>{{1050, -50, 0}}));
}

TEST(GcodeReader, FeedBecomesPeriodAndEstimate) {
    // 600 mm/min = 10 mm/s; 10 mm at 0.01 mm a step: 1000 steps in 1 s.
    const GcodeProgram p = Read("G1 X10 F600\n");
    ASSERT_EQ(p.moves.size(), 1u);
    EXPECT_EQ(p.moves[0].periodUs, 1000);
    // Each tick waits the set-up and the pulse too (5 and 10 us, each a
    // nanosecond over, as is the period).
    EXPECT_NEAR(p.estimatedSeconds, 1000 * 1'015'003e-9, 1e-9);
    // One inch a second: 2540 steps.
    EXPECT_EQ(Read("G20 G1 X1 F60\n").moves[0].periodUs, 394);
    // A dwell adds the machine's dwell time in whole seconds, once per move.
    MachineSettings s = Steps(0.01f);
    s.dwellSeconds = 2.5f;
    EXPECT_NEAR(ReadGcode("G1 X10 F600\nG4 P9\nG4 P1\n", s).program->estimatedSeconds,
                1000 * 1'015'003e-9 + 2, 1e-9);
}

TEST(GcodeReader, StartPositionIsHonouredAbsoluteAndRelative) {
    const GcodeProgram p = Read("G0 X1\nG91 G0 Z1\n", 0.01f, {50, 60, 70});
    const std::vector<GcodePoint> expected = {{100, 60, 70}, {100, 60, -30}};
    EXPECT_EQ(Positions(p, {50, 60, 70}), expected);
    EXPECT_EQ(p.low, (GcodePoint{100, 60, -30}));
    EXPECT_EQ(Read("G4 P1\n", 0.01f, {5, 6, 7}).high, (GcodePoint{5, 6, 7}));
}

TEST(GcodeReader, SpindlePausesDwellAndToolChange) {
    const GcodeProgram p = Read("M3 S1000\nG0 X1\nG4 P2\nT2 M6\nG1 X2 F100\nM0\nM5\nG0 X3\n");
    std::vector<std::array<int, 3>> flags;  // spindle, dwell and stop of each move
    for (const MotionCommand& c : p.moves)
        flags.push_back({c.spindleOn, c.dwellAfter, c.stopAfter});
    // A tool change stops the spindle.
    EXPECT_EQ(flags, (std::vector<std::array<int, 3>>{{1, 1, 1}, {0, 0, 1}, {0, 0, 0}}));
    ASSERT_EQ(p.toolChanges.size(), 1u);
    EXPECT_EQ(p.toolChanges[0].tool, 2);
    EXPECT_EQ(p.toolChanges[0].afterMove, 1u);
}

// Chords stray at most half a step from the circle, and their ends are then
// rounded to the step grid, at most half a diagonal step away.
void ExpectOnCircle(const GcodeProgram& p, double cx, double cy, double r) {
    const double grid = std::sqrt(0.5);
    double x = 0, y = 0;
    for (const GcodePoint& at : Positions(p)) {
        const double mx = (x + at.x) / 2, my = (y + at.y) / 2;
        if (x != 0 || y != 0) {
            EXPECT_NEAR(std::hypot(mx - cx, my - cy), r, 0.5 + grid);
        }
        EXPECT_NEAR(std::hypot(at.x - cx, at.y - cy), r, grid);
        x = at.x;
        y = at.y;
    }
}

// The arcs' end points and circles in every plane and form are compared
// with another interpreter's in gcode_interpreter_test.cpp; here the way
// round, which that comparison does not see.
TEST(GcodeReader, ArcsTurnTheirWay) {
    const std::string start = "G0 X10 Y0\nG1 F100\n";
    const GcodeProgram ccw = Read(start + "G3 X0 Y10 I-10 J0\n");
    ExpectOnCircle(ccw, 0, 0, 1000);
    // Counter-clockwise from (10, 0) to (0, 10) passes through the first quadrant.
    for (const GcodePoint& at : Positions(ccw)) EXPECT_GE(at.x, 0);
    // Clockwise goes round through the other three quadrants.
    const std::vector<GcodePoint> cw = Positions(Read(start + "G2 X0 Y10 I-10 J0\n"));
    EXPECT_TRUE(std::any_of(cw.begin(), cw.end(), [](auto& p) { return p.x < -990; }));
    EXPECT_EQ(cw.back(), (GcodePoint{0, 1000, 0}));

    const GcodeProgram circle = Read("G0 X10\nG2 X10 I-10 Z-2 F60\n");
    const std::vector<GcodePoint> at = Positions(circle);
    EXPECT_GT(at.size(), 50u);
    EXPECT_EQ(at.back(), (GcodePoint{1000, 0, 200}));
    // Z descends steadily through the turn.
    for (size_t i = 2; i < at.size(); ++i) EXPECT_GE(at[i].z, at[i - 1].z);
    // Clockwise seen from +Z goes through negative Y first.
    EXPECT_LT(at[at.size() / 4].y, 0);
    EXPECT_EQ(Refusal("G0 X10\nG3 X0 Y10 K1 F60\n"), "line 2: the word K1 has no use on the line");
}

// Refused by the line and the word that cannot be run as written. The holes
// of the cycles and the moves home are compared with another interpreter's
// in gcode_interpreter_test.cpp; here what it refuses too.
TEST(GcodeReader, RefusedByLine) {
    const std::pair<std::string, const char*> cases[] = {
        {"G0 X1\nG41 D1\n", "line 2: the word G41 is not supported"},
        {"G84 X1 Y1 Z-1 R1\n", "line 1: the word G84 is not supported"},
        {"#1 = 5\n", "line 1: the word # is not supported"},
        {"G0 X#1\n", "line 1: the word X# is not supported"},
        {"G0\no100 sub\n", "line 2: the word O100 is not supported"},
        {"G0 X[1+2]\n", "line 1: the word X[ is not supported"},
        {"M98 P1\n", "line 1: the word M98 is not supported"},
        {"G1 X1\n", "line 1: the move G1 has no feed rate F"},
        {"G0 X1 X2\n", "line 1: the word X2 appears twice on the line"},
        {"G0 (open\n", "line 1: comment not closed (open"},
        {"G0 X1.2.3\n", "line 1: malformed word X1.2.3"},
        {"G2 X1 Y1 R0.1 F10\n", "line 1: the arc G2 cannot be constructed"},
        {"G0 X10\nG2 X0 Y5 I-10 F10\n", "line 2: the arc G2 cannot be constructed"},
        {"G0 X1e99\n", "line 1: the word E99 is not supported"},
        {"G0 X99999999\n", "line 1: X99999999 leaves the machine's range"},
        {"G0 X1\nG2 X2 R-2e7 F1\n", "line 2: the word E7 is not supported"},
        {"G0 X1\nG2 X2 R-10000000 F1\n", "line 2: G2 leaves the machine's range"},
        {"G80 X1\n", "line 1: the word X1 has no use on the line"},
        {"T99999999999 M6\n", "line 1: T99999999999 leaves the machine's range"},
        {"G1 X1 F-5\n", "line 1: the feed rate F-5 is negative"},
        {"F-1\n", "line 1: the feed rate F-1 is negative"},
        // Control characters, a NUL among them, are shown by their code.
        {std::string("G0 X1\n\0G0\n", 10), "line 2: the word <0x00> is not supported"},
        {"G0 X\x01\n", "line 1: malformed word X<0x01>"},
        {"(\x1b[2J\n", "line 1: comment not closed (<0x1B>[2J"},
        {"G0 Z5\nG81 X1 R1 F60", "line 2: the drilling cycle lacks the word Z"},
        {"G81 X1 Z-1 F60", "line 1: the drilling cycle lacks the word R"},
        {"G82 X1 Z-1 R1 F60", "line 1: the drilling cycle lacks the word P"},
        {"G83 X1 Z-1 R1 F60", "line 1: the drilling cycle lacks the word Q"},
        {"G81 X1 Z-1 R1 F60\nG82 X2 P1 Z-3", "line 2: the drilling cycle lacks the word R"},
        {"G83 X1 Z-1 R1 Q-1 F60", "line 1: the word Q-1 must be positive"},
        {"G73 X1 Z-1 R1 Q0.0000001 F60", "line 1: Q0.0000001 leaves the machine's range"},
        {"G81 X1 Z-1 R1 L0 F60", "line 1: the word L0 must be positive"},
        {"G81 X1 Z-1 R1 L1.5 F60", "line 1: malformed word L1.5"},
        {"G81 X1 Z1 R0 F60", "line 1: the cycle G81 has its R plane below its depth Z"},
        {"G91 G81 X1 Z1 R0 F60", "line 1: the cycle G81 has its R plane below its depth Z"},
        {"G81 X1 Z-1 R1", "line 1: the move G81 has no feed rate F"},
        {"G18 G81 X1 Z-1 R1 F60", "line 1: the cycle G81 drills in the G17 plane only"},
        {"G81 X1 Z-1 R1 P1 F60", "line 1: the word P1 has no use on the line"},
        {"G81 X1 Z-1 R1 Q1 F60", "line 1: the word Q1 has no use on the line"},
        {"G1 X1 L2 F60", "line 1: the word L2 has no use on the line"},
        {"G81 X1 Z-1 R1 F60\nG80 X3", "line 2: the word X3 has no use on the line"},
        {"G81 Z-1 R1 F60\nG82 P1", "line 2: the word G82 has no use on the line"},
        {"G81 G1 X1 Z-1 R1 F60", "line 1: the words G81 G1 belong to one modal group"},
        {"G28 G0 X1", "line 1: the words G28 G0 both use the axis words"},
        {"G4 P1 G28", "line 1: the words G4 G28 belong to one modal group"},
        {"G43 H1 G49", "line 1: the words G43 G49 belong to one modal group"},
        {"G0 X1 H1", "line 1: the word H1 has no use on the line"},
        {"G30", "line 1: the word G30 is not supported"},
        {"G28.1", "line 1: the word G28.1 is not supported"},
        {"G10 L2 P1 X0", "line 1: the word G10 is not supported"},
    };
    for (const auto& [program, message] : cases) EXPECT_EQ(Refusal(program), message) << program;
    // Czech too.
    const MachineSettings s = Steps(0.01f);
    const std::pair<const char*, const char*> czech[] = {
        {"G42\n", "řádek 1: slovo G42 tento program neprovede"},
        {"G0 G1\n", "řádek 1: slova G0 G1 patří do jedné modální skupiny"},
        {"F-1\n", "řádek 1: rychlost posuvu F-1 je záporná"}};
    for (const auto& [program, message] : czech)
        EXPECT_EQ(RefusalMessage(0, ReadGcode(program, s).refusal), message);
}

TEST(GcodeReader, OneWordPerModalGroup) {
    for (const char* line : {"G0 G1 X1 F100", "G90 G91 X1", "G20 G21", "M3 M5", "G17 G18", "M0 M2",
                             "G90.1 G91.1", "G61 G64", "M7 M9"}) {
        const std::string words = std::string(line).substr(0, std::string(line).find(" X"));
        EXPECT_EQ(Refusal(std::string("G0 X0\n") + line + "\n"),
                  "line 2: the words " + words + " belong to one modal group");
    }
    // G80 beside a motion word leaves that word in force, as other interpreters do.
    EXPECT_EQ(Positions(Read("G80 G0 X1\nG1 G80 Y1 F60\n")),
              (std::vector<GcodePoint>{{100, 0, 0}, {100, 100, 0}}));
    EXPECT_EQ(Read("G1 X1 F60\nG1 G80 Y1\n").moves[1].accelerated, 0);
    Read("G17 G21 G40 G49 G54 G61.1 G90 G91.1 G94 M5 M9\n");
}

TEST(GcodeReader, DwellWithAMoveDwellsThenMoves) {
    for (const char* line : {"G4 P1 X5", "G4 P1 G1 X5"}) {
        const GcodeProgram p = Read(std::string("G1 X1 F60\n") + line + "\n");
        ASSERT_EQ(p.moves.size(), 2u) << line;
        EXPECT_EQ(p.moves[0].dwellAfter, 1);
        EXPECT_EQ(Positions(p).back(), (GcodePoint{500, 0, 0}));
    }
}

}  // namespace
}  // namespace korvex
