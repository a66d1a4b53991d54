#include <gtest/gtest.h>

#include <functional>
#include <tuple>

#include "drilling/drill_holes.h"
#include "gcode/gcode_program.h"
#include "gcode/gcode_writer.h"
#include "machining/separation.h"
#include "machining/surface_milling.h"
#include "motion/rounding.h"
#include "tests/gcode/gcode_fixture.h"
#include "vector/hpgl_reader.h"
#include "vector/vector_job.h"

namespace korvex::test {
namespace {

// A move's distances, whether it is a rapid, and its stop.
auto Motion(const MotionCommand& c) {
    return std::tuple{c.dx, c.dy, c.dz, c.accelerated, c.stopAfter};
}

// Every job written out and read back reaches the same position after every
// move, to the step, with the same dwell, stop and spindle flags. Steps of
// unlike sizes make the rounding of each axis count.
struct RoundTrip : GcodeFixture {
    RoundTrip() {
        m.settings.mmPerStepX = 0.0125f;
        m.settings.mmPerStepY = 0.00635f;
        m.settings.mmPerStepZ = 0.003f;
        m.settings.travelX = m.settings.travelY = m.settings.travelZ = 1000;
        m.buffer.allocate(200000);
        // The tool waits at safe height over the surface, where every job starts.
        const int32_t safe = MmToSteps(m.settings.safeHeight, m.settings.mmPerStepZ);
        setOrigin(5000, 5000, 2 * safe);
        m.position.plannedZ = safe;
    }

