#include <algorithm>
#include <cmath>
#include <tuple>

#include "tests/vector/vector_fixture.h"
#include "vector/arc_flattening.h"
#include "vector/hpgl_generic_scanner.h"
#include "vector/model_geometry.h"
#include "vector/vector_file_dialog.h"

namespace korvex::test {
namespace {

using P = VectorPoint;

// Each command as "NAME p1 p2 ...".
std::vector<std::string> Scan(std::string_view data) {
    HpglGenericScanner scanner(data);
    HpglGenericCommand c;
    std::vector<std::string> out;
    while (scanner.next(c)) {
        std::string line = c.name;
        for (double p : c.params) line += " " + Format("%g", p);
        out.push_back(line);
    }
    return out;
}

TEST(HpglGenericScannerTest, CommandsAsAPlotterSplitsThem) {
    // Lower case, no ';' between commands, decimals, spaces and signs.
    EXPECT_EQ(Scan("in;pa10,20pd 1.5 -2.25,+3;PU"),
              (std::vector<std::string>{"IN", "PA 10 20", "PD 1.5 -2.25 3", "PU"}));
    // Label, comment and encoded text never read as commands; DT moves the
    // label's end, IN puts it back.
    EXPECT_EQ(Scan("LBPD9,9\x03;CO\"PU 1\";DT@;LBSP5@PA1,1;IN;LBPD@\x03PR2,2;PEabc;SM*;EP;"),
              (std::vector<std::string>{"LB", "CO", "DT", "LB", "PA 1 1", "IN", "LB", "PR 2 2",
                                        "PE", "SM", "EP"}));
    // PCL: reset, universal exit, HP-GL/2 entry; a PCL part is skipped whole.
    EXPECT_EQ(Scan("\x1b%-12345X\x1b"
                   "E\x1b%0BIN;PD1,2;\x1b%0A\x1b*b3WPD9\x1b%1BPU;\x1b"
                   "E"),
              (std::vector<std::string>{"IN", "PD 1 2", "PU"}));
    EXPECT_EQ(Scan("PA123456789012345678901234,0.000000000000000000001;"),
              (std::vector<std::string>{"PA 1.23457e+23 1e-21"}));
}

TEST(ArcFlatteningTest, ChordsKeepWithinTheTolerance) {
    for (double r : {1.0, 10.0, 1000.0, 1e6}) {
        const int n = ArcChordCount(r, 2 * M_PI, 1);
        EXPECT_LE(r * (1 - std::cos(M_PI / n)), 1.0) << r;
        EXPECT_GE(n, 4);
    }
    EXPECT_EQ(ArcChordCount(1e12, -M_PI, 1), 1800);  // capped
    EXPECT_EQ(ArcChordCount(NAN, 2 * M_PI, 1), 3600);
    EXPECT_EQ(ArcChordCount(5, 0, 1), 1);
}

struct GenericTest : VectorFixture {
    int loadGeneric(const std::string& hpgl) { return load(hpgl, kHpglGeneric); }
};

// Each file as its objects and layers (see `drawing`).
TEST_F(GenericTest, Drawings) {
    const std::pair<const char*, const char*> cases[] = {
        // Pen state carries: PD without pairs, then PA pairs draw. PR returns
        // to the start; decimals round to the nearest step.
        {"IN;SP1;PU0,0;PD100,0,100,50;PU;PA200.6,0;PD;PR10,0,0,10,-10,0,0,-10;",
         "1: 0,50 100,50 100,0 | 1: 201,50 211,50 211,40 201,40 201,50 / 1: 0 1"},
        // Pens split objects; pen 0 only travels: the last object starts where it ended.
        {"SP2;PD;PA0,0,10,0;SP3;PA10,10;SP0;PA50,50;SP;PA60,60;SP2;PA0,10;",
         "2: 0,60 0,60 10,60 | 3: 10,60 10,50 | 2: 60,0 0,50 / 2: 0 2 / 3: 1"},
        // User X 0..100 over plotter 1000..2000, Y mirrored: user Y 0 (plotter
        // 500) is the top of the model.
        {"IN;IP1000,0,2000,500;SC0,100,100,0;SP1;PU0,0;PD100,0;PD100,100;",
         "1: 0,0 1000,0 1000,500 / 1: 0"},
        // An edge rectangle is an outline whatever the pen, the position unchanged.
        {"PA10,10;EA30,20;RR-10,-10;",
         "1: 10,10 30,10 30,0 10,0 10,10 | 1: 10,10 0,10 0,20 10,20 10,10 / 1: 0 1"},
    };
    for (const auto& [hpgl, text] : cases) {
        ASSERT_EQ(loadGeneric(hpgl), 1) << hpgl;
        EXPECT_EQ(drawing(), text) << hpgl;
    }
}

TEST_F(GenericTest, ScalingWithMirroredAxes) {
    const std::pair<const char*, std::pair<int, int>> sizes[] = {
        // Isotropic: one scale (5 units per user unit), centred; point factor.
        {"IP0,0,1000,500;SC0,100,0,100,1;PU0,0;PD100,100;", {500, 500}},
        {"SC0,-2,0,3,2;PU0,0;PR10,10;PD10,10;", {20, 30}},
        // Empty ranges and windows: plotter units stay.
        {"SC5,5,0,10;PU0,0;PD40,30;", {40, 30}},
        {"IP7,7,7,7;SC0,1,0,1;PU0,0;PD40,30;", {40, 30}},
        // A type past any int is no type: the axes stretch over the 10000-unit window.
        {"SC0,1,0,1,8.9e89;PU0,0;PD40,30;", {400000, 300000}},
    };
    for (const auto& [hpgl, size] : sizes) {
        ASSERT_EQ(loadGeneric(hpgl), 1);
        EXPECT_EQ(std::make_pair(model.width, model.height), size) << hpgl;
    }
}

TEST_F(GenericTest, CirclesArcsAndRectangles) {
    // Chord tolerance: one step (0.025 mm) is one plotter unit here; the
    // points are rounded to steps besides.
    ASSERT_EQ(loadGeneric("SP1;PA500,500;CI400;PU;AA500,500,90;"), 1);
    ASSERT_EQ(model.objectCount(), 1);  // the arc was a pen-up move
    const std::vector<P> circle = points(0);
    EXPECT_EQ(circle.front(), circle.back());
    for (const P& p : circle) EXPECT_NEAR(std::hypot(p.x - 400.0, p.y - 400.0), 400, 1.5);
    EXPECT_GE(circle.size(), 40u);
    EXPECT_LE(circle.size(), 80u);

    // Counter-clockwise for a positive sweep, clockwise for a negative one;
    // the pen stays at the arc's end. Plotter Y -100..200 becomes model
    // Y = 200 - y.
    ASSERT_EQ(loadGeneric("PA100,0;PD;AA0,0,90;PA0,200;PU;PA100,0;PD;AR-100,0,-90;"), 1);
    ASSERT_EQ(model.objectCount(), 2);
    const auto ccw = points(0), cw = points(1);
    EXPECT_EQ(ccw.front(), (P{100, 200, 0}));
    EXPECT_EQ(ccw[ccw.size() - 2], (P{0, 100, 0}));
    EXPECT_EQ(ccw.back(), (P{0, 0, 0}));
    EXPECT_LT(ccw[1].y, 200);
    EXPECT_EQ(cw.front(), (P{100, 200, 0}));
    EXPECT_GT(cw[1].y, 200);
    EXPECT_EQ(cw.back(), (P{0, 300, 0}));
}

TEST_F(GenericTest, IgnoredCommandsAreSummedUpInOneLine) {
    ASSERT_EQ(loadGeneric("\x1b"
                          "E\x1b%0BIN;SC;PS10668;PM0;PD;PA0,0,5,5;PM2;EP;FP;PM0;PM2;"
                          "LBHello\x03;LT;PW0.3;PG;EC;OE\x1b%0A\x1b"
                          "E"),
              1);
    EXPECT_EQ(std::count(list.begin(), list.end(),
                         "HPGL commands ignored: PS 1, PM 4, EP 1, FP 1, LB 1, LT 1, PW 1, PG 1, "
                         "EC 1, OE 1"),
              1);
    EXPECT_TRUE(host.boxes.empty());
}

TEST_F(GenericTest, NothingToCutOrPensBeyondTheTableAreRefused) {
    const std::pair<const char*, const char*> cases[] = {
        {"IN;PU0,0;PU100,100;SP0;PD;PA5,5;IN;", "the file draws nothing with the pen down"},
        {"", "the file draws nothing with the pen down"},
        {"SP1;PD0,0,5,5;SP256;PD9,9;", "pen 256 is outside 0 to 255"},
        {"SP-1;PD0,0,5,5;", "pen -1 is outside 0 to 255"},
        // Read, parts of the drawing would be missing from the cut.
        {"SP1;PD0,0,5,5;PE7<=_?;PD9,9;",
         "the drawing uses PE (encoded polylines or Bezier curves), which is not read: part of "
         "the drawing would not be cut"},
        {"SP1;PA0,0;PD;BZ1,1,2,2,3,0;",
         "the drawing uses BZ (encoded polylines or Bezier curves), which is not read: part of "
         "the drawing would not be cut"},
    };
    for (const auto& [hpgl, text] : cases) {
        SCOPED_TRACE(hpgl);
        host.boxes.clear();
        EXPECT_EQ(loadGeneric(hpgl), 0);
        EXPECT_TRUE(model.sourcePath.empty());
        ASSERT_EQ(host.boxes.size(), 1u);
        EXPECT_EQ(host.boxes[0].text, std::string("Loading file of HPGL failed, ") + text);
    }
}

const char* const kSeveralPairsWarning =
    "The file has PD or PA commands with several coordinate pairs, only their first point is "
    "read. Open it as \"Vector file HPGL generic (*.plt;*.hpgl)\" instead";

TEST_F(GenericTest, OriginalKindsWarnAboutSeveralPairsAndLoadAsBefore) {
    ASSERT_EQ(load("SP1;PU0,0;PD5,6,7;PD8,9;"), 1);  // x,y,z is one pair
    EXPECT_TRUE(host.boxes.empty());
    ASSERT_EQ(load("SP1;PU0,0;PD5,6,7,8;PD8,9;"), 1);
    EXPECT_EQ(points(0)[1].z, 7);
    EXPECT_EQ(boxTexts(), std::vector<std::string>{kSeveralPairsWarning});
    EXPECT_EQ(std::count(list.begin(), list.end(), kSeveralPairsWarning), 1);
}

// A refusal by an original kind names the kind that reads the file instead,
// and a refused file gets no warning about its pairs on top.
TEST_F(GenericTest, OriginalKindsRefusingAFileNameTheGenericKindWhenItReadsIt) {
    const std::string path = std::string(KORVEX_TEST_DATA) + "/vector/inkscape_circle.plt";
    EXPECT_EQ(LoadVectorFile(model, path, kHpglSprint, m.settings, m.log, host), 0);
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].text,
              "Loading file of HPGL failed, a command is longer than 259 characters\n The kind "
              "\"HPGL generic\" reads this file, choose it");
    host.boxes.clear();
    EXPECT_EQ(load("SP1;PU0,0;LB hello;"), 0);  // nothing the generic kind would cut either
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].text.find("HPGL generic"), std::string::npos);
}

