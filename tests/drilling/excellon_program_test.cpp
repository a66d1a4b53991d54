#include "drilling/excellon_program.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace korvex {
namespace {

struct Hole {
    int tool;
    double x, y;
};

void ExpectHoles(const std::string& text, const std::vector<Hole>& expected) {
    SCOPED_TRACE(text);
    const std::vector<ExcellonHole> actual = ParseExcellon(text).holes;
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(actual[i].tool, expected[i].tool) << "hole " << i;
        EXPECT_NEAR(actual[i].xMm, expected[i].x, 1e-9) << "hole " << i;
        EXPECT_NEAR(actual[i].yMm, expected[i].y, 1e-9) << "hole " << i;
    }
}

TEST(ExcellonNumbers, UnitsDigitsAndDroppedZeros) {
    // No header: inches, 2.4, leading zeros dropped (a full number reads
    // the same either way).
    ExpectHoles("T1C.0315\nX012345Y067890\nX2350Y-4500",
                {{0, 1.2345 * 25.4, 6.789 * 25.4}, {0, 0.235 * 25.4, -0.45 * 25.4}});
    // 'LZ' keeps the leading zeros: the digits count from the left.
    ExpectHoles("M48\nINCH,LZ\nT1C0.01\n%\nT1\nX0235Y-045\nX2",
                {{0, 2.35 * 25.4, -4.5 * 25.4}, {0, 20 * 25.4, -4.5 * 25.4}});
    ExpectHoles("METRIC\nT1C0.8\nX12500Y3", {{0, 12.5, 0.003}});
    ExpectHoles("METRIC, LZ\nT1C0.8\nX0125Y-0035", {{0, 12.5, -3.5}});
    ExpectHoles("METRIC,0000.00\nT1C1\nX254Y3556", {{0, 2.54, 35.56}});
    ExpectHoles("INCH,TZ,00.000\nT1C1\nX1500", {{0, 1.5 * 25.4, 0}});
    // A point overrides the digit count.
    ExpectHoles("INCH,LZ\nT1C0.8\nX.5Y-1.\nM71\nX1.5Y+2.25", {{0, 12.7, -25.4}, {0, 1.5, 2.25}});
    // The format comments of Altium, KiCad and Mentor.
    ExpectHoles(";FILE_FORMAT=2:5\nINCH,TZ\nT1C.01\nX152000Y45500",
                {{0, 1.52 * 25.4, 0.455 * 25.4}});
    ExpectHoles("; FORMAT={3:3/ absolute / metric / suppress trailing zeros}\nT1C0.8\nX12Y-08225",
                {{0, 120, -82.25}});
    ExpectHoles("; Format  : 3.3 / Absolute / MM / Leading\nT1C0.8\nX2550Y80000", {{0, 2.55, 80}});
}

TEST(ExcellonNumbers, ModalCoordinatesIncrementsAndZeroSet) {
    ExpectHoles(
        "METRIC\nT1C1\nX1.0Y2.0\nY3.0\nX4.0\nG91\nX1.0\nY-1.0\nG90\nG93X10.0Y10.0\nX1.0Y1.0\nY2.0",
        {{0, 1, 2}, {0, 1, 3}, {0, 4, 3}, {0, 5, 3}, {0, 5, 2}, {0, 11, 11}, {0, 11, 12}});
    ExpectHoles("METRIC\nICI,ON\nT1C1\nX1.0Y1.0\nX1.0\nICI,OFF\nY0.5",
                {{0, 1, 1}, {0, 2, 1}, {0, 2, 0.5}});
}

