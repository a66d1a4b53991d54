#include "vector/hpgl_job_dialog.h"
#include "motion/job_frame.h"

#include "motion/rounding.h"
#include "tests/ui/view_driver.h"
#include "tests/vector/vector_fixture.h"

namespace korvex::test {
namespace {

using namespace hpgl_job;

struct DialogTest : VectorFixture {
    RecordingView view;
    VectorJobRepeat repeat;
    std::unique_ptr<HpglJobDialog> dialog;

    DialogTest() { SetOriginOverMaterial(m); }

    void open(const std::string& hpgl) {
        ASSERT_EQ(load(hpgl), 1);
        dialog = std::make_unique<HpglJobDialog>(model, repeat, m, view, host, [](int w, int h) {
            return std::make_unique<RecordingCanvas>(w, h);
        });
        dialog->onInit();
    }
    void type(int id, const std::string& text) { Type(view, *dialog, id, text); }
    // Shows pen-table index `layer` and sets its depth.
    void select(int layer, const char* depth = "1") {
        while (dialog->displayedLayer() < layer) dialog->onCommand(kNextLayer);
        while (dialog->displayedLayer() > layer) dialog->onCommand(kPreviousLayer);
        type(kDepth, depth);
    }
    std::vector<int32_t> order() const {
        return {model.cutOrder.slots.begin(), model.cutOrder.slots.begin() + model.cutOrder.count};
    }
    const std::string kThreePens = "SP1;PU0,0;PD40,0;SP2;PU0,40;PD40,40;SP3;PU0,80;PD40,80;";
};

TEST_F(DialogTest, OpeningFillsDefaultsOrdersTravelAndShowsTheModel) {
    // Objects 2, 3 and 4 start 5, 3 and 3 steps from the end of object 1.
    open("SP1;PU0,0;PD100,0;PU105,0;PD200,0;PU100,3;PD300,0;PU97,0;PD400,0;SP2;PU0,9;PD1,9;");
    EXPECT_EQ(model.pens[0].feed, m.settings.cuttingSpeed);
    EXPECT_EQ(model.pens[0].passDepth, m.settings.cutDepth);
    EXPECT_EQ(model.pens[0].objectOrder[1], 2);
    EXPECT_EQ(model.pens[1].travel, 0);  // a single object
    EXPECT_EQ(Texts(view, {kPenCount, kObjectCount, kPathLength, kLayerNumber, kFeed, kOrderCount}),
              "number of pens     2 | number of objects          5 | way length    0.00mm | 1/2 | "
              "   1.00mm/s | pens in sequence 0 z 2");
    EXPECT_EQ(view.text(kOrderList).substr(0, 25), "seq.nr.   1. - pen nr. 0\n");
    EXPECT_FALSE(view.isEnabled(kStart));
    EXPECT_EQ(view.text(kScrollPosition), "X 0/0, Y 0/0, M: 1");
    EXPECT_EQ(view.text(kRepeatSummary),
              "Počet objektů (number of objects) 1, velikost (size):10.00mm x0.23mm");
}

TEST_F(DialogTest, EnablingAppendsDisablingClosesTheGapAndLayersMoveInTheOrder) {
    open(kThreePens);
    for (int i = 0; i < 3; ++i) {
        select(i);
        dialog->onCommand(kEnabled);
    }
    EXPECT_EQ(order(), (std::vector<int32_t>{0, 1, 2}));
    EXPECT_TRUE(view.isEnabled(kStart));
    dialog->onCommand(kLayerDown);  // already last
    dialog->onCommand(kLayerUp);
    EXPECT_EQ(order(), (std::vector<int32_t>{0, 2, 1}));
    select(0);
    dialog->onCommand(kLayerUp);  // already first
    dialog->onCommand(kLayerDown);
    EXPECT_EQ(order(), (std::vector<int32_t>{2, 0, 1}));

    dialog->onCommand(kEnabled);  // index 0 off
    EXPECT_EQ(order(), (std::vector<int32_t>{2, 1}));
    EXPECT_EQ(model.cutOrder.slots[2], -1);
    EXPECT_EQ(view.text(kOrderCount), "pens in sequence 2 z 3");
    EXPECT_EQ(view.text(kOrderList).substr(0, 50),
              "seq.nr.   1. - pen nr. 3\nseq.nr.   2. - pen nr. 2\n");
    dialog->onCommand(kEnabled);  // on again: last
    EXPECT_EQ(order(), (std::vector<int32_t>{2, 1, 0}));
}

TEST_F(DialogTest, EditsApplyAsTyped) {
    open(kThreePens);
    type(kDepth, "0.5mm");
    EXPECT_EQ(model.pens[0].depth, 0.5f);
    EXPECT_EQ(model.objects[0].points[1].z, 20);  // 0.5 mm in 0.025 mm steps
    EXPECT_EQ(model.objects[1].points[0].z, 0);   // another layer
    type(kDepth, "-2");
    EXPECT_EQ(model.pens[0].depth, 0);
    type(kDepth, "0.8");
    type(kPassDepth, "-1");
    EXPECT_EQ(model.pens[0].passDepth, 0.8f);
    type(kPassDepth, "abc");
    EXPECT_EQ(model.pens[0].passDepth, 0);

    // The warning comes on the keystroke that exceeds the maximum.
    type(kFeed, "0.5");
    EXPECT_TRUE(host.boxes.empty());
    type(kFeed, "0.55");
    type(kFeed, "5");
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].title, "?");
    EXPECT_EQ(host.boxes[0].icon, Icon::Question);
    EXPECT_EQ(model.pens[0].feed, m.settings.cuttingSpeed);
    EXPECT_EQ(view.text(kFeed), "5");
    type(kFeed, "0.25");
    EXPECT_EQ(model.pens[0].feed, 0.25f);
    type(kFeed, "0");  // a cut that never ends is not a feed
    EXPECT_EQ(model.pens[0].feed, m.settings.cuttingSpeed);
    EXPECT_EQ(host.boxes.size(), 1u);
}

