#include "vector/vector_preview.h"
#include "tests/vector/vector_fixture.h"

namespace korvex::test {
namespace {

std::unique_ptr<Canvas> MakeCanvas(int w, int h) {
    return std::make_unique<RecordingCanvas>(w, h);
}

const std::vector<std::string>& Calls(const std::unique_ptr<Canvas>& image) {
    return dynamic_cast<RecordingCanvas&>(*image).calls;
}

struct PreviewTest : VectorFixture {
    RecordingView window;
    MainPreview main;
};

TEST_F(PreviewTest, MainPreviewFitsTheLargerSide) {
    ASSERT_EQ(load("SP1;PU0,0;PD400,0;PD400,200;"), 1);  // 10 x 5 mm
    computeMainPreviewScale(main, model, m.settings);
    EXPECT_FLOAT_EQ(main.scale, 25);
    RecordingCanvas area(250, 250);
    EXPECT_TRUE(drawMainPreview(main, model, m.settings, area, MakeCanvas));
    EXPECT_EQ(Calls(main.image),
              (std::vector<std::string>{"clear ffffffff", "line 0 125 250 125 ff00007f 1",
                                        "line 250 125 250 0 ff00007f 1"}));
    EXPECT_EQ(area.calls, std::vector<std::string>{"blit 0 0 0 0 250 250"});
    // The cached picture is drawn again as it is.
    EXPECT_TRUE(drawMainPreview(main, model, m.settings, area, MakeCanvas));
    EXPECT_EQ(Calls(main.image).size(), 3u);

    ASSERT_EQ(load("SP1;PU0,0;PD0,200;"), 1);  // no width: scaled by the height
    computeMainPreviewScale(main, model, m.settings);
    EXPECT_FLOAT_EQ(main.scale, 50);
    model.loaded = 0;
    main.image.reset();
    EXPECT_FALSE(drawMainPreview(main, model, m.settings, area, MakeCanvas));
    EXPECT_EQ(main.image, nullptr);
}

// 10 x 10 mm at 25 pixels per mm: one step (0.025 mm) is 0.625 pixels.
TEST_F(PreviewTest, PreviewPixelRoundsHalfAwayAndKeepsTheFarEdgeInside) {
    ASSERT_EQ(load("SP1;PU0,0;PD400,400;"), 1);
    computeMainPreviewScale(main, model, m.settings);
    EXPECT_EQ(mainPreviewPixel(main, m.settings, 0, 0), std::nullopt) << "no picture yet";
    RecordingCanvas area(250, 250);
    drawMainPreview(main, model, m.settings, area, MakeCanvas);

    auto at = [this](int32_t dx, int32_t dy) {
        const auto p = mainPreviewPixel(main, m.settings, dx, dy);
        return p ? std::make_pair(p->x, p->y) : std::make_pair(-100, -100);
    };
    EXPECT_EQ(at(0, 0), std::make_pair(0, 0));
    EXPECT_EQ(at(4, 3), std::make_pair(3, 2));          // 2.5 and 1.875 pixels
    EXPECT_EQ(at(400, 400), std::make_pair(249, 249));  // 250 is the last pixel
    EXPECT_EQ(at(399, 1), std::make_pair(249, 1));      // 249.375
    EXPECT_EQ(at(401, 0), std::make_pair(-100, -100)) << "250.6 rounds beyond the edge";
    EXPECT_EQ(at(-1, 0), std::make_pair(-100, -100)) << "-0.625 rounds to -1";
    EXPECT_EQ(at(0, -2000000000), std::make_pair(-100, -100));
    EXPECT_EQ(at(2000000000, 0), std::make_pair(-100, -100));
}

TEST_F(PreviewTest, JobPreviewShowsDirectionStartAndOrder) {
    // The second object stays within 5 pixels of its start.
    ASSERT_EQ(load("SP1;PU0,0;PD400,0;PD400,200;PU0,0;PD5,5;"), 1);
    JobPreview preview;
    drawJobPreview(preview, model, m.settings, 0, window, MakeCanvas);
    EXPECT_EQ(window.ranges[kJobPreviewHScroll], std::make_pair(0, 0));
    // 280 pixels for 10 mm, from a 5-pixel margin: the first object's
    // arrow, then each object's start ring with its place in the order.
    const std::vector<std::string>& calls = Calls(preview.image);
    ASSERT_EQ(calls.size(), 10u);
    EXPECT_EQ(calls[4], "arrow 5 145 285 145 ff0000ff 2");
    EXPECT_EQ(calls[7], "text 5 145 10 ff0000ff 0");
    EXPECT_EQ(calls[9], "text 5 145 10 ff0000ff 1");
    EXPECT_EQ(window.canvases[0].calls.back(), "blit 15 110 0 0 290 290");

    // Reversed, the arrow starts at the other end.
    auto& points = model.objects[0].points;
    std::reverse(points.begin(), points.end());
    preview.image.reset();
    drawJobPreview(preview, model, m.settings, 0, window, MakeCanvas);
    EXPECT_EQ(Calls(preview.image)[4], "arrow 285 5 285 145 ff0000ff 2");
}

}  // namespace
}  // namespace korvex::test
