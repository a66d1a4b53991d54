#include "drilling/excellon_full.h"

#include <gtest/gtest.h>

#include "drilling/drill_holes.h"
#include "tests/drilling/drilling_fixture.h"

namespace korvex {
namespace {

class ExcellonFull : public DrillingTest {
  protected:
    int loadFull(const std::string& content) {
        list.clear();
        host.boxes.clear();
        return LoadExcellonFullFile(m, set, dir.write("file.drl", content), &report);
    }

    ExcellonFullReport report;
};

TEST_F(ExcellonFull, FillsTheDrillSetLikeTheOtherReaders) {
    ASSERT_EQ(loadFull("M48\nMETRIC\nT1C0.8\nT2C1.0\n%\nT1\nX1.0Y1.0\nX3.0Y2.0\nT2\nX2.0Y5.0\n"
                       "X1.0Y1.0G85X2.0Y1.0\nQ1\nM30\n"),
              1);
    // Steps of 0.1 mm, moved to start at 0, Y flipped.
    EXPECT_EQ(summary(), "0.8000x2 1.0000x1; 0:0,40 0:20,30 1:10,0; 20x40");
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].text,
              "The file holds 1 routed slots (T2 1.00 mm: 1); slots are not drilled");
    EXPECT_TRUE(listed("1 unknown words skipped (Q1)"));
    EXPECT_TRUE(
        listed("Excellon (full): 2 drills, 3 holes; numbers without a point in mm, "
               "3:3, leading zeros dropped"));
    EXPECT_EQ(report.slots, 1);
    EXPECT_EQ(report.unknownWords, 1);
}

TEST_F(ExcellonFull, DrillsEachDrillInTheShorterOrder) {
    // Drill 1 at x = 9, 0, 8, 1 mm after normalisation; drill 2 between them.
    ASSERT_EQ(loadFull("METRIC\nT1C1\nX10.0Y0\nT2C2\nX5.0Y0\nT1\nX1.0Y0\nX9.0Y0\nX2.0Y0\n"), 1);
    std::vector<int> xs;
    for (const DrillHole& h : set.holes) xs.push_back(h.x);
    EXPECT_EQ(xs, (std::vector<int>{0, 40, 10, 80, 90})) << "drill 2 keeps its place";
    // 34 mm in file order for drill 1, 18 mm chained; 8 mm for drill 2.
    EXPECT_TRUE(listed("The hole order shortened travel by 38.10% (26.00 mm instead of 42.00 mm)"));

    set.tools[0].depth = 5;
    ASSERT_EQ(drillHoles(m, set, 0), 1);
    std::vector<int> travels;
    for (const MotionCommand& c : queued())
        if (c.dz == 0) travels.push_back(c.dx);
    EXPECT_EQ(travels, (std::vector<int>{10, 70, 10, -90})) << "the first hole is at the origin";

    // Nothing to gain: the file order stays, and nothing is said.
    ASSERT_EQ(loadFull("METRIC\nT1C1\nX1.0Y0\nX2.0Y0\n"), 1);
    EXPECT_EQ(set.holes[0].x, 0);
    EXPECT_EQ(report.travel.orderedMm, report.travel.fileOrderMm);
    EXPECT_EQ(list.size(), 1u);
}

TEST_F(ExcellonFull, TellsWhatCannotBeDrilledAndAMissingFile) {
    ASSERT_EQ(loadFull("METRIC\nX1.0Y1.0\nT5\nX2.0Y2.0\nT1C1\nX3.0Y1.0"), 1);
    EXPECT_TRUE(listed("1 holes come before any drill is selected and are not drilled"));
    EXPECT_TRUE(listed("Drills without a diameter in the file: T5"));
    EXPECT_EQ(set.holes[0].tool, -1);
    EXPECT_TRUE(host.boxes.empty());
    EXPECT_EQ(LoadExcellonFullFile(m, set, dir.file("missing.drl")), 0);
    EXPECT_EQ(lastBox(), "Loading excelon failed");
}

// gEDA's numpres board says INCH,TZ and nothing of its digits: 2.4 reads
// it at a tenth of its size.
TEST_F(ExcellonFull, AnAssumedFormatIsSaidAndAnotherCanBeChosen) {
    host.boxes.clear();
    ASSERT_EQ(LoadExcellonFullFile(m, set, data("gerbv-pcb-numpres.cnc")), 1);
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].text,
              "The Excellon file does not say how many digits its coordinates without a point "
              "have before and after the point; the usual format 2.4 in inches is assumed. "
              "Another format can be chosen.\n With 2.4 the holes take 5.2 x 3.2 mm, less than "
              "10 mm; the format 2.3 gives 51.8 x 32.0 mm and fits the table.");
    host.boxes.clear();
    ASSERT_EQ(LoadExcellonFullFile(m, set, data("gerbv-pcb-numpres.cnc"), nullptr, {2, 3}), 1);
    EXPECT_TRUE(host.boxes.empty());
    EXPECT_EQ(set.fieldWidth, 518);  // 0.1 mm steps
    EXPECT_EQ(set.fieldHeight, 320);
    // A file that gives its digits, or writes points, needs no box.
    ASSERT_EQ(loadFull("INCH,TZ,00.000\nT1C.01\nX3070Y2010\nX1000Y1000"), 1);
    EXPECT_TRUE(host.boxes.empty());
    // A likely size is assumed without naming another format.
    ASSERT_EQ(loadFull("INCH,TZ\nT1C.01\nX30700Y20100\nX10000Y10000"), 1);
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].text.find("\n With"), std::string::npos);
}

}  // namespace
}  // namespace korvex