    // In the laser/pen mode the tool flags come back as they were; without
    // it the spindle turns from before the first move below the safe height
    // to the end, so that no feed below the surface meets a still cutter.
    void expectRoundTrip() {
        const std::vector<MotionCommand> job = queued();
        ASSERT_FALSE(job.empty());
        for (int laser : {1, 0}) {
            SCOPED_TRACE(laser ? "laser/pen mode" : "spindle");
            m.settings.laserPenMode = laser;
            GcodeWriter writer(m.settings);
            std::string program = writer.header("test job");
            for (const MotionCommand& c : job) program += writer.move(c);
            program += writer.footer();
            const int32_t safe = MmToSteps(m.settings.safeHeight, m.settings.mmPerStepZ);
            const GcodeRead read = ReadGcode(program, m.settings, {0, 0, -safe});
            ASSERT_TRUE(read.program) << RefusalMessage(1, read.refusal);
            const std::vector<MotionCommand>& back = read.program->moves;
            ASSERT_EQ(back.size(), job.size());
            int64_t z = -safe;  // steps below the surface
            for (size_t i = 0; i < job.size(); ++i) {
                SCOPED_TRACE(i);
                EXPECT_EQ(Motion(back[i]), Motion(job[i]));
                // The feed comes back within the rounding of the period.
                if (!job[i].accelerated) {
                    EXPECT_NEAR(back[i].periodUs, job[i].periodUs, 1);
                }
                const bool below = z > 0 || z + job[i].dz > 0;
                z += job[i].dz;
                if (laser) {
                    EXPECT_EQ(back[i].spindleOn, job[i].spindleOn);
                    EXPECT_EQ(back[i].dwellAfter, job[i].dwellAfter);
                    continue;
                }
                if (below && !job[i].accelerated) {
                    EXPECT_EQ(back[i].spindleOn, 1);
                }
                const bool startsNext =
                    i + 1 < job.size() && !back[i].spindleOn && back[i + 1].spindleOn;
                EXPECT_EQ(back[i].dwellAfter, job[i].dwellAfter || startsNext);
                if (i > 0) {
                    EXPECT_GE(back[i].spindleOn, back[i - 1].spindleOn) << "stopped mid-job";
                }
            }
            if (!laser) {
                EXPECT_TRUE(program.ends_with("M5\nM2\n"));
            }
        }
    }
};

// Every kind of job counts what it then queues, ends where it started and
// round-trips.
TEST_F(RoundTrip, EveryJob) {
    CircleTable circle;
    Text failure{};
    ASSERT_NE(BuildSeparationCircle(circle, 3001, failure), 0);
    m.settings.hpglUnitsPerInch = 1016;
    VectorModel model;
    const std::string path =
        dir.write("d.plt",
                  "IN;SP1;PU0,0;PD400,0,400,300,0,300,0,0;PU1000,1000;PD1333,1777;SP2;PU9,9;"
                  "PD50,70;PD90,9;");
    ASSERT_EQ(LoadVectorFile(model, path, kHpglCorel, m.settings, m.log, host), 1);
    model.pens[0].depth = 1.7f;
    model.pens[0].passDepth = 0.6f;
    model.pens[1].depth = 0.9f;
    model.pens[1].passDepth = 0.4f;
    model.cutOrder.slots[0] = 1;
    model.cutOrder.slots[1] = 0;
    model.cutOrder.count = 2;
    VectorJobRepeat repeat;
    repeat.countX = 2;
    repeat.countY = 3;
    SetRepeatSpacing(repeat, 5, m.settings);
    DrillSet set;
    set.toolCount = 1;
    set.tools[0] = {1.0f, 777, 1, 3};
    set.holes = {{0, 100, 200}, {0, 5001, 3}, {0, -7, 12345}};
    set.holeCount = 3;

    // Each job queued or, with `countOnly`, counted: its count (-1 for drilling, which has none).
    std::vector<std::pair<const char*, std::function<int64_t(bool)>>> jobs;
    for (SurfaceStyle style :
         {SurfaceStyle::StrokesAlongX, SurfaceStyle::StrokesAlongY, SurfaceStyle::Spiral})
        jobs.push_back({"surface", [&, style](bool countOnly) {
                            return GenerateSurfaceMilling(m, {4001, 3003, 1001, 333, 777},
                                                          {7.5f, 400}, countOnly, style);
                        }});
    for (SeparationShape shape : {SeparationShape::Rectangle, SeparationShape::Circle})
        jobs.push_back({"separation", [&, shape](bool countOnly) {
                            return GenerateSeparation(m, {shape, 1234, 3001, 2002}, {3.3f, 500},
                                                      circle, countOnly);
                        }});
    for (int oneWay : {0, 1})
        jobs.push_back({"vector", [&, oneWay](bool countOnly) {
                            model.pens[0].oneWay = oneWay;
                            return generateVectorJob(m, model, repeat, countOnly);
                        }});
    jobs.push_back({"drilling", [&](bool countOnly) -> int64_t {
                        return countOnly ? -1 : drillHoles(m, set, 0);
                    }});
    for (const auto& [name, job] : jobs) {
        SCOPED_TRACE(name);
        m.buffer.reset();
        const int64_t counted = job(true);
        ASSERT_EQ(m.buffer.queued(), 0);
        job(false);
        if (counted >= 0) {
            EXPECT_EQ(m.buffer.queued(), counted);
        }
        int64_t net[3] = {};
        for (const MotionCommand& c : queued()) net[0] += c.dx, net[1] += c.dy, net[2] += c.dz;
        EXPECT_TRUE(net[0] == 0 && net[1] == 0 && net[2] == 0) << "back where it started";
        expectRoundTrip();
    }
}

TEST(GcodeWriterTest, WritesModesFeedsAndFlagsOnce) {
    MachineSettings s = FactorySettings();
    s.mmPerStepX = s.mmPerStepY = s.mmPerStepZ = 0.01f;
    s.dwellSeconds = 0.5f;
    s.safeHeight = 2;
    struct Case {
        int laser;
        const char* plunge;
        const char* rise;
        const char* footer;
    };
    for (const Case& c :
         {Case{1, "M3\nG1 Z-0.5 F600\nG4 P0.5\n", "M5\nG0 X0 Y0 Z2\n", "M2\n"},
          Case{0, "M3\nG4 P0.5\nG1 Z-0.5 F600\nG4 P0.5\n", "G0 X0 Y0 Z2\n", "M5\nM2\n"}}) {
        SCOPED_TRACE(c.laser);
        s.laserPenMode = c.laser;
        GcodeWriter w(s);
        EXPECT_EQ(w.move({100, 0, 0, 100, 1, 0, 0, 0, 0, 0}), "G0 X1\n");
        EXPECT_EQ(w.move({0, 0, 250, 1000, 0, 0, 1, 0, 1, 0}), c.plunge);
        EXPECT_EQ(w.move({0, -20, 0, 1000, 0, 0, 0, 0, 1, 1}), "G1 Y-0.2\nM0\n");
        EXPECT_EQ(w.move({-100, 20, -250, 100, 1, 0, 0, 0, 0, 0}), c.rise);
        EXPECT_EQ(w.footer(), c.footer);
    }
}

}  // namespace
}  // namespace korvex::test
