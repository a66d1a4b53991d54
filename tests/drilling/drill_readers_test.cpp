#include <gtest/gtest.h>

#include <array>
#include <string>

#include "drilling/drill_readers.h"
#include "drilling/excellon_full.h"
#include "tests/drilling/drilling_fixture.h"

namespace korvex {
namespace {

using Readers = DrillingTest;

TEST_F(Readers, BodyToolSelectionsDoNotSelectAndYIsFlipped) {
    m.settings.mmPerStepX = m.settings.mmPerStepY = 0.01f;
    ASSERT_EQ(
        load("M48\nINCH\nT1C.0315\nT2C.0400\n%\nT1\nX010000Y010000\nT2\nX020000Y020000\nM30\n"), 1);
    EXPECT_EQ(summary(), "0.8001x0 1.0160x2; 1:0,2540 1:2540,0; 2540x2540");
    EXPECT_TRUE(host.boxes.empty());

    // 12345 x 0.00254 / 0.01 = 3135.63; 'X005000' has no Y: X is '00500'.
    ASSERT_EQ(load("T1C.0315 X000000Y000000 X012345Y067890 X005000"), 1);
    EXPECT_EQ(summary(), "0.8001x3; 0:0,17244 0:3136,0 0:127,17244; 3136x17244");
}

TEST_F(Readers, SimpleListHolesBeforeDrillsAndTheLastWord) {
    ASSERT_EQ(load("PV1.0 X010.000Y010.000 X020.000Y005.000\n", kSimpleDrillFormat), 1);
    EXPECT_EQ(summary(), "1.0000x2; 0:0,0 0:100,50; 100x50")
        << "the last word, before a line break, counts once";
    ASSERT_EQ(load("X001.000Y001.000 PV0.5 X002.000Y002.000", kSimpleDrillFormat), 1);
    EXPECT_EQ(summary(), "0.5000x1; -1:0,10 0:10,0; 10x10")
        << "a hole before any drill belongs to none";
}

TEST_F(Readers, CountFailuresKeepTheCountsButNothingToDrill) {
    ASSERT_EQ(load("T1C.0315 X000100Y000100"), 1);
    set.tools[0].depth = 7;
    EXPECT_EQ(load("M48 T1C0.0315 X010000Y010000 X020000Y020000"), 0);
    EXPECT_EQ(host.boxes.at(0).text, "Count of holes,drills == 0");
    EXPECT_EQ(lastBox(),
              "Drills written with a zero before the point (T1C0.0315) are not read here; load "
              "the file with the button \"Excellon (full)\": T1C0.0315");
    EXPECT_EQ(set.toolCount, 0);
    EXPECT_EQ(set.holeCount, 2);
    EXPECT_TRUE(set.holes.empty());
    EXPECT_EQ(set.tools[0].depth, 0) << "every load clears the drill table";
    EXPECT_EQ(load("M48 INCH % T01 X010000Y010000"), 0);
    EXPECT_EQ(lastBox(),
              "Drills only selected (T01), never defined as T1C.0315, are not read here; load "
              "the file with the button \"Excellon (full)\": T01");

    EXPECT_EQ(load("PV0.8", kSimpleDrillFormat), 0);
    EXPECT_EQ(lastBox(), "Simple drills,count of holes,drills == 0");
    EXPECT_EQ(set.toolCount, 1);
    EXPECT_EQ(LoadDrillFile(m, set, dir.file("missing"), kSimpleDrillFormat), 0);
    EXPECT_EQ(lastBox(), "Loading of Simple drills failed");
    EXPECT_EQ(LoadDrillFile(m, set, dir.path(), kExcellonFormat), 0) << "a folder";
    EXPECT_EQ(lastBox(), "Loading excelon failed");

    m.settings.language = 0;
    m.settings.mmPerStepX = 1e-6f;  // holes spanning more than a step counter holds
    EXPECT_EQ(load("T1C.01 X-9999999999Y0 X9999999999Y0"), 0);
    EXPECT_EQ(lastBox(), "MinX a MinY nejsou 0");
    EXPECT_EQ(set.holeCount, 2);
    EXPECT_TRUE(set.holes.empty());
}

// Both Excellon readers: a refused file leaves an empty set.
TEST_F(Readers, RefusedFilesLeaveAnEmptySet) {
    const std::string longWord(260, '0');
    std::string manyDrills, manyFull;
    for (int i = 0; i < 257; ++i) manyDrills += "T1C.01 ";
    for (int t = 1; t <= 257; ++t) manyFull += "T" + std::to_string(t) + "C0.01\n";
    const std::string tooMany = "The file defines more than 256 drills; it was not loaded",
                      tooLong =
                          "The file holds a word longer than 259 characters; it was not loaded";
    const struct {
        bool full;
        std::string content, message;
    } cases[] = {
        {false, "M48 METRIC,TZ T1C.0315 X010000Y010000",
         "An Excellon file in millimetres (METRIC) cannot be read here: its holes would be drilled "
         "at wrong positions; load it with the button \"Excellon (full)\": METRIC,TZ"},
        {false, "T1C.0315 M71 X010000Y010000", "An Excellon file in millimetres (METRIC)"},
        {false, "T1C.0315 X1.2345Y-2.5",
         "Excellon coordinates with a decimal point cannot be read here: the holes would be "
         "drilled at wrong positions; load the file with the button \"Excellon (full)\": "
         "X1.2345Y-2.5"},
        {false, "T1C.0315 X010000 R3X001000",
         "An Excellon word with an X that is no hole (a repeat, pattern or slot) is not read "
         "here; load the file with the button \"Excellon (full)\": R3X001000"},
        {false, "T1C.0315 X010000Y010000G85X020000Y010000",
         "An Excellon word with an X that is no hole"},
        {false, "T1C.0315 X010000 M02X001000", "An Excellon word with an X that is no hole"},
        {false, "T1C.0315 X010000Y010000 " + longWord, tooLong},
        {false, manyDrills + "X010000Y010000", tooMany},
        {true, "M48\nMETRIC\nT1C1\n%\nM30", "The Excellon file holds no holes to drill"},
        {true, "METRIC\nT1C1\nX0Y0G85X1.0Y0",
         "The Excellon file holds no holes to drill, only 1 routed slots"},
        {true, "METRIC\nX1.0Y1.0\nT0\nX2.0Y1.0",
         "No drill (T…) is selected for the holes of the Excellon file; it was not loaded"},
        {true, manyFull + "X1Y1", tooMany},
        {true, "T1C1\nX" + std::string(259, '1'), tooLong},
        {true, "METRIC\nT1C1\nX1.0Y1.0\nR3X1.0\nM25\nX2.0Y2.0\nM01\nM02X5.0",
         "The Excellon file was not loaded: the word M25 on line 5 changes where holes go, and "
         "this reader does not know it"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.content);
        ASSERT_EQ(load("T1C.0315 X000100Y000100 X000200Y000300"), 1);
        host.boxes.clear();
        const std::string path = dir.write("file.drl", c.content);
        EXPECT_EQ(c.full ? LoadExcellonFullFile(m, set, path)
                         : LoadDrillFile(m, set, path, kExcellonFormat),
                  0);
        ASSERT_EQ(host.boxes.size(), 1u);
        EXPECT_EQ(host.boxes[0].text.substr(0, c.message.size()), c.message);
        EXPECT_EQ(summary(), ";; 0x0");
        EXPECT_EQ(set.holeCount, 0);
    }
    EXPECT_EQ(load(manyDrills.substr(7) + "X0" + std::string(257, '1')), 1)
        << "256 drills and a word of 259 characters are taken";
    EXPECT_EQ(set.toolCount, 256);
}

// Files written by real PCB tools (see tests/data/drilling/README.md).
TEST_F(Readers, RealToolOutput) {
    struct Case {
        const char* file;
        int loaded;
        int tools;
        int holes;
        const char* message;
    };
    const Case cases[] = {
        {"pcb-rnd-decimil.drl", 0, 0, 5, "Count of holes,drills == 0"},
        {"gerbv-export.drl", 0, 0, 5, "Count of holes,drills == 0"},
        {"pcb-rnd-10um.drl", 0, 0, 0, "An Excellon file in millimetres (METRIC)"},
        {"pcb-rnd-um.drl", 0, 0, 0, "An Excellon file in millimetres (METRIC)"},
        {"pcb-rnd-decimil-nozero.drl", 1, 3, 5, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        host.boxes.clear();
        EXPECT_EQ(LoadDrillFile(m, set, data(c.file), kExcellonFormat), c.loaded);
        EXPECT_EQ(set.toolCount, c.tools);
        EXPECT_EQ(set.holeCount, c.holes);
        if (*c.message) {
            EXPECT_EQ(host.boxes.at(0).text.rfind(c.message, 0), 0u);
        }
    }
    EXPECT_EQ(summary(),
              "1.5240x0 1.0160x0 0.8128x5; 2:0,0 2:26,0 2:26,77 2:102,51 2:127,127; 127x127")
        << "every hole follows the last drill defined";
}

}  // namespace
}  // namespace korvex
