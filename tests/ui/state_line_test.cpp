#include "ui/state_line.h"

#include <gtest/gtest.h>

#include "motion/machine.h"
#include "tests/ui/recording_window.h"
#include "ui/window_view.h"

namespace korvex {
namespace {

// A job whose moves the soft limits shortened says so while it runs, and
// the next job starts clean; the relief runs without the buffer. The
// executor does not run: moves stay queued.
using StateLineTest = test::ControllerTest;

TEST_F(StateLineTest, AJobTheSoftLimitsShortenSaysSoWhileItRuns) {
    Machine& m = c.machine;
    m.settings.language = 1;
    m.settings.softLimits = 1;
    m.buffer.allocate(100);
    StateLine line(c);
    auto job = [&](int32_t dx) {
        c.track.arm(JobName(DialogKind::HpglJob));
        AppendCommand(m, dx, 0, 0, 500, 0, 0, 0, 0, 0);
        const std::string running = line.text();
        c.track.disarm();
        m.buffer.reset();
        line.update();
        return running;
    };
    EXPECT_EQ(job(100).rfind("Running job: HPGL — ", 0), 0u);
    EXPECT_EQ(job(100000000).rfind("Soft-limit clip: HPGL job — ", 0), 0u) << "past the travel";
    EXPECT_EQ(job(-100).rfind("Running job: HPGL — ", 0), 0u) << "back from the travel's end";
    EXPECT_EQ(line.text().rfind("Idle — HPGL job finished in ", 0), 0u);
    c.relief.running = 1;  // carved past the buffer
    EXPECT_EQ(line.text(), "Running job: relief");
}

}  // namespace
}  // namespace korvex
