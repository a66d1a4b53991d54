// The planned position (from which every later move is computed) against
// the executed one, over random sessions on the simulated machine with the
// soft limits on: moves within and beyond the travel, absolute go-tos,
// homing and probing with moves queued behind them, buffer resets and
// emergency stops in the middle of moves.

#include "motion/homing.h"
#include "motion/probing.h"
#include "tests/testkit/stopping_session.h"

namespace korvex {
namespace {

struct Session : test::StoppingSession {
    void move(int dx, int dy, int dz) { AppendCommand(m, dx, dy, dz, 200, pick(0, 1), 0, 0, 0, 0); }
    void expectPlannedIsExecuted(int step) {
        SCOPED_TRACE(step);
        StoppingSession::expectPlannedIsExecuted();
        if (p.resumeValid.load()) {
            EXPECT_EQ(p.resumeX.load(), p.absX.load()) << "a resume point is where the tool stands";
            EXPECT_EQ(p.resumeZ.load(), p.absZ.load());
        }
    }
};

TEST_F(Session, PlannedEqualsExecutedAfterEveryStep) {
    HomeAllAxes(m);
    ASSERT_TRUE(r.waitUntilDrained());
    ScriptedHost host;  // answers the probe's question with OK
    for (int step = 0; step < 250 && !HasFailure(); ++step) {
        m.gate.suspend();  // what one step queues runs as one
        for (int n = pick(1, 4); n > 0; --n) {
            switch (pick(0, 9)) {
                case 0:
                    HomeAllAxes(m);
                    break;
                case 1:
                    r.sim().placeProbe(true);
                    ProbeToolLength(m, host);
                    break;
                case 2:  // a probing descent at a feed
                    r.sim().placeProbe(true);
                    AppendCommand(m, 0, 0, pick(1, 1200), 200, 0, 0, 1, 0, 0);
                    break;
                case 3:  // to an absolute place, within the travel or past it
                    move(pick(-100, 1100) - p.plannedX.load(), pick(-100, 1100) - p.plannedY.load(),
                         pick(-100, 1100) - p.plannedZ.load());
                    break;
                default:
                    move(pick(-1200, 1200), pick(-1, 1) * pick(0, 1200),
                         pick(-1, 1) * pick(0, 600));
            }
        }
        if (m.buffer.queued() > 0) {
            EXPECT_EQ(p.resumeValid.load(), 0) << "dropped by an append";
        }
        const int event = pick(0, 5);
        if (event == 0) resetAt = ticks + pick(1, 1500);
        if (event == 1) stopAt = ticks + pick(1, 1500);
        m.gate.resume();
        runToRest();
        resetAt = stopAt = -1;
        expectPlannedIsExecuted(step);
    }
    EXPECT_GT(reports.listed("soft limits shortened"), 0);
}

// A move beyond the travel is shortened when it is queued, reported once
// per move outside a job and once per job inside one.
TEST_F(Session, MovesBeyondTheTravelAreShortenedWhenQueued) {
    HomeAllAxes(m);
    runToRest();
    EXPECT_EQ(AppendCommand(m, -5, 0, 0, 200, 0, 0, 0, 0, 0), kZeroMove);
    move(1200, 0, 0);
    EXPECT_EQ(p.plannedX, 1000);
    EXPECT_EQ(reports.listed("shortened"), 2) << "one line for each move";
    {
        JobScope job(m);
        move(0, 0, 1300);
        move(0, 0, -1300);
        move(0, 0, -100);
    }
    EXPECT_EQ(reports.listed("by: Z 70.000 mm"), 1) << "300 + 300 + 100 steps in one line";
    runToRest();
    expectPlannedIsExecuted(0);
    EXPECT_EQ(reports.listed("dropped steps"), 0) << "shortened when queued, not when run";
    EXPECT_EQ(r.sim().position(0), 1000);
    EXPECT_EQ(r.sim().position(2), 0);
}

}  // namespace
}  // namespace korvex
