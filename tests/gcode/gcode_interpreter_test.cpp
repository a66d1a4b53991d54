#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "gcode/gcode_program.h"
#include "settings/machine_settings.h"
#include "tests/testkit/temp_dir.h"

namespace korvex::test {
namespace {

// The end points another interpreter printed for the sample programs in
// tests/data/gcode (see the README there): every one is reached by our moves
// within one step, straight moves in one move, arcs through chords whose ends
// stay within one step of the arc's circle; traverses are rapids and feeds
// are not, and a dwell follows the move before it.

constexpr double kStep = 0.01;

struct Expected {
    double end[3] = {};  // steps, Z down
    bool arc = false, rapid = false, dwell = false;
    int a = 0, b = 1;  // the arc's plane axes
    double centre[2] = {0, 0};
};

std::vector<Expected> ParseExpected(const std::string& text) {
    std::vector<Expected> out;
    double unit = 1;
    int plane = 0;  // XY, XZ (first Z then X), YZ
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        const size_t open = line.find('(');
        const std::string name = line.substr(0, open);
        const std::string args = line.substr(open + 1);
        if (name == "USE_LENGTH_UNITS") {
            unit = args.starts_with("CANON_UNITS_INCHES") ? 25.4 : 1;
            continue;
        }
        if (name == "SELECT_PLANE") {
            plane = args.starts_with("CANON_PLANE_XZ")   ? 1
                    : args.starts_with("CANON_PLANE_YZ") ? 2
                                                         : 0;
            continue;
        }
        if (name == "DWELL") {
            out.push_back({.dwell = true});
            continue;
        }
        double v[9] = {};
        std::sscanf(args.c_str(), "%lf, %lf, %lf, %lf, %lf, %lf, %lf, %lf, %lf", &v[0], &v[1],
                    &v[2], &v[3], &v[4], &v[5], &v[6], &v[7], &v[8]);
        Expected e;
        double mm[3] = {v[0], v[1], v[2]};
        if (name == "ARC_FEED") {
            static constexpr int kAxes[3][3] = {{0, 1, 2}, {2, 0, 1}, {1, 2, 0}};
            const int a = kAxes[plane][0], b = kAxes[plane][1], n = kAxes[plane][2];
            mm[a] = v[0], mm[b] = v[1], mm[n] = v[5];
            e.arc = true;
            e.a = a, e.b = b;
            e.centre[0] = v[2] * unit / kStep;
            e.centre[1] = v[3] * unit / kStep;
            // Z down: the centre's Z turns too.
            if (a == 2) e.centre[0] = -e.centre[0];
            if (b == 2) e.centre[1] = -e.centre[1];
        } else {
            EXPECT_TRUE(name == "STRAIGHT_TRAVERSE" || name == "STRAIGHT_FEED") << line;
            e.rapid = name == "STRAIGHT_TRAVERSE";
        }
        for (int k = 0; k < 3; ++k) e.end[k] = mm[k] * unit / kStep * (k == 2 ? -1 : 1);
        out.push_back(e);
    }
    return out;
}

bool Near(const double (&p)[3], const double (&q)[3]) {
    return std::abs(p[0] - q[0]) <= 1 && std::abs(p[1] - q[1]) <= 1 && std::abs(p[2] - q[2]) <= 1;
}

void Compare(const std::string& name) {
    SCOPED_TRACE(name);
    const std::string dir = std::string(KORVEX_TEST_DATA) + "/gcode/";
    const std::vector<Expected> expected =
        ParseExpected(TempDir::readFile(dir + name + ".expected"));
    ASSERT_FALSE(expected.empty());
    MachineSettings s = FactorySettings();
    s.mmPerStepX = s.mmPerStepY = s.mmPerStepZ = static_cast<float>(kStep);
    const GcodeRead read = ReadGcode(TempDir::readFile(dir + name + ".ngc"), s);
    ASSERT_TRUE(read.program) << RefusalMessage(1, read.refusal);
    const std::vector<MotionCommand>& moves = read.program->moves;

    double at[3] = {0, 0, 0};
    size_t next = 0;
    for (size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE("end point " + std::to_string(i));
        const Expected& e = expected[i];
        if (e.dwell) {
            ASSERT_GT(next, 0u);
            EXPECT_EQ(moves[next - 1].dwellAfter, 1);
            continue;
        }
        const double from[3] = {at[0], at[1], at[2]};
        auto radius = [&](const double(&p)[3]) {
            return std::hypot(p[e.a] - e.centre[0], p[e.b] - e.centre[1]);
        };
        // Already there: no move, unless it is a full circle.
        if (Near(at, e.end) && !(e.arc && radius(from) > 1)) continue;
        const double low = std::min(radius(from), radius(e.end)) - 1;
        const double high = std::max(radius(from), radius(e.end)) + 1;
        for (;;) {
            ASSERT_LT(next, moves.size()) << "no move reaches the end point";
            at[0] += moves[next].dx, at[1] += moves[next].dy, at[2] += moves[next].dz;
            ++next;
            EXPECT_EQ(moves[next - 1].accelerated, e.rapid);
            if (Near(at, e.end)) break;
            ASSERT_TRUE(e.arc) << "a straight move ends short of its end point";
            const double r = radius(at);
            ASSERT_TRUE(r >= low && r <= high) << "a chord's end strays from the arc: " << r;
        }
    }
    EXPECT_EQ(next, moves.size()) << "moves beyond the interpreter's";
}

TEST(GcodeInterpreter, EndPointsMatchTheReferenceInterpreter) {
    for (const char* name : {"mill", "inch", "planes", "cycles", "random_cycles", "home"})
        Compare(name);
}

}  // namespace
}  // namespace korvex::test
