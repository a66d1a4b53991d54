#include "drilling/drilling_dialog.h"

#include "drilling/drill_preview.h"

#include <gtest/gtest.h>

#include "platform/dialog_view.h"
#include "tests/drilling/drilling_fixture.h"
#include "tests/ui/view_driver.h"

namespace korvex {
namespace {

using test::Texts;

class Dialog : public DrillingTest {
  protected:
    Dialog() : dialog(m, set, view, host, [this] { ++calibrations; }) {}

    void open(const std::string& file, int button = kDrillLoadExcellon) {
        dialog.onInit();
        host.files.push_back({true, data(file), 1});
        dialog.onCommand(button);
    }
    void typeDepth(const std::string& text) { test::Type(view, dialog, kDrillDepth, text); }

    RecordingView view;
    int calibrations = 0;
    DrillingDialog dialog;
};

TEST_F(Dialog, ShowsTheSetAndStepsThroughItsDrills) {
    dialog.onInit();
    EXPECT_EQ(view.text(kDrillFieldSize), " 0.00x 0.00 mm");
    open("inline-drills.drl");
    EXPECT_EQ(set.drillPath, data("inline-drills.drl"));
    EXPECT_EQ(host.fileDialogs.at(0).at(0).description, "Excelon soubor (*.drl)");
    EXPECT_EQ(Texts(view, {kDrillHoleCount, kDrillToolCount, kDrillFieldSize, kDrillToolHoles,
                           kDrillDiameter, kDrillIndex, kDrillDepth}),
              "3 | 2 | 25.40x25.40 mm | Počet děr (holes) 2 |  0.80mm | 1/2 |  0.00mm");

    dialog.onCommand(kDrillPrevious);
    EXPECT_EQ(dialog.displayedDrill(), 0) << "drill - on the first changes nothing";
    dialog.onCommand(kDrillNext);
    dialog.onCommand(kDrillNext);
    EXPECT_EQ(dialog.displayedDrill(), 1) << "drill + on the last changes nothing";
    EXPECT_EQ(Texts(view, {kDrillIndex, kDrillDiameter}), "2/2 |  1.02mm");

    typeDepth("1.5");
    EXPECT_EQ(set.tools[1].depth, 10) << "whole millimetres only";
    typeDepth("-3");
    EXPECT_EQ(set.tools[1].depth, 0);
    typeDepth("2");
    view.setCheck(kDrillEnable, true);
    dialog.onCommand(kDrillEnable);
    dialog.onCommand(kDrillPrevious);
    EXPECT_FALSE(view.isChecked(kDrillEnable));
    dialog.onCommand(kDrillNext);
    EXPECT_TRUE(view.isChecked(kDrillEnable));
    EXPECT_EQ(view.text(kDrillDepth), " 2.00mm");

    dialog.onCommand(kDrillCalibrate);
    EXPECT_EQ(calibrations, 1);
    dialog.onCommand(kResultCancel);
    EXPECT_EQ(view.endResult, kResultOk);
}

TEST_F(Dialog, DrillsOnlyAnEnabledDrill) {
    open("inline-drills.drl");
    typeDepth("1");
    dialog.onCommand(kDrillTheseHoles);
    EXPECT_EQ(dialog.lastDrillResult(), 0);
    EXPECT_EQ(lastBox(), "Drill 1 is not enabled: tick \"vrtat / enable\" first");
    EXPECT_EQ(m.buffer.queued(), 0);
    view.setCheck(kDrillEnable, true);
    dialog.onCommand(kDrillEnable);
    typeDepth("96");  // 5 mm over the material, then 96 mm: 1 mm past the Z travel
    dialog.onCommand(kDrillTheseHoles);
    EXPECT_EQ(lastBox(),
              "The drilling depth goes beyond the Z travel by 1.00 mm, drilling aborted");
    EXPECT_EQ(m.buffer.queued(), 0);
    typeDepth("1");
    dialog.onCommand(kDrillTheseHoles);
    EXPECT_EQ(dialog.lastDrillResult(), 1);
    EXPECT_EQ(m.buffer.queued(), 5 + 5 + 1);

    dialog.onCommand(kDrillLoadSimple);  // cancelled: no drills, the holes stay
    EXPECT_EQ(host.fileDialogs.back().at(0).description, "Excelon soubor (*.vrt)");
    EXPECT_EQ(host.fileDialogs.back().at(0).pattern, "*.vrt");
    EXPECT_EQ(dialog.lastReadResult(), kDrillReadCancelled);
    EXPECT_EQ(set.toolCount, 0);
    EXPECT_EQ(set.holeCount, 3);
    EXPECT_EQ(view.text(kDrillIndex), "0/0");
    dialog.onCommand(kDrillTheseHoles);
    EXPECT_EQ(lastBox(), "No drill is loaded");
}

TEST_F(Dialog, CalibratesWithTheProbingSequence) {
    DrillingDialog plain(m, set, view, host);
    plain.onCommand(kDrillCalibrate);  // the question is answered OK
    EXPECT_EQ(m.buffer.queued(), 4);
}

// The full reader's button reads with the number format typed beside it.
TEST_F(Dialog, TheFullReaderTakesTheFormatTyped) {
    dialog.onInit();
    EXPECT_EQ(view.text(kDrillLoadExcellonFull), "Excellon (plný) \n Excellon (full)");
    host.files.push_back({true, data("gerbv-pcb-numpres.cnc"), 2});
    view.setText(kDrillNumberFormat, "2.3");
    dialog.onCommand(kDrillLoadExcellonFull);
    EXPECT_EQ(dialog.lastReadResult(), kDrillReadLoaded);
    ASSERT_EQ(host.fileDialogs.at(0).size(), 2u);
    EXPECT_EQ(host.fileDialogs[0][1].pattern, "*.drl;*.txt;*.cnc;*.exc;*.tap;*.xln");
    EXPECT_EQ(view.text(kDrillFieldSize), "51.80x32.00 mm");
    view.setText(kDrillNumberFormat, "2,3");
    dialog.onCommand(kDrillLoadExcellonFull);
    EXPECT_EQ(dialog.lastReadResult(), kDrillReadFailed);
    EXPECT_EQ(lastBox(),
              "Give the number format as the digits before and after the point, e.g. 2.4");
    EXPECT_EQ(set.fieldWidth, 518) << "the board loaded before stays";
    view.setText(kDrillNumberFormat, "");
    dialog.onCommand(kDrillLoadExcellonFull);  // cancelled: no drills, the holes stay
    EXPECT_EQ(dialog.lastReadResult(), kDrillReadCancelled);
    EXPECT_EQ(set.toolCount, 0);
    EXPECT_GT(set.holeCount, 0);
}

// Each hole a cross, the displayed drill's red and the others' blue, at
// 5.45 pixels per step from the area's corner.
int Crosses(const std::vector<std::string>& calls, const std::string& colour) {
    int lines = 0;
    for (const std::string& c : calls) lines += c.find(" " + colour + " ") != std::string::npos;
    return lines / 2;
}

TEST_F(Dialog, PreviewMarksTheDisplayedDrill) {
    auto& canvas = static_cast<RecordingCanvas&>(view.canvas(0));
    dialog.onInit();
    dialog.onPaint();
    EXPECT_TRUE(canvas.calls.empty()) << "no field, no preview";

    open("two-drills.vrt", kDrillLoadSimple);  // holes at (0, 0), (25, 0), (100, 50)
    dialog.onPaint();
    EXPECT_EQ(Crosses(canvas.calls, "ffff0000"), 2);
    EXPECT_EQ(Crosses(canvas.calls, "ff0000ff"), 1);
    EXPECT_EQ(canvas.calls.back(), "line 880 305 880 311 ff0000ff 1");  // 50 x 5.45 + 35 = 307.5

    // A wide field takes its scale from the width: its lowest holes can fall
    // below the area and are left out.
    DrillSet wide;
    wide.fieldWidth = 100;
    wide.fieldHeight = 90;
    wide.holes = {{0, 100, 75}, {0, 100, 90}};
    RecordingCanvas clipped;
    DrawDrillPreview(clipped, wide, 1);
    EXPECT_EQ(Crosses(clipped.calls, "ff0000ff"), 1);
}

}  // namespace
}  // namespace korvex
