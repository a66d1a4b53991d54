// Jobs following a warped board on the simulated machine: probed on a grid,
// then cut 0.1 mm deep, watched tick by tick as the executor runs them.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <cmath>
#include <thread>

#include "gcode/gcode_import.h"
#include "motion/executor.h"
#include "motion/grid_probe.h"
#include "motion/job_frame.h"
#include "motion/job_sink.h"
#include "motion/motion_rig.h"
#include "motion/port.h"
#include "platform/headless.h"
#include "tests/testkit/reporting_machine.h"
#include "tests/testkit/temp_dir.h"
#include "vector/hpgl_reader.h"
#include "vector/vector_job.h"

namespace korvex::test {
namespace {

using ::testing::ElementsAre;
using ::testing::StartsWith;

constexpr SimSurface kWarped{1.0, 0.5, 0.3};
constexpr int64_t kDepthSteps = 10;  // 0.1 mm
const GridProbeSettings kGrid{0, 0, 60, 40, 6, 5, 2, 2, 2};

MachineSettings Settings() {
    MachineSettings s = FactorySettings();
    s.language = 1;
    s.mmPerStepX = s.mmPerStepY = s.mmPerStepZ = 0.01f;
    // The machine starts mid-travel: room for the board on its far side.
    s.travelX = s.travelY = 200;
    s.hpglUnitsPerInch = 1016;
    s.cuttingSpeed = 5;
    s.safeHeight = 2;
    return s;
}

void Pause() {
    std::this_thread::sleep_for(std::chrono::microseconds(200));
}

struct SurfaceFollowTest : ::testing::Test, Reports {
    TempDir dir;
    SimulatedRig rig{Settings(), 100000, kWarped};
    Machine& m = rig.machine;
    const int32_t flatSurface = SimConfigFromSettings(m.settings).probeSurfaceZ;
    // Moves pushed; the executor runs them as they come, so what is still
    // queued says nothing about what was counted.
    int64_t appended = 0;

    SurfaceFollowTest() {
        attach(m);
        m.buffer.addAppendObserver([this](const MotionCommand&) { ++appended; });
        SetOriginOverMaterial(m);
    }

    // Probes the grid, then takes the tool back over the relative origin.
    std::shared_ptr<const HeightMap> probe() {
        GridProbe probe(m);
        EXPECT_TRUE(probe.start(kGrid));
        while (probe.running()) probe.step(), Pause();
        EXPECT_EQ(probe.state(), GridProbe::State::kDone);
        const MachinePosition& p = m.position;
        AppendCommand(m, p.relOriginX.load() - p.plannedX.load(),
                      p.relOriginY.load() - p.plannedY.load(), 0, 100, 1, 0, 0, 0, 0);
        rig.waitUntilDrained();
        auto map = std::make_shared<HeightMap>();
        std::string message;
        EXPECT_TRUE(SaveHeightMap(dir.file("board.hmap"), probe.map(), 1, message));
        EXPECT_TRUE(LoadHeightMap(dir.file("board.hmap"), *map, 1, message));
        return map;
    }

    // Z steps the tool tip stands below the simulated surface.
    int64_t depth() {
        const MachineSettings& s = m.settings;
        const double rise =
            SimSurfaceHeight(kWarped, m.position.absX.load() * double{s.mmPerStepX},
                             m.position.absY.load() * double{s.mmPerStepY}, s.travelX);
        return rig.sim().position(2) - (flatSurface - std::lround(rise / s.mmPerStepZ));
    }

    struct Watch {
        int64_t cuttingTicks = 0, worstMiss = 0, deepest = INT64_MIN;
    };
    // Starts a job and runs it, fed by `feed`, watching every tick: the
    // worst miss of the asked depth while cutting along, the deepest point.
    // The observer is set before the job starts: the executor reads it.
    Watch run(const std::function<bool()>& start, const std::function<void()>& feed) {
        Watch w;
        rig.rig.executor().setTickObserver([&](const Tick& t) {
            const int64_t d = depth();
            w.deepest = std::max(w.deepest, d);
            if ((t.stepX || t.stepY) && !m.buffer.entry(0).accelerated) {
                ++w.cuttingTicks;
                w.worstMiss = std::max<int64_t>(w.worstMiss, std::llabs(d - kDepthSteps));
            }
        });
        EXPECT_TRUE(start());
        do {
            WaitUntilDrained(m, [&] { return feed(), false; });
            feed();
        } while (m.buffer.queued() > 0);
        rig.waitUntilDrained();
        rig.rig.executor().setTickObserver({});
        return w;
    }

