#include "ui/toolpath_view.h"

#include <gtest/gtest.h>

#include "motion/machine.h"
#include "platform/qimage_canvas.h"
#include "tests/ui/recording_window.h"

namespace korvex {
namespace {

// A program fed piece by piece: moves queued after part of the path has run
// are drawn under its trace, as a whole redraw draws them. The executor does
// not run; the test removes the moves it calls run.
using ToolpathViewTest = test::ControllerTest;

TEST_F(ToolpathViewTest, MovesFedAfterThePathRanStayUnderItsTrace) {
    Machine& m = c.machine;
    m.buffer.allocate(100);
    c.track.arm({"G-kód", "G-code"});
    const auto cut = [&](int32_t dx, int32_t dy) {
        AppendCommand(m, dx, dy, 0, 500, 0, 0, 0, 0, 0);
    };
    // A square, run...
    for (const auto& [dx, dy] : {std::pair{1000, 0}, {0, 1000}, {-1000, 0}, {0, -1000}})
        cut(dx, dy);
    for (int i = 0; i < 4; ++i) m.buffer.removeFront();
    auto fed = MakeQImageCanvas(200, 200), whole = MakeQImageCanvas(200, 200);
    ToolpathView asFed(c.pictures);
    ASSERT_TRUE(asFed.draw(*fed, c.track, m.settings, m.position));
    // ...then a move along its bottom edge and on to the far corner, fed later.
    cut(500, 0);
    cut(500, 1000);
    ASSERT_TRUE(asFed.draw(*fed, c.track, m.settings, m.position));
    ToolpathView redrawn(c.pictures);
    ASSERT_TRUE(redrawn.draw(*whole, c.track, m.settings, m.position));
    int traced = 0;
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 200; ++x) {
            ASSERT_EQ(fed->pixel(x, y), whole->pixel(x, y)) << x << "," << y;
            traced += fed->pixel(x, y) == 0xFFE8590Cu;
        }
    EXPECT_GT(traced, 4 * 150) << "the square is traced all round";
}

}  // namespace
}  // namespace korvex