TEST(ExcellonTools, DefinitionsSelectionsAndTheirDiameters) {
    const ExcellonProgram p = ParseExcellon(
        "X1.0Y1.0\n"  // before any tool
        "M48\nINCH\nT3C0.0315\nT01F00S00C0.012\n%\n"
        "T1\nX001000Y001000\n"                // selects tool 1, defined second
        "T2C0.028F200S100\nX002000Y001000\n"  // defined in the body, with feed and speed
        "T3\nX003000Y001000\n"
        "T0\nX004000Y001000\n"     // no tool
        "T07\nX005000Y001000\n");  // never defined: no diameter
    ASSERT_EQ(p.tools.size(), 4u);
    EXPECT_EQ(p.tools[0].number, 3);
    EXPECT_NEAR(p.tools[0].diameterMm, 0.8001, 1e-9);
    EXPECT_NEAR(p.tools[1].diameterMm, 0.3048, 1e-9);
    EXPECT_NEAR(p.tools[2].diameterMm, 0.7112, 1e-9);
    EXPECT_FALSE(p.tools[3].diameterGiven);
    std::vector<int> tools;
    for (const ExcellonHole& h : p.holes) tools.push_back(h.tool);
    EXPECT_EQ(tools, (std::vector<int>{-1, 1, 2, 0, -1, 3}));

    // Diameters of a header without a unit take the first unit the file
    // names, here in the body; a defined T0 is a tool like any other.
    const ExcellonProgram late = ParseExcellon("M48\nT00C.864\nT01C1.092\n%\nM71\nT0\nX40500Y6270");
    EXPECT_NEAR(late.tools[0].diameterMm, 0.864, 1e-9);
    EXPECT_NEAR(late.tools[1].diameterMm, 1.092, 1e-9);
    EXPECT_EQ(late.holes.at(0).tool, 0);
    EXPECT_NEAR(late.holes[0].xMm, 40.5, 1e-9);
}

TEST(ExcellonSlots, AreCountedPerToolAndNeverDrilled) {
    const ExcellonProgram p = ParseExcellon(
        "METRIC\nT1C1.0\nX1.0Y1.0G85X2.0Y1.0\n"                      // a G85 slot
        "T2C2.0\nG00X5.0Y5.0\nM15\nG01X6.0Y5.0\nX7.0\nM16\n"         // a routed one, modal G01
        "G00X8.0Y8.0\nG01Y9.0\nG00X1.0Y1.0\nG02X2.0Y2.0A1.0\nM17\n"  // two without M15
        "G00X3.0Y3.0\nG05\n"                              // a move without a cut is no slot
        "X4.0Y4.0\nT0\nX0Y0G85X1.0Y0\nM30\nX9.0Y9.0\n");  // after M30 nothing counts
    EXPECT_EQ(p.tools[0].slots, 1);
    EXPECT_EQ(p.tools[1].slots, 3);
    EXPECT_EQ(p.slotsWithoutTool, 1);
    EXPECT_EQ(p.slotCount(), 5);
    ASSERT_EQ(p.holes.size(), 1u);
    EXPECT_EQ(p.holes[0].tool, 1);
    EXPECT_NEAR(p.holes[0].xMm, 4.0, 1e-9);
}

TEST(ExcellonWords, UnknownOnesAreCountedAndShown) {
    const ExcellonProgram p = ParseExcellon(
        "M48\nFMAT,2\nVER,1\nDETECT,ON\nATC,ON\nR,H\n%\nm72\nt1c.01\nM47,HELLO\n"
        "DETECT,ON\nx012345\n");
    EXPECT_EQ(p.unknownWords, 5);
    EXPECT_EQ(p.unknownExamples, (std::vector<std::string>{"DETECT,ON", "ATC,ON", "R,H"}));
    EXPECT_EQ(p.holes.size(), 1u) << "lower case is read as upper case";
}

TEST(ExcellonWords, RepeatsDrillTheLastHoleAgainAtEachOffset) {
    ExpectHoles("METRIC\nT1C1\nX1.0Y2.0\nR3X1.5\nT2C2\nR2Y-1.0X0.5",
                {{0, 1, 2}, {0, 2.5, 2}, {0, 4, 2}, {0, 5.5, 2}, {1, 6, 1}, {1, 6.5, 0}});
    // Offsets follow the number format; the next hole is absolute again.
    ExpectHoles("INCH,TZ\nT1C.01\nX1000\nR2X001000\nX2000Y1000",
                {{0, 2.54, 0}, {0, 5.08, 0}, {0, 7.62, 0}, {0, 5.08, 2.54}});
}

