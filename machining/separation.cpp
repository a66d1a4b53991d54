#include "machining/separation.h"

#include <algorithm>

#include "machining/job_input.h"
#include "motion/job_sink.h"
#include "motion/machine.h"
#include "motion/rounding.h"

namespace korvex {

namespace {

struct SeparationPeriods {
    int32_t feedXY, feedXYZ, feedZ, zTravel, xyTravel;
};

SeparationPeriods MakePeriods(Machine& m, float feed) {
    const MachineSettings& s = m.settings;
    const float x = feed / s.mmPerStepX, y = feed / s.mmPerStepY, z = feed / s.mmPerStepZ;
    return {PeriodUs(LowestNonZero(m.log, x, y, 0), 1.0),
            PeriodUs(LowestNonZero(m.log, x, y, z), 1.0), PeriodUs(feed, s.mmPerStepZ),
            PeriodUs(s.moveSpeedZ, s.mmPerStepZ),
            PeriodUs(std::min(s.moveSpeedX / s.mmPerStepX, s.moveSpeedY / s.mmPerStepY), 1.0)};
}

}  // namespace

int32_t SeparationCycles(int32_t depth, int32_t cut) {
    cut = std::max(cut, 1);
    return depth > cut ? depth / cut : 1;
}

int BuildSeparationCircle(CircleTable& table, int32_t diameter, Text& failure) {
    const StepPoint start{diameter, diameter / 2, 0};
    return BuildCircleTable(table, start, {diameter / 2, diameter / 2, 0}, start, failure);
}

int32_t GenerateSeparation(Machine& m, const SeparationJob& job, const JobValues& values,
                           const CircleTable& circle, bool countOnly) {
    const bool isCircle = job.shape == SeparationShape::Circle;
    if (!AcceptJobInput(m.log, values.feed, job.depth, job.sizeX, isCircle ? 0 : job.sizeY))
        return 0;
    const int32_t cut = std::max(values.cut, 1);
    const int32_t cycles = SeparationCycles(job.depth, cut);
    const SeparationPeriods p = MakePeriods(m, values.feed);
    const int32_t safe = MmToSteps(m.settings.safeHeight, m.settings.mmPerStepZ);
    const int32_t d = job.sizeX, half = job.sizeX / 2;
    JobSink sink(m, countOnly, safe);
    if (!sink.start(job.depth)) return 0;

    if (isCircle) sink.move(d, half, 0, p.xyTravel, 1, 0, 0);
    sink.move(0, 0, safe, p.zTravel, 1, 0, 0);
    sink.repeat(cycles, [&](int64_t i) {
        sink.report({"pocatek frezovacího cyklu %d/%d", "start of cutting cycle %d/%d"}, i + 1,
                    cycles);
        const int32_t plunge = i < cycles - 1 ? cut : job.depth - cut * (cycles - 1);
        sink.move(0, 0, plunge, p.feedXY, 0, 1, 1);
        if (isCircle) {
            for (const CircleMove& step : circle.lap())
                sink.move(step.dx, step.dy, step.dz, p.feedXYZ, 0, 0, 1);
        } else {
            sink.move(job.sizeX, 0, 0, p.feedXY, 0, 0, 1);
            sink.move(0, job.sizeY, 0, p.feedXY, 0, 0, 1);
            sink.move(-job.sizeX, 0, 0, p.feedXY, 0, 0, 1);
            sink.move(0, -job.sizeY, 0, p.feedXY, 0, 0, 1);
        }
        sink.move(0, 0, -plunge, p.feedZ, 0, 0, 1);
        sink.move(0, 0, plunge, p.feedZ, 0, 1, 1);
    });
    sink.move(0, 0, -(safe + job.depth), p.zTravel, 1, 0, 0);
    if (isCircle) sink.move(-d, -half, 0, p.xyTravel, 1, 0, 0);
    // Appending returns 0.
    return sink.counting() ? static_cast<int32_t>(std::min<int64_t>(sink.count(), INT32_MAX)) : 0;
}

}  // namespace korvex