TEST_F(DialogTest, ReadyOnlyWithAnEnabledLayerAndNoZeroDepth) {
    open(kThreePens);
    select(0, "0");
    dialog->onCommand(kEnabled);
    EXPECT_FALSE(view.isEnabled(kStart));
    type(kDepth, "0.2");
    EXPECT_TRUE(view.isEnabled(kStart));
    select(1, "0");
    dialog->onCommand(kEnabled);
    EXPECT_FALSE(dialog->readyToCut());
    dialog->onCommand(kStart);
    EXPECT_FALSE(view.ended);
}

TEST_F(DialogTest, TableCheckRefusesOrWarnsByTheLimitsSwitch) {
    // 120 x 40 mm on a 100 x 100 mm table.
    open("SP1;PU0,0;PD4800,1600;");
    select(0, "1");
    dialog->onCommand(kEnabled);
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].title, "");
    EXPECT_EQ(host.boxes[0].icon, Icon::Information);
    EXPECT_EQ(host.boxes[0].text,
              " this model is greater then table of machine about dX:-20.00 dY:0.00 dZ:0.00 \n but "
              "you choose check limits, cutting aborted");
    EXPECT_EQ(model.pens[0].enabled, 0);
    EXPECT_FALSE(view.isChecked(kEnabled));
    EXPECT_EQ(model.cutOrder.count, 0);

    m.settings.softLimits = 0;
    m.position.plannedZ = MmToSteps(99.5, 0.025);
    dialog->onCommand(kEnabled);
    EXPECT_EQ(
        host.boxes.back().text,
        " this model is greater then table of machine about dX:-20.00 dY:0.00 dZ:-0.50 \n but "
        "you choose not check limits, image will be cropped");
    EXPECT_EQ(model.pens[0].enabled, 1);
    EXPECT_EQ(order(), std::vector<int32_t>{0});
}

TEST_F(DialogTest, RepeatSummaryAndPathLengthUnits) {
    open("SP1;PU0,0;PD400,0;");  // 10 mm wide
    type(kCountX, "3");
    type(kSpacing, "0.5");
    EXPECT_EQ(view.text(kRepeatSummary),
              "Počet objektů (number of objects) 3, velikost (size):30.00mm x0.00mm");
    type(kCountY, "0");
    EXPECT_EQ(repeat.countY, 1);
    type(kSpacing, "2");
    EXPECT_EQ(repeat.spacingXSteps, 80);
    EXPECT_EQ(view.text(kRepeatSummary),
              "Počet objektů (number of objects) 3, velikost (size):34.00mm x0.00mm");

    const std::pair<float, const char*> lengths[] = {{80, "way length   80.00mm"},
                                                     {150, "way length   15.00cm"},
                                                     {50000, "way length   50.00m"},
                                                     {150000, "way length    0.15km"}};
    for (const auto& [mm, text] : lengths) {
        model.pens[0].length = mm / 0.025f;
        model.pens[0].enabled = 0;
        dialog->onCommand(kEnabled);
        EXPECT_EQ(view.text(kPathLength), text);
    }
}