// Dropping a word that moves or adds holes would drill a different board.
TEST(ExcellonWords, UnreadWordsThatPlaceHolesRefuseTheProgram) {
    const struct {
        const char* text;
        const char* word;
        int line;
    } cases[] = {
        {"T1C.01\nR3X001000", "R3X001000", 2},  // nothing to repeat
        {"T1C.01\r\nX1000\r\nM25\r\nX2000\r\nM01\r\nM02X1000\r\n", "M25", 3},
        {"T1C.01\nX1000\nM97,ABC", "M97,ABC", 3},
        {"T1C.01\nX1000\nM80", "M80", 3},
        {"T1C.01\nX1000\n\nG84X1000Y1000", "G84X1000Y1000", 4},
        {"T1C.01\nX1Q2", "X1Q2", 2},
        {"T1C.01\nX1000\nR999999X1", "R999999X1", 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const ExcellonProgram p = ParseExcellon(c.text);
        EXPECT_EQ(p.refusal, ExcellonRefusal::kUnreadGeometry);
        EXPECT_EQ(p.refusedWord, c.word);
        EXPECT_EQ(p.refusedLine, c.line);
    }
}

TEST(ExcellonNumbers, ChosenDigitsBeatTheFileAndTheDefaults) {
    EXPECT_EQ(ParseExcellonDigits("2.3"), (ExcellonDigits{2, 3}));
    EXPECT_EQ(ParseExcellonDigits("3:3"), (ExcellonDigits{3, 3}));
    for (const char* bad : {"", "2", "0.4", "24", "2.", "2.44", "a.b"})
        EXPECT_FALSE(ParseExcellonDigits(bad)) << bad;
    const char* text = "INCH,TZ\nT1C.01\nX3070Y2010\nX1.5Y1.5";
    const ExcellonProgram assumed = ParseExcellon(text);
    EXPECT_TRUE(assumed.formatAssumed);
    const ExcellonProgram chosen = ParseExcellon(text, {2, 3});
    EXPECT_FALSE(chosen.formatAssumed);
    ASSERT_EQ(chosen.holes.size(), 2u);
    EXPECT_NEAR(chosen.holes[0].xMm, 3.07 * 25.4, 1e-9);
    EXPECT_NEAR(chosen.holes[1].xMm, 1.5 * 25.4, 1e-9) << "a point needs no digits";
    EXPECT_FALSE(ParseExcellon("INCH,TZ,00.000\nT1C.01\nX3070").formatAssumed);
    EXPECT_FALSE(ParseExcellon("METRIC\nT1C1\nX1.0Y2.5").formatAssumed);
}

TEST(ExcellonLimits, OverlongWordsAndTooManyToolsRefuseTheFile) {
    std::string tools256;
    for (int t = 1; t <= 256; ++t) tools256 += "T" + std::to_string(t) + "C0.01\n";
    EXPECT_EQ(ParseExcellon(tools256 + "X" + std::string(258, '1')).refusal,
              ExcellonRefusal::kNone);
    EXPECT_EQ(ParseExcellon(tools256 + "X" + std::string(259, '1')).refusal,
              ExcellonRefusal::kWordTooLong);
    EXPECT_EQ(ParseExcellon(";" + std::string(260, 'a')).refusal, ExcellonRefusal::kWordTooLong);
    EXPECT_EQ(ParseExcellon(tools256 + "T1\nT999\n").refusal, ExcellonRefusal::kTooManyDrills);
    // Numbers far beyond any table stay finite.
    const ExcellonProgram huge = ParseExcellon("T1C1\nX" + std::string(128, '9') + "Y-" +
                                               std::string(128, '9') + "\nG91\nX9E9");
    ASSERT_EQ(huge.holes.size(), 1u);
    EXPECT_TRUE(std::isfinite(huge.holes[0].xMm) && std::isfinite(huge.holes[0].yMm));
}

}  // namespace
}  // namespace korvex
