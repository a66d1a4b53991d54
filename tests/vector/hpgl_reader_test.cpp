#include "vector/hpgl_reader.h"

#include <sys/stat.h>

#include <algorithm>

#include "tests/vector/vector_fixture.h"
#include "vector/hpgl_command.h"
#include "vector/model_geometry.h"

namespace korvex::test {
namespace {

using P = VectorPoint;
using ReaderTest = VectorFixture;

TEST(HpglCommandTest, LatestMnemonicWinsAndPtOverridesAll) {
    EXPECT_EQ(ClassifyHpglCommand("SP3"), HpglCode::SelectPen);
    EXPECT_EQ(ClassifyHpglCommand("SPPA1,2"), HpglCode::PlotAbsolute);
    EXPECT_EQ(ClassifyHpglCommand("XPD1,2"), HpglCode::PenDown);
    EXPECT_EQ(ClassifyHpglCommand("PDPU1,2"), HpglCode::PenDown);
    EXPECT_EQ(ClassifyHpglCommand("PD1,2PT"), HpglCode::Ignored);
    EXPECT_EQ(ClassifyHpglCommand("LB"), HpglCode::Unknown);
    EXPECT_EQ(ClassifyHpglCommand("SC"), HpglCode::Unknown);
}

TEST(HpglCommandTest, SeparatorRuleAndIntegers) {
    P p;
    ASSERT_EQ(ParseHpglCoordinates("10,20 30", p), CoordinateResult::Point);
    EXPECT_EQ(p, (P{10, 30, 0}));
    ASSERT_EQ(ParseHpglCoordinates("5,6,7,8", p), CoordinateResult::Point);
    EXPECT_EQ(p, (P{5, 6, 7}));
    ASSERT_EQ(ParseHpglCoordinates("12.7,-3.9", p), CoordinateResult::Point);
    EXPECT_EQ(p, (P{12, -3, 0}));
    EXPECT_EQ(ParseHpglCoordinates(",10,20", p), CoordinateResult::BadSeparator);
    EXPECT_EQ(ParseHpglCoordinates("", p), CoordinateResult::NoCoordinates);
    EXPECT_EQ(ReadHpglInteger("99999999999"), 2147483647);
    EXPECT_EQ(ReadHpglInteger("-99999999999"), -2147483648);
    EXPECT_EQ(ReadHpglInteger("+7X"), 7);
}

// Each file as its objects, normalised and flipped (Y grows down from the
// top edge), and its layers, pens in first-use order.
TEST_F(ReaderTest, Drawings) {
    const struct {
        const char* hpgl;
        int32_t kind;
        const char* drawing;
    } cases[] = {
        {"IN;SP1;PU100,200;PD300,200;PD300,400;", kHpglCorel, "1: 0,200 200,200 200,0 / 1: 0"},
        // Pen 0 belongs to no layer.
        {"SP2;PU0,0;PD1,1;SP1;PU5,5;PD6,6;SP2;PU9,9;PD8,8;SP0;PU3,3;PD4,4;", kHpglCorel,
         "2: 0,9 1,8 | 1: 5,4 6,3 | 2: 9,0 8,1 | 0: 3,6 4,5 / 2: 0 2 / 1: 1"},
        // Dropped characters and ignored commands.
        {"IN;\r\nSP1;PU0,0;\"PD100,\r\n200\";PT1;PD5,5PT;;  ;VS32,1;LT;PW0.35;", kHpglCorel,
         "1: 0,200 100,0 / 1: 0"},
        // Spaces around commands: Inkscape ends with "IN; "; pstoedit writes
        // "PU; " and a line break before "SP1".
        {"IN;SP1;PU0,0;PD10,10;SP0;PU0,0;IN; ", kHpglCorel, "1: 0,10 10,0 | 0: 0,10 / 1: 0"},
        {"PU; \nSP1;\nPU799,408;PD799,398;PD795,368;", kHpglSprint,
         "1: | 1: 4,0 4,10 0,40 / 1: 0 1"},
        {"SP1;PU10,20 ;PD30,40 ;", kHpglCorel, "1: 0,20 20,0 / 1: 0"},
        // SprintLayout's commands without coordinates; its points stay absolute.
        {"SP1;PU;PA10,10;PD;PA20,10;PU;PU;PA5,5;", kHpglSprint,
         "1: 5,0 15,0 | 1: | 1: 0,5 / 1: 0 1 2"},
        // ArtCam's points are differences.
        {"SP1;PU0,0;PA10,0;PA30,5;", kHpglArtCam, "1: 0,5 10,5 20,0 / 1: 0"},
        // A pen down before any pen up starts an object.
        {"SP3;PD10,10;PD20,10;", kHpglCorel, "3: 0,0 10,0 / 3: 0"},
        {"IN;SP1;", kHpglCorel, ""},
    };
    for (const auto& c : cases) {
        ASSERT_EQ(load(c.hpgl, c.kind), 1) << c.hpgl;
        EXPECT_EQ(drawing(), c.drawing) << c.hpgl;
    }
}

TEST_F(ReaderTest, SizeLengthAndStorage) {
    // 120 points: chunks at 0, 49 and 99 points; then one per new object.
    // 21 objects: another 20 records when index 19 leaves fewer than 2.
    std::string hpgl = "SP1;PU0,0;";
    for (int i = 1; i < 120; ++i) hpgl += "PD" + std::to_string(i) + ",0;";
    for (int i = 0; i < 20; ++i) hpgl += "PU0,5;";
    ASSERT_EQ(load(hpgl), 1);
    const auto chunks = logFile();
    auto count = [&](const char* text) { return std::count(chunks.begin(), chunks.end(), text); };
    EXPECT_EQ(count("alokováno první 20 objektů"), 1);
    EXPECT_EQ(count("alokováno dalších 50 segmentů"), 3 + 20);
    EXPECT_EQ(count("alokováno dalších 20 objektů"), 1);
    EXPECT_EQ(model.objects[0].pointCapacity, 150);
    EXPECT_EQ(model.objectCapacity, 40);

    ASSERT_EQ(load("IN;SP1;PU100,200;PD300,200;PD300,400;"), 1);
    EXPECT_EQ(model.width, 200);
    EXPECT_EQ(model.height, 200);
    EXPECT_EQ(model.displayWidth, 200);
    EXPECT_EQ(model.objects[0].length, 400);
    EXPECT_EQ(model.pens[0].length, 400);
    // (32 bytes per object + 12 per point) / 1024.
    EXPECT_EQ(list.back(), "Size of HPGL code (" + model.sourcePath + "): 0.07KB");
    ASSERT_EQ(load("SP1;PU0,0;PA10,0;PA30,5;", kHpglArtCam), 1);
    const auto lines = logFile();
    EXPECT_EQ(lines.back(), "Size of HPGL code (" + model.sourcePath + "): 0.07KB");
    EXPECT_NE(std::find(lines.begin(), lines.end(), "konec transformace souboru ArtCam na HPGL"),
              lines.end());
    ASSERT_EQ(load("IN;SP1;"), 1);
    EXPECT_EQ(model.width, 0);
}

TEST_F(ReaderTest, UnitsBecomeStepsOfEachAxis) {
    m.settings.mmPerStepX = 0.01f;
    m.settings.mmPerStepY = 0.05f;
    ASSERT_EQ(load("SP1;PU0,0;PD4000,4000;"), 1);
    // 4000 units are 100 mm: 10000 X steps, 2000 Y steps.
    EXPECT_EQ(points(0)[1], (P{10000, 0, 0}));
    EXPECT_EQ(model.height, 2000);
    m.settings.hpglUnitsPerInch = 0;  // a broken setting divides by nothing
    EXPECT_EQ(load("SP1;PU0,0;PD10,10;"), 1);
}

TEST_F(ReaderTest, RefusalsReportClearSizeAndPath) {
    struct Case {
        const char* hpgl;
        int32_t kind;
        const char* start;
    };
    const std::string longCommand = "PU" + std::string(258, '1') + ";";
    std::string manyPens;
    for (int pen = 1; pen <= 256; ++pen) manyPens += "SP" + std::to_string(pen) + ";PU0,0;";
    const Case cases[] = {
        {"SP1;PU0,0;LB hello;", kHpglCorel, "Loading file of HPGL failed, please contact"},
        // No Czech in the English message.
        {"SP1;PU;", kHpglCorel,
         "Loading file of HPGL failed, unknown command  wrong separator != {,' '} , please contact "
         "autor to solve this problem\n Wrong command HPGL"},
        {"SP1;PU,10,20;", kHpglSprint, "Loading file of HPGL failed, unknown command"},
        {"SP1;PU10;", kHpglArtCam, "Loading file of HPGL failed, unknown command"},
        {"SP1;PU0,0;PD 30,40;", kHpglCorel, "Loading file of HPGL failed, unknown command"},
        {longCommand.c_str(), kHpglCorel, "Loading file of HPGL failed, a command is longer"},
        {manyPens.c_str(), kHpglCorel, "Loading file of HPGL failed, the file uses more than 255"},
    };
    // A refused file keeps the drawing loaded before.
    for (const Case& c : cases) {
        SCOPED_TRACE(c.hpgl);
        ASSERT_EQ(load("SP1;PU0,0;PD100,0;PD100,100;"), 1);
        host.boxes.clear();
        EXPECT_EQ(load(c.hpgl, c.kind), 0);
        EXPECT_EQ(model.loaded, 1);
        EXPECT_EQ(model.width, 100);
        ASSERT_EQ(host.boxes.size(), 1u);
        EXPECT_EQ(host.boxes[0].text.rfind(c.start, 0), 0u) << host.boxes[0].text;
    }
    // 259 kept characters are still one command; 255 pens still fit.
    EXPECT_EQ(load("PU1," + std::string(255, '1') + ";"), 1);
    manyPens.resize(manyPens.rfind("SP256"));
    EXPECT_EQ(load(manyPens), 1);
    EXPECT_EQ(model.penCount, 255);
}

TEST_F(ReaderTest, MissingFileIsReportedInTheLanguageChosen) {
    m.settings.language = 0;
    VectorModel other;
    EXPECT_EQ(LoadVectorFile(other, dir.file("none.plt"), kHpglCorel, m.settings, m.log, host), 0);
    EXPECT_EQ(boxTexts(), std::vector<std::string>{"Predloha se nenacetla, soubor není otevren"});

    ASSERT_EQ(mkdir(dir.file("folder.plt").c_str(), 0700), 0);
    EXPECT_EQ(LoadVectorFile(other, dir.file("folder.plt"), kHpglCorel, m.settings, m.log, host),
              0);
    ASSERT_EQ(host.boxes.size(), 2u);
    EXPECT_EQ(host.boxes[1].text, host.boxes[0].text);
}

}  // namespace
}  // namespace korvex::test
