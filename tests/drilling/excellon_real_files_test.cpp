// Drill files written by real PCB tools and shipped with gerbv (see
// tests/data/drilling/README.md), read with the full Excellon reader.

#include <gtest/gtest.h>

#include <cmath>

#include "drilling/excellon_full.h"
#include "drilling/excellon_program.h"
#include "platform/file_read.h"
#include "tests/drilling/drilling_fixture.h"

namespace korvex {
namespace {

class RealFiles : public DrillingTest {
  protected:
    int loadFull(const std::string& name) {
        host.boxes.clear();
        return LoadExcellonFullFile(m, set, data(name), &report);
    }
    // Both files drill the same holes, each within 0.003 mm (0.0001 in
    // rounds to 0.00254 mm) with a diameter within `diameterTolerance`,
    // whatever their order and tool numbers.
    void expectSameHoles(const std::string& a, const std::string& b, double diameterTolerance) {
        SCOPED_TRACE(a + " and " + b);
        const ExcellonProgram first = ParseExcellon(*ReadRegularFile(data(a)));
        const ExcellonProgram second = ParseExcellon(*ReadRegularFile(data(b)));
        ASSERT_EQ(first.holes.size(), second.holes.size());
        const auto diameter = [](const ExcellonProgram& p, const ExcellonHole& h) {
            return h.tool < 0 ? 0 : p.tools[h.tool].diameterMm;
        };
        std::vector<bool> matched(second.holes.size());
        for (const ExcellonHole& h : first.holes) {
            const auto same = [&](size_t i) {
                const ExcellonHole& o = second.holes[i];
                return !matched[i] && std::abs(h.xMm - o.xMm) < 0.003 &&
                       std::abs(h.yMm - o.yMm) < 0.003 &&
                       std::abs(diameter(first, h) - diameter(second, o)) < diameterTolerance;
            };
            size_t i = 0;
            while (i < matched.size() && !same(i)) ++i;
            ASSERT_LT(i, matched.size()) << "no match for (" << h.xMm << ", " << h.yMm << ")";
            matched[i] = true;
        }
    }

    ExcellonFullReport report;
};

TEST_F(RealFiles, ToolTablesCountsAndFields) {
    struct Case {
        const char* file;
        int tools;
        std::vector<std::pair<double, int>> used;  // diameter (mm) and holes of each used drill
        int holes, width, height, slots;
    };
    // The files gerbv reads differently, and those with slots; the others
    // are compared with gerbv's reading below.
    const Case cases[] = {
        // The header defines a drill T0 (0.006 in), which the body selects.
        {"gerbv-ekf-drill30.exc", 19, {{0.1524, 70}, {0.3048, 3}}, 73, 1372, 651, 0},
        {"gerbv-protel.txt",
         10,
         {{0.3048, 106},
          {0.4064, 86},
          {0.6096, 30},
          {0.7112, 10},
          {0.7874, 72},
          {0.889, 87},
          {0.9906, 25},
          {1.2954, 3},
          {2.9972, 6},
          {3.2004, 2}},
         427,
         1004,
         992,
         0},
        {"pcb-rnd-slots-um.drl", 4, {{1.2, 1}, {1.0, 2}, {0.8, 4}}, 7, 400, 300, 1},
        {"kicad-style-metric-decimal.drl", 3, {{0.4, 3}, {1.0, 2}, {1.2, 1}}, 6, 250, 150, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        ASSERT_EQ(loadFull(c.file), 1);
        EXPECT_EQ(set.toolCount, c.tools);
        std::vector<std::pair<double, int>> used;
        for (int t = 0; t < set.toolCount; ++t)
            if (set.tools[t].holeCount > 0)
                used.emplace_back(set.tools[t].diameter, set.tools[t].holeCount);
        ASSERT_EQ(used.size(), c.used.size());
        for (size_t i = 0; i < used.size(); ++i) {
            EXPECT_NEAR(used[i].first, c.used[i].first, 1e-5);
            EXPECT_EQ(used[i].second, c.used[i].second);
        }
        EXPECT_EQ(set.holeCount, c.holes);
        EXPECT_EQ(set.fieldWidth, c.width);
        EXPECT_EQ(set.fieldHeight, c.height);
        EXPECT_EQ(report.slots, c.slots);
        EXPECT_LE(report.travel.orderedMm, report.travel.fileOrderMm);
    }
}

// gerbv's export of each file (its own reading, written as INCH,TZ 2.4
// with diameters to 0.001 in, slots left out) drills the same holes.
TEST_F(RealFiles, AgreeWithGerbvsReading) {
    for (const char* original :
         {"gerbv-orcad-thruhole.tap", "gerbv-ekf-drill1.exc", "gerbv-veribest-plated.cnc",
          "gerbv-pcb-numpres.cnc", "gerbv-pcb-hellboard.cnc", "pcb-rnd-slots-decimil.drl",
          "pcb-rnd-slots-um.drl"}) {
        const std::string name = original;
        expectSameHoles(name, name.substr(0, name.rfind('.')) + ".gerbv.drl", 0.0128);
    }
}

TEST_F(RealFiles, OneBoardInEveryFormatDrillsTheSameHoles) {
    for (const char* kicad :
         {"kicad-style-inch-no-leading-zeros.drl", "kicad-style-inch-all-zeros.drl",
          "kicad-style-metric-no-trailing-zeros.drl"})
        expectSameHoles("kicad-style-metric-decimal.drl", kicad, 0.002);
    for (const char* pcbRnd : {"pcb-rnd-slots-decimil.drl", "pcb-rnd-slots-10um.drl"})
        expectSameHoles("pcb-rnd-slots-um.drl", pcbRnd, 0.0128);
    for (const char* pcbRnd : {"pcb-rnd-decimil.drl", "pcb-rnd-um.drl", "gerbv-export.drl"})
        expectSameHoles("pcb-rnd-10um.drl", pcbRnd, 0.0128);
}

}  // namespace
}  // namespace korvex
