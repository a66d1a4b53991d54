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
    // The files gerbv reads differently, and those with slots; the others
    // are compared with gerbv's reading below. Each as its drills, the
    // diameter (mm) and holes of each used one, its holes, field and slots.
    const std::pair<const char*, const char*> cases[] = {
        // The header defines a drill T0 (0.006 in), which the body selects.
        {"gerbv-ekf-drill30.exc", "19 drills: 0.1524x70 0.3048x3; 73 holes in 1372x651; 0 slots"},
        {"gerbv-protel.txt",
         "10 drills: 0.3048x106 0.4064x86 0.6096x30 0.7112x10 0.7874x72 0.8890x87 0.9906x25 "
         "1.2954x3 2.9972x6 3.2004x2; 427 holes in 1004x992; 0 slots"},
        {"pcb-rnd-slots-um.drl",
         "4 drills: 1.2000x1 1.0000x2 0.8000x4; 7 holes in 400x300; 1 slots"},
        {"kicad-style-metric-decimal.drl",
         "3 drills: 0.4000x3 1.0000x2 1.2000x1; 6 holes in 250x150; 2 slots"},
    };
    for (const auto& [file, text] : cases) {
        ASSERT_EQ(LoadExcellonFullFile(m, set, data(file), &report), 1) << file;
        std::string read = Format("%d drills:", set.toolCount);
        for (int t = 0; t < set.toolCount; ++t)
            if (set.tools[t].holeCount > 0)
                read += Format(" %.4fx%d", set.tools[t].diameter, set.tools[t].holeCount);
        read += Format("; %d holes in %dx%d; %d slots", set.holeCount, set.fieldWidth,
                       set.fieldHeight, report.slots);
        EXPECT_EQ(read, text);
        EXPECT_LE(report.travel.orderedMm, report.travel.fileOrderMm) << file;
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
