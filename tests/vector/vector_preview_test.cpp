#include "tests/vector/vector_fixture.h"
#include "vector/model_commands.h"
#include "vector/model_transform.h"
#include "vector/vector_preview.h"

namespace korvex::test {
namespace {

using namespace model_panel;

std::unique_ptr<Canvas> MakeCanvas(int w, int h) {
    return std::make_unique<RecordingCanvas>(w, h);
}

const std::vector<std::string>& Calls(const std::unique_ptr<Canvas>& image) {
    return dynamic_cast<RecordingCanvas&>(*image).calls;
}

struct PreviewTest : VectorFixture {
    RecordingView window;
    MainPreview main;
    ModelResize resize;
    VectorModelPanel panel{model, main, resize, m, window, host, MakeCanvas};
};

TEST_F(PreviewTest, MainPreviewFitsTheLargerSide) {
    ASSERT_EQ(load("SP1;PU0,0;PD400,0;PD400,200;"), 1);  // 10 x 5 mm
    computeMainPreviewScale(main, model, m.settings);
    EXPECT_FLOAT_EQ(main.scale, 25);
    panel.drawPreview();
    EXPECT_EQ(Calls(main.image),
              (std::vector<std::string>{"clear ffffffff", "line 0 125 250 125 ff00007f 1",
                                        "line 250 125 250 0 ff00007f 1"}));
    EXPECT_EQ(window.canvases[0].calls.back(), "blit 735 30 0 0 250 250");

    ASSERT_EQ(load("SP1;PU0,0;PD0,200;"), 1);  // no width: scaled by the height
    computeMainPreviewScale(main, model, m.settings);
    EXPECT_FLOAT_EQ(main.scale, 50);
    model.loaded = 0;
    main.image.reset();
    panel.drawPreview();
    EXPECT_EQ(main.image, nullptr);
}

TEST_F(PreviewTest, JobPreviewShowsDirectionStartAndOrder) {
    // The second object stays within 5 pixels of its start.
    ASSERT_EQ(load("SP1;PU0,0;PD400,0;PD400,200;PU0,0;PD5,5;"), 1);
    JobPreview preview;
    drawJobPreview(preview, model, m.settings, 0, window, MakeCanvas);
    EXPECT_EQ(window.ranges[kJobPreviewHScroll], std::make_pair(0, 0));
    // 280 pixels for 10 mm, from a 5-pixel margin.
    EXPECT_EQ(
        Calls(preview.image),
        (std::vector<std::string>{"clear ffffffff", "line 5 145 285 145 ffb4b4b4 1",
                                  "line 285 145 285 5 ffb4b4b4 1", "line 5 145 8 141 ffb4b4b4 1",
                                  "arrow 5 145 285 145 ff0000ff 2", "line 285 145 285 5 ffff0000 1",
                                  "ellipse 5 145 3 3 ff0000ff 2", "text 5 145 10 ff0000ff 0",
                                  "ellipse 5 145 3 3 ff0000ff 2", "text 5 145 10 ff0000ff 1"}));
    EXPECT_EQ(window.canvases[0].calls.back(), "blit 15 110 0 0 290 290");

    // Reversed, the arrow starts at the other end.
    auto& points = model.objects[0].points;
    std::reverse(points.begin(), points.end());
    preview.image.reset();
    drawJobPreview(preview, model, m.settings, 0, window, MakeCanvas);
    EXPECT_EQ(Calls(preview.image)[4], "arrow 285 5 285 145 ff0000ff 2");
}

TEST_F(PreviewTest, TurnsAndMirrorsUndoEachOther) {
    ASSERT_EQ(load("SP1;PU0,0;PD7,0;PD7,3;PU2,1;PD5,1;"), 1);
    const auto loaded = model.objects;
    for (int id : {kVertical, kVertical, kHorizont, kHorizont, kToLeft, kToRight, kToLeft, kToLeft,
                   kToLeft, kToLeft}) {
        EXPECT_TRUE(panel.onCommand(id));
    }
    EXPECT_EQ(model.objects[0].points, loaded[0].points);
    EXPECT_EQ(model.objects[1].points, loaded[1].points);
    panel.onCommand(kToLeft);
    EXPECT_EQ(model.width, 3);
    EXPECT_EQ(model.height, 7);
    EXPECT_EQ(model.objects[0].points.front(), (VectorPoint{3, 7, 0}));
    EXPECT_EQ(window.text(kModelSize), "x:0.08mm y:0.17mm z:0.00mm");
    EXPECT_TRUE(host.boxes.empty());
}

TEST_F(PreviewTest, ResizeTruncatesAndAccumulates) {
    ASSERT_EQ(load("SP1;PU0,0;PD7,0;PD7,3;"), 1);
    panel.onCommand(kCalc);  // 100 %
    EXPECT_EQ(model.objects[0].points[1], (VectorPoint{7, 3, 0}));
    resize.scalePercent = 50;
    panel.onCommand(kCalc);
    EXPECT_EQ(model.objects[0].points[1], (VectorPoint{3, 1, 0}));
    EXPECT_EQ(model.width, 3);
    panel.onCommand(kCalc);
    EXPECT_EQ(model.width, 1);
}

TEST_F(PreviewTest, ScalePercentButtonsShowTheNewSize) {
    ASSERT_EQ(load("SP1;PU0,0;PD400,0;"), 1);
    panel.onCommand(kScaleUp);
    EXPECT_EQ(window.text(kScalePercent), "101 %");
    EXPECT_EQ(window.text(kNewWidth), "  10.10mm");
    resize.scalePercent = 1;
    panel.onCommand(kScaleDown);
    EXPECT_EQ(resize.scalePercent, 1);
    EXPECT_FALSE(panel.onCommand(1020));
}

TEST_F(PreviewTest, TransformsNeedALoadedDrawing) {
    panel.onCommand(kToLeft);
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].text, "At first, u must choose file hpgl!");
    EXPECT_TRUE(list.empty());
    panel.onCommand(kCalc);
    EXPECT_EQ(host.boxes.size(), 1u);
}

TEST_F(PreviewTest, LoadAsksForTheFileAndRemembersTheProducer) {
    host.files.push_back({true, dir.write("a.plt", "SP1;PU;PA0,0;PD;PA40,0;"), 3});
    panel.load();
    EXPECT_EQ(model.loaded, 1);
    EXPECT_EQ(model.sourceKind, kHpglSprint);
    EXPECT_FLOAT_EQ(main.scale, 250);
    EXPECT_EQ(host.fileDialogs[0][2].description, "Vector file HPGL SprintLayout(*.plt)");
    m.settings.language = 0;
    panel.load();  // cancelled: nothing changes
    EXPECT_EQ(model.loaded, 1);
    EXPECT_EQ(host.fileDialogs[1][0].description, "Vektorový soubor HPGL CorelDraw (*.plt)");
}

}  // namespace
}  // namespace korvex::test