TEST_F(GenericTest, OpenDialogOffersTheGenericKind) {
    MainPreview preview;
    host.files.push_back({true, dir.write("a.hpgl", "PD0,0,40,0;"), 4});
    ASSERT_EQ(openVectorFile(model, preview, m.settings, m.log, host), 1);
    EXPECT_EQ(model.sourceKind, kHpglGeneric);
    EXPECT_TRUE(model.hasHpgl());
    EXPECT_EQ(host.fileDialogs[0][3].description, "Vector file HPGL generic (*.plt;*.hpgl)");
    EXPECT_EQ(host.fileDialogs[0][3].pattern, "*.plt;*.hpgl");
    m.settings.language = 0;
    openVectorFile(model, preview, m.settings, m.log, host);
    EXPECT_EQ(host.fileDialogs[1][3].description, "Vektorový soubor HPGL obecný (*.plt;*.hpgl)");
}

// Files of tests/data/vector; see its README for how they were made. The
// hp2xx re-encodings (one pair per command, read as SprintLayout) are an
// independent reading of the same drawings: their sizes agree.
TEST_F(GenericTest, RealToolFiles) {
    // Each file's objects, points, size and each pen's objects, or "refused".
    const std::tuple<const char*, int32_t, const char*> files[] = {
        {"inkscape_lines.plt", kHpglGeneric, "3 objects, 12 points, 2000x1200, pens 1:2 2:1"},
        {"inkscape_lines_default.plt", kHpglGeneric,
         "5 objects, 54 points, 2020x1220, pens 1:3 2:2"},
        {"inkscape_circle.plt", kHpglGeneric, "4 objects, 61 points, 2000x1200, pens 1:2 2:2"},
        {"pstoedit_pencolors.plt", kHpglGeneric, "4 objects, 53 points, 2001x1200, pens 1:4"},
        {"pstoedit_plain.plt", kHpglGeneric, "4 objects, 53 points, 2001x1200, pens 1:4"},
        {"pstoedit_hpgl2.plt", kHpglGeneric, "4 objects, 53 points, 2001x1200, pens 1:4"},
        {"libplot_circle.plt", kHpglGeneric, "4 objects, 141 points, 1455x872, pens 1:2 2:2"},
        // Inkscape starts with a bare "PU;", which only SprintLayout may write;
        // several pairs after one PD read as x1, y1 and x2 (as Z).
        {"inkscape_lines.plt", kHpglCorel, "refused"},
        {"inkscape_lines.plt", kHpglSprint, "7 objects, 8 points, 2000x1200, pens 1:4 2:2"},
        {"inkscape_lines_default.plt", kHpglSprint,
         "8 objects, 11 points, 1020x1220, pens 1:5 2:2"},
        // A curve in one PD is longer than a command may be; pstoedit's "SC",
        // "EC", "PG" and "OE" are not in the command table.
        {"inkscape_circle.plt", kHpglSprint, "refused"},
        {"pstoedit_pencolors.plt", kHpglSprint, "refused"},
        {"inkscape_circle.hp2xx.hpgl", kHpglSprint,
         "10 objects, 66 points, 2000x1200, pens 1:3 2:7"},
        {"pstoedit_hpgl2.hp2xx.hpgl", kHpglSprint, "9 objects, 57 points, 2001x1200, pens 1:9"},
        {"libplot_circle.hp2xx.hpgl", kHpglSprint,
         "138 objects, 274 points, 1455x873, pens 1:7 2:131"},
    };
    for (const auto& [file, kind, expected] : files) {
        const std::string path = std::string(KORVEX_TEST_DATA) + "/vector/" + file;
        std::string read = "refused";
        if (LoadVectorFile(model, path, kind, m.settings, m.log, host)) {
            read = Format("%d objects, %lld points, %dx%d, pens", model.objectCount(),
                          static_cast<long long>(MeasureExtent(model).points), model.width,
                          model.height);
            for (int i = 0; i < model.penCount; ++i)
                read += Format(" %d:%d", model.pens[i].pen, model.pens[i].objectCount());
        }
        EXPECT_EQ(read, expected) << file << " as kind " << kind;
    }
}

}  // namespace
}  // namespace korvex::test
