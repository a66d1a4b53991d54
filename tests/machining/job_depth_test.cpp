// Jobs on the simulated machine with the soft limits on, in random sessions
// of jobs, jogs, new origins, the tool put on the surface, buffer resets and
// emergency stops: no job cuts deeper below the surface than it asks, one
// that runs to its end reaches that depth, one whose levels do not fit the Z
// travel is refused before anything moves, and once the machine rests the
// planned position is the executed one.

#include "drilling/drill_holes.h"
#include "machining/separation.h"
#include "machining/surface_milling.h"
#include "motion/homing.h"
#include "motion/rounding.h"
#include "tests/testkit/stopping_session.h"
#include "tests/testkit/temp_dir.h"
#include "vector/hpgl_reader.h"
#include "vector/vector_job.h"

namespace korvex {
namespace {

constexpr int32_t kTravel = 1000, kSafe = 50;  // factory settings, steps

struct JobSession : test::StoppingSession {
    test::TempDir dir;
    VectorModel drawing;
    DrillSet drills;
    JobValues values{5, 10};

    JobSession() {
        const std::string square = "SP1;PU0,0;PD400,0;PD400,400;PD0,400;PD0,0;";
        EXPECT_EQ(LoadVectorFile(drawing, dir.write("square.plt", square), kHpglCorel, m.settings,
                                 m.log, reports.host),
                  1);
        drawing.cutOrder.slots[0] = 0;
        drawing.cutOrder.count = 1;
        drills.toolCount = 1;
        drills.tools[0].holeCount = 3;
        drills.holes = {{0, 10, 10}, {0, 200, 40}, {0, 60, 150}};
        drills.holeCount = 3;
    }

    // A job of a random kind cutting `depth` steps below the surface.
    void queueJob(int32_t depth) {
        switch (pick(0, 3)) {
            case 0: {
                PenLayer& layer = drawing.pens[0];
                layer.depth = static_cast<float>(depth * 0.1);
                layer.passDepth = static_cast<float>(pick(10, 60) * 0.1);
                layer.oneWay = pick(0, 1);
                VectorJobRepeat repeat;
                repeat.countX = pick(1, 2);
                generateVectorJob(m, drawing, repeat, 0);
                break;
            }
            case 1:
                drills.tools[0].depth = depth;
                drillHoles(m, drills, 0);
                break;
            case 2: {
                const SurfaceMillingJob job{pick(0, 60), pick(0, 60), depth, pick(10, 30),
                                            pick(10, 30)};
                GenerateSurfaceMilling(m, job, values, false,
                                       static_cast<SurfaceStyle>(pick(1, 3)));
                break;
            }
            default: {
                const SeparationJob job{SeparationShape::Rectangle, depth, pick(1, 80),
                                        pick(1, 80)};
                GenerateSeparation(m, job, values, CircleTable{}, false);
            }
        }
    }
};

TEST_F(JobSession, CutsReachTheAskedDepthAndNeverBelowIt) {
    HomeAllAxes(m);
    ASSERT_TRUE(r.waitUntilDrained());
    int jobs = 0, refused = 0;
    for (int step = 0; step < 200 && !HasFailure(); ++step) {
        SCOPED_TRACE(step);
        m.gate.suspend();  // what one step queues runs as one
        const int kind = pick(0, 5);
        if (kind == 0) {  // a new origin, its surface anywhere in Z
            p.relOriginX = pick(0, 600);
            p.relOriginY = pick(0, 600);
            p.relOriginZ = pick(0, kTravel);
            p.relOriginSet = 1;
        } else if (kind == 1) {  // the tool put on the surface
            AppendCommand(m, p.relOriginX - p.plannedX, p.relOriginY - p.plannedY,
                          p.relOriginZ - p.plannedZ, 200, 1, 0, 0, 0, 0);
        } else if (kind == 2) {
            AppendCommand(m, pick(-300, 300), pick(-300, 300), pick(-600, 600), 200, pick(0, 1), 0,
                          0, 0, 0);
        }
        const int32_t surface = p.relOriginZ, depth = pick(1, 300);
        const bool job = kind > 2 && p.relOriginSet;
        if (job) {
            const bool fits = surface >= kSafe && surface + depth <= kTravel;
            const int32_t plannedBefore = p.plannedZ;
            queueJob(depth);
            const bool queued = m.buffer.queued() > 0;
            EXPECT_EQ(queued, fits) << "surface " << surface << ", depth " << depth;
            EXPECT_TRUE(queued || p.plannedZ == plannedBefore);
            (queued ? jobs : refused)++;
            const int event = pick(0, 5);
            if (event == 0) resetAt = ticks + pick(1, 3000);
            if (event == 1) stopAt = ticks + pick(1, 3000);
        }
        deepestFeed = INT32_MIN;
        interrupted = false;
        m.gate.resume();
        runToRest();
        resetAt = stopAt = -1;
        if (job && deepestFeed != INT32_MIN) {
            EXPECT_LE(deepestFeed, surface + depth + 1) << "never deeper than asked";
            if (!interrupted) {
                EXPECT_GE(deepestFeed, surface + depth - 1) << "the asked depth reached";
            }
        }
        expectPlannedIsExecuted();
    }
    EXPECT_GT(jobs, 20);
    EXPECT_GT(refused, 5);
}

// The stop holds the tool in the material, the buffer is reset and a job is
// started before the release: it is planned from where the tool stands, not
// from where the abandoned moves would have ended.
TEST_F(JobSession, AJobStartedWhileAResetWaitsForTheReleaseCutsAsAsked) {
    HomeAllAxes(m);
    ASSERT_TRUE(r.waitUntilDrained());
    p.relOriginX = p.relOriginY = 300;
    p.relOriginZ = 500;
    p.relOriginSet = 1;
    AppendCommand(m, 300, 300, 450, 200, 1, 0, 0, 0, 0);  // over the material
    ASSERT_TRUE(r.waitUntilDrained());
    stopAt = ticks + 250;
    AppendCommand(m, 0, 0, 300, 200, 1, 0, 0, 0, 0);   // 250 steps into it...
    AppendCommand(m, 0, 0, -300, 200, 1, 0, 0, 0, 0);  // ...planned back out
    ASSERT_FALSE(WaitUntilDrained(m, [&] { return m.gate.count() > 0; }));
    stopAt = -1;
    ASSERT_GT(p.absZ.load(), 500) << "held in the material";
    RequestBufferReset(m);
    GenerateSeparation(m, SeparationJob{SeparationShape::Rectangle, 20, 40, 40}, values,
                       CircleTable{}, false);
    deepestFeed = INT32_MIN;
    r.sim().pressEmergency(false);
    ASSERT_EQ(ReleaseEmergencyStop(m), 1);
    ASSERT_TRUE(r.waitUntilDrained());
    EXPECT_EQ(deepestFeed, 500 + 20) << "the asked depth below the surface, no deeper";
    EXPECT_EQ(p.plannedZ, p.absZ);
}

}  // namespace
}  // namespace korvex