    // Cut with the probed map the job keeps its depth; cut flat it misses.
    void expectFollowed(std::shared_ptr<const HeightMap> map, const std::function<bool()>& start,
                        const std::function<void()>& feed) {
        m.surfaceMap = std::move(map);
        const Watch bent = run(start, feed);
        m.surfaceMap.reset();
        const Watch flat = run(start, feed);
        EXPECT_GT(bent.cuttingTicks, 10000);
        EXPECT_LE(bent.worstMiss, 2) << "within two Z steps of the asked depth";
        EXPECT_LE(bent.deepest, kDepthSteps + 2);
        EXPECT_GT(flat.worstMiss, 50) << "a flat cut misses by more than 0.5 mm";
        EXPECT_TRUE(host.boxes.empty());
    }

    // A 0.1 mm deep isolation drawing over most of the board.
    VectorModel isolation() {
        VectorModel model;
        EXPECT_EQ(LoadVectorFile(model,
                                 dir.write("board.plt",
                                           "IN;SP1;PU80,80;PD2320,80;PD2320,1520;PD80,1520;"
                                           "PD80,80;PD2320,1520;PU400,1200;PD1800,300;SP0;"),
                                 kHpglCorel, m.settings, m.log, host),
                  1);
        model.pens[0].depth = model.pens[0].passDepth = 0.1f;
        model.pens[0].feed = 5;
        model.cutOrder.slots[0] = 0;
        model.cutOrder.count = 1;
        return model;
    }
    bool queue(const VectorModel& model) {
        return QueueJob(m, [&](bool countOnly) {
            appended = 0;
            const int64_t n = generateVectorJob(m, model, VectorJobRepeat{}, countOnly);
            if (!countOnly) {
                EXPECT_EQ(n, appended) << "counting equals queueing";
            }
            return n;
        });
    }
};

TEST_F(SurfaceFollowTest, HpglIsolationKeepsItsDepthOverTheWarpedBoard) {
    const auto map = probe();
    const VectorModel model = isolation();
    expectFollowed(
        map, [&] { return queue(model); }, [] {});
}

// A map that lowers the board below the Z travel, or raises it so high that
// the safe height above it leaves the travel, refuses either job before
// anything is queued: the soft limits would cut the moves short.
TEST_F(SurfaceFollowTest, AMapThatDoesNotFitRefusesTheJobBeforeAnythingIsQueued) {
    auto map = std::make_shared<HeightMap>(*probe());
    m.surfaceMap = map;
    const VectorModel model = isolation();
    GcodeImport gcode(m);
    ASSERT_TRUE(gcode.load(dir.write("cut.nc", "G0 Z2\nG1 X10 Z-0.1 F300\nG0 Z2\n")));
    for (const double shift : {-200.0, 200.0}) {
        for (double& h : map->heights) h += shift;
        EXPECT_FALSE(queue(model)) << shift;
        EXPECT_FALSE(gcode.start()) << shift;
        for (double& h : map->heights) h -= shift;
    }
    // Nor does a map that does not cover the job, or was probed for another origin.
    ASSERT_TRUE(gcode.load(dir.write("wide.nc", "G0 Z2\nG1 X70 Z-0.1 F300\nG0 Z2\n")));
    EXPECT_FALSE(gcode.start());
    map->relativeOriginX += 1;
    EXPECT_FALSE(queue(model));
    map->relativeOriginX -= 1;
    EXPECT_EQ(m.buffer.queued(), 0);
    const auto leaves = StartsWith(" this program leaves the machine's travel by");
    EXPECT_THAT(
        boxTexts(),
        ElementsAre(StartsWith("The depth of 0.100 mm below the surface leaves"), leaves,
                    StartsWith("The safe height of 2.000 mm above the material"), leaves,
                    "The height map (X 0.000 to 60.000, Y 0.000 to 40.000 mm) does not cover "
                    "the job (X 0.000 to 70.000, Y 0.000 to 0.000 mm): the job was not started",
                    "The height map was probed for the relative origin X 1.000 Y 0.000 mm, it "
                    "is now X 0.000 Y 0.000 mm: the job was not started"));
    EXPECT_TRUE(queue(model)) << "the map as probed fits";
}

TEST_F(SurfaceFollowTest, GcodeIsolationKeepsItsDepthOverTheWarpedBoard) {
    const auto map = probe();
    GcodeImport gcode(m);
    ASSERT_TRUE(gcode.load(dir.write("board.nc",
                                     "G21 G90\nM3 S10000\nG0 Z2\nG0 X2 Y2\nG1 Z-0.1 F120\n"
                                     "G1 X58 F300\nG1 Y38\nG1 X2\nG1 Y2\nG1 X58 Y38\n"
                                     "G2 X38 Y18 R20\nG0 Z2\nG0 X0 Y0\nM5\nM2\n")));
    expectFollowed(
        map, [&] { return gcode.start(); }, [&] { gcode.feed(); });
}

TEST_F(SurfaceFollowTest, EmergencyStopMidGridEndsTheRunWithNothingLeftToMove) {
    const MachinePosition& p = m.position;
    auto origin = [&p] { return std::pair{p.relOriginX.load(), p.relOriginY.load()}; };
    const auto originBefore = origin();
    GridProbe probe(m);
    ASSERT_TRUE(probe.start(kGrid));
    while (probe.running() && probe.pointsDone() < 12) probe.step(), Pause();
    rig.sim().pressEmergency(true);
    // The executor's own tick sees the input before its pulse; between two
    // points the status read does.
    WaitUntilDrained(m, [&] { return m.signals.estopActive.load() != 0; });
    ReadInputs(m);
    while (probe.running()) probe.step(), Pause();
    EXPECT_EQ(probe.state(), GridProbe::State::kStopped);

    const Steps3 stoppedAt = Executed(m);
    rig.sim().pressEmergency(false);
    ReadInputs(m);
    ASSERT_EQ(ReleaseEmergencyStop(m), 1);
    rig.waitUntilDrained();
    EXPECT_EQ(m.buffer.queued(), 0);
    EXPECT_EQ(Executed(m), stoppedAt) << "nothing of the run moves after the release";
    EXPECT_EQ(Planned(m)[2], stoppedAt[2]);
    EXPECT_EQ(origin(), originBefore);
}

TEST(GridProbeTest, AnAreaOffTheTravelOrAPointOutOfReachEndsTheRunNamingIt) {
    ScriptedHost host;
    SimulatedRig rig{Settings(), 1000, SimSurface{-1, 0, 0}};
    Machine& m = rig.machine;
    m.log.setHost(&host);
    GridProbe probe(m);
    GridProbeSettings grid = kGrid;
    grid.y0 = -1;  // the machine stands at its Y zero
    EXPECT_FALSE(probe.start(grid));
    grid.y0 = 0;
    grid.depth = 0.2;  // the board falls 0.12 mm to the second column, 0.24 to the third
    ASSERT_TRUE(probe.start(grid));
    while (probe.running()) probe.step(), Pause();
    EXPECT_EQ(probe.state(), GridProbe::State::kFailed);
    EXPECT_EQ(probe.pointsDone(), 3);
    ASSERT_EQ(host.boxes.size(), 2u);
    EXPECT_EQ(host.boxes[0].text, "The height map's area leaves the Y axis's travel");
    EXPECT_EQ(host.boxes[1].text,
              "The probe did not touch the surface at column 3, row 1 (X 24.000 Y 0.000 mm) "
              "within 0.200 mm: height map probing ended");
    EXPECT_EQ(m.position.relOriginSet.load(), 0) << "the relative origin as it was";
}

}  // namespace
}  // namespace korvex::test
