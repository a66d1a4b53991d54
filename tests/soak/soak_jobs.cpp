#include "tests/soak/soak_jobs.h"

#include <gtest/gtest.h>

#include "drilling/drill_holes.h"
#include "drilling/drill_readers.h"
#include "machining/separation.h"
#include "machining/surface_milling.h"
#include "motion/job_sink.h"
#include "motion/machine.h"
#include "vector/hpgl_reader.h"

namespace korvex::test {

namespace {

// Two pens: a square and a triangle with pen 1, a zig-zag with pen 2 (40
// plotter units per mm).
constexpr const char* kDrawing =
    "IN;SP1;PU0,0;PD400,0;PD400,400;PD0,400;PD0,0;PU600,0;PD1000,0;PD800,300;PD600,0;"
    "SP2;PU0,600;PD200,800;PD400,600;PD600,800;PD800,600;";
constexpr const char* kDrillList =
    "PV0.8\nX001.000Y001.000\nX004.500Y001.000\nX004.500Y003.000\n"
    "PV1.0\nX002.000Y006.000\nX007.000Y002.500\n";

int Between(std::mt19937& random, int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random);
}

}  // namespace

SoakJobs::SoakJobs(Machine& m) : m_(m), values_(StartJobValues(m.settings)) {
    EXPECT_EQ(LoadVectorFile(drawing_, dir_.write("drawing.plt", kDrawing), kHpglCorel, m.settings,
                             m.log, host_),
              1);
    EXPECT_EQ(LoadDrillFile(m, drills_, dir_.write("holes.vrt", kDrillList), kSimpleDrillFormat),
              1);
    for (int i = 0; i < drawing_.penCount; ++i) {
        drawing_.pens[i].enabled = 1;
        drawing_.cutOrder.slots[i] = i;
    }
    drawing_.cutOrder.count = drawing_.penCount;
}

bool SoakJobs::queueNext(std::mt19937& random) {
    static constexpr bool (SoakJobs::*kQueue[])(std::mt19937&) = {
        &SoakJobs::queueHpgl, &SoakJobs::queueDrilling, &SoakJobs::queueSurface,
        &SoakJobs::queueCircle};
    if (!(this->*kQueue[next_])(random)) return false;
    last_ = next_;
    next_ = (next_ + 1) % 4;
    return true;
}

bool SoakJobs::queueHpgl(std::mt19937& random) {
    for (int i = 0; i < drawing_.penCount; ++i) {
        drawing_.pens[i].depth = 0.1f * static_cast<float>(Between(random, 1, 10));
        drawing_.pens[i].passDepth = 0.1f * static_cast<float>(Between(random, 1, 5));
    }
    drawing_.pens[0].oneWay = Between(random, 0, 1);
    VectorJobRepeat repeat;
    repeat.countX = Between(random, 1, 2);
    SetRepeatSpacing(repeat, 5, m_.settings);
    return QueueJob(
        m_, [&](bool countOnly) { return generateVectorJob(m_, drawing_, repeat, countOnly); });
}

bool SoakJobs::queueDrilling(std::mt19937& random) {
    const int drill = Between(random, 0, drills_.toolCount - 1);
    // drillHoles wants more than six free entries per hole.
    if (6 * drills_.tools[drill].holeCount >= m_.buffer.freeSlots()) return false;
    drills_.tools[drill].depth = MmToSteps(0.1 * Between(random, 1, 30), m_.settings.mmPerStepZ);
    return drillHoles(m_, drills_, drill) == 1;
}

bool SoakJobs::queueSurface(std::mt19937& random) {
    SurfaceMillingJob job;
    job.sizeX = Between(random, 0, 200);
    job.sizeY = Between(random, 0, 200);
    job.depth = Between(random, 0, 15);
    job.pitchX = job.pitchY = Between(random, 8, 40);
    const auto style = static_cast<SurfaceStyle>(Between(random, 1, 3));
    return QueueJob(m_, [&](bool countOnly) {
        return GenerateSurfaceMilling(m_, job, values_, countOnly, style);
    });
}

bool SoakJobs::queueCircle(std::mt19937& random) {
    SeparationJob job;
    job.shape = SeparationShape::Circle;
    job.sizeX = Between(random, 4, 200);
    job.depth = Between(random, 1, 12);
    CircleTable circle;
    Text failure;
    return BuildSeparationCircle(circle, job.sizeX, failure) && QueueJob(m_, [&](bool countOnly) {
               return GenerateSeparation(m_, job, values_, circle, countOnly);
           });
}

}  // namespace korvex::test