// A depth typed once the layer is on is checked again at the start; the
// missing origin is said once; a job larger than the free space is refused.
TEST_F(DialogTest, StartChecksTheDepthTypedAfterEnablingTheOriginAndTheFreeSpace) {
    open(kThreePens);
    select(0, "1");
    dialog->onCommand(kEnabled);
    type(kDepth, "1000");
    dialog->onCommand(kStart);
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].text.rfind(" this model is greater then table of machine", 0), 0u);
    type(kDepth, "1");
    m.position.relOriginSet = 0;
    dialog->onCommand(kStart);
    ASSERT_EQ(host.boxes.size(), 2u);
    EXPECT_EQ(host.boxes[1].text, "you must define relative point (startpoint)");
    EXPECT_EQ(m.buffer.queued(), 0);
    m.position.relOriginSet = 1;
    // One pass: travel, descend, plunge, cut, lift, return; the grid of one
    // copy moves nothing, and a job that fits the buffer exactly is taken.
    m.buffer.allocate(5);
    dialog->onCommand(kStart);
    EXPECT_FALSE(view.ended);
    EXPECT_EQ(list.back(), "Not enought space in buffer,more space plus 1 ");
    EXPECT_EQ(m.buffer.queued(), 0);
    m.buffer.allocate(6);
    dialog->onCommand(kStart);
    EXPECT_EQ(view.endResult, kResultCancel);
    EXPECT_EQ(m.buffer.queued(), 6);
}

TEST_F(DialogTest, ZoomAndScrollKeepPositionsWithinRange) {
    open(kThreePens);
    dialog->onCommand(kZoomOut);  // not below 1
    dialog->onCommand(kZoomIn);
    dialog->onCommand(kZoomIn);
    EXPECT_EQ(view.ranges[kHorizontalScroll], std::make_pair(0, 580));
    dialog->onScroll(kHorizontalScroll, kScrollBottom, 0);
    dialog->onScroll(kVerticalScroll, kScrollThumbTrack, 101);
    dialog->onCommand(kZoomOut);  // 3 to 2 halves both positions
    EXPECT_EQ(view.scroll[kHorizontalScroll], 290);
    EXPECT_EQ(view.scroll[kVerticalScroll], 50);
    EXPECT_EQ(view.text(kScrollPosition), "X 290/290, Y 50/290, M: 2");
    dialog->onCommand(kZoomOut);  // beyond the new range: 0
    EXPECT_EQ(view.scroll[kHorizontalScroll], 0);

    dialog->onCommand(kZoomIn);
    // Page Up goes back a page only from above 20.
    const std::pair<int, int> scrolls[] = {
        {kScrollLineUp, 0},     {kScrollPageDown, 20},  {kScrollPageUp, 20},
        {kScrollLineDown, 21},  {kScrollPageUp, 1},     {kScrollBottom, 290},
        {kScrollLineDown, 290}, {kScrollPageDown, 290}, {kScrollTop, 0}};
    for (const auto& [request, position] : scrolls) {
        dialog->onScroll(kVerticalScroll, request, 0);
        EXPECT_EQ(dialog->preview().vPos, position) << request;
    }
}

TEST_F(DialogTest, DirectionChangeReversesEveryObjectOfTheLayer) {
    open("SP1;PU0,0;PD40,0;PD40,40;SP2;PU0,80;PD40,80;");
    const auto before = model.objects;
    dialog->onCommand(kCounterClockwise);
    EXPECT_EQ(model.objects[0].points.front(), before[0].points.back());
    EXPECT_EQ(model.objects[1].points, before[1].points);
    EXPECT_TRUE(view.isChecked(kCounterClockwise));
    EXPECT_EQ(list.back(), "change of cutting direction has set");
    dialog->onCommand(kCounterClockwise);
    EXPECT_EQ(model.objects[0].points, before[0].points);
    EXPECT_EQ(model.pens[0].counterClockwise, 0);
}

}  // namespace
}  // namespace korvex::test
