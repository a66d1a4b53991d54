#include <gtest/gtest.h>

#include "gcode/gcode_dialog.h"
#include "tests/gcode/gcode_fixture.h"

namespace korvex::test {
namespace {

using namespace gcode_dialog;

struct GcodeDialogTest : GcodeFixture {
    RecordingView view;
    RecordingCanvas* picture = nullptr;  // the last picture the dialog made
    GcodeImport import{m};
    CanvasFactory pictures = [this](int w, int h) {
        auto canvas = std::make_unique<RecordingCanvas>(w, h);
        picture = canvas.get();
        return canvas;
    };
    GcodeDialog dialog{m, import, view, host, pictures};

    void choose(const std::string& path) {
        host.files.push_back({true, path, 1});
        dialog.onCommand(kFile);
    }
    // The drawing calls of the dialog's area from the last paint.
    std::vector<std::string> painted() {
        view.canvases[0].calls.clear();
        dialog.onPaint();
        return view.canvases[0].calls;
    }
};

TEST_F(GcodeDialogTest, ChosenProgramIsSummedUpDrawnAndQueued) {
    dialog.onInit();
    EXPECT_EQ(view.texts[kPath], "no program loaded");
    EXPECT_FALSE(view.isEnabled(kStart));
    dialog.onCommand(kStart);
    EXPECT_EQ(queued().size(), 0u);
    EXPECT_EQ(painted(), std::vector<std::string>{"fill 15 50 300 300 ffffffff"});

    const std::string path = dir.write("part.ngc",
                                       "G21 G90\nG0 X10 Y-5 Z2\nG1 Z-1 F60\nG1 X20 "
                                       "F600\nG0 Z2\nM2\n");
    choose(path);
    ASSERT_EQ(host.fileDialogs.size(), 1u);
    ASSERT_EQ(host.fileDialogs[0].size(), 2u);
    EXPECT_EQ(host.fileDialogs[0][0].pattern, "*.nc;*.ngc;*.gcode;*.tap;*.cnc");
    EXPECT_EQ(host.fileDialogs[0][1].pattern, "*");
    EXPECT_EQ(view.texts[kPath], path);
    // The summary's lines, each in its field.
    EXPECT_EQ(view.texts[kExtentZ], "Z -1.000 to 2.000 mm");
    EXPECT_EQ(view.texts[kNotes].rfind("line 3: a feed", 0), 0u);
    EXPECT_TRUE(view.isEnabled(kStart));
    EXPECT_EQ(painted(), std::vector<std::string>{"blit 15 50 0 0 300 300"});
    // The picture of the path: the rapid light, the cut along X dark.
    ASSERT_NE(picture, nullptr);
    const std::vector<std::string> drawn = {"clear ffffffff", "line 7 221 150 292 ffc0c0c0 1",
                                            "line 150 292 292 292 ff000080 1"};
    EXPECT_EQ(picture->calls, drawn);

    dialog.onCommand(kStart);
    EXPECT_EQ(queued().size(), 4u);
    EXPECT_TRUE(view.ended);
    EXPECT_EQ(view.endResult, kResultOk);
}

// A refusal keeps the dialog open and the program loaded before; closed to
// set the origin elsewhere, the program waits for the next opening and is
// read again from the new origin.
TEST_F(GcodeDialogTest, RefusalsKeepTheDialogAndTheProgramForTheNextOpening) {
    dialog.onInit();
    // 50 mm of travel left of the origin: 10 mm too far.
    const std::string wide = dir.write("wide.nc", "G0 X-60\nG0 X1\n");
    choose(wide);
    EXPECT_EQ(view.texts[kTable], "leaves the machine's travel by dX:10.00 dY:0.00 dZ:0.00");
    dialog.onCommand(kStart);
    EXPECT_FALSE(view.ended);
    EXPECT_EQ(queued().size(), 0u);
    choose(dir.write("bad.nc", "G0 X1\nG41 D1\n"));
    dialog.onCommand(kFile);  // cancelled
    EXPECT_EQ(view.texts[kPath], wide);
    m.position.relOriginSet = 0;
    dialog.onInit();
    EXPECT_EQ(view.texts[kTable], "no relative point (startpoint) defined");
    dialog.onCommand(kClose);
    EXPECT_EQ(view.endResult, kResultCancel);

    setOrigin(7000, 5000, 1000);
    RecordingView again;
    GcodeDialog reopened{m, import, again, host, pictures};
    reopened.onInit();
    EXPECT_EQ(again.texts[kPath], wide);
    EXPECT_EQ(again.texts[kTable], "the program stays within the machine's travel");
    reopened.onCommand(kStart);
    ASSERT_EQ(queued().size(), 2u);
    EXPECT_EQ(queued()[0].dx, -6000);
}

}  // namespace
}  // namespace korvex::test
