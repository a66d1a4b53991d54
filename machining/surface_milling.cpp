#include "machining/surface_milling.h"

#include <algorithm>

#include "log/text.h"
#include "machining/job_input.h"
#include "motion/job_sink.h"
#include "motion/machine.h"
#include "motion/rounding.h"

namespace korvex {

namespace {

struct SurfacePeriods {
    int32_t feed, travelXY, zTravel, plunge, xTravel, yTravel;
};

SurfacePeriods MakePeriods(Machine& m, float feed) {
    const MachineSettings& s = m.settings;
    return {
        PeriodUs(LowestNonZero(m.log, feed / s.mmPerStepX, feed / s.mmPerStepY, 0), 1.0),
        PeriodUs(LowestNonZero(m.log, s.moveSpeedX / s.mmPerStepX, s.moveSpeedY / s.mmPerStepY, 0),
                 1.0),
        PeriodUs(s.moveSpeedZ, s.mmPerStepZ),
        PeriodUs(s.plungeSpeed, s.mmPerStepZ),
        PeriodUs(s.moveSpeedX, s.mmPerStepX),
        PeriodUs(s.moveSpeedY, s.mmPerStepY)};
}

struct CycleTexts {
    Text start, end;
};

CycleTexts TextsOf(SurfaceStyle style) {
    switch (style) {
        case SurfaceStyle::StrokesAlongX:
            return {{"pocatek frezovacího cyklu povrchu po X %d/%d",
                     "start of cutting cycle surface by X %d/%d"},
                    {"konec frezovaciho cyklu povrchu po X %d/%d",
                     "end of cutting cycle surface by X %d/%d"}};
        case SurfaceStyle::StrokesAlongY:
            return {{"pocatek frezovaciho cyklu povrchu po Y%d/%d",
                     "start of cutting cycle surface by Y %d/%d"},
                    {"konec frezovaciho cyklu povrchu po Y%d/%d",
                     "end of cutting cycle surface by Y %d/%d"}};
        case SurfaceStyle::Spiral:
            break;
    }
    return {{"pocatek frezovaciho cyklu povrchu po spirale %d/%d",
             "start of cutting cycle surface by spin %d/%d"},
            {"konec frezovaciho cyklu povrchu po spirale %d/%d",
             "end of cutting cycle surface by spin %d/%d"}};
}

// The job as the operator asked for it; one form for both languages.
std::string CountLine(const SurfaceMillingJob& j, int32_t cut, SurfaceStyle style) {
    switch (style) {
        case SurfaceStyle::StrokesAlongX:
            return Format("povrch X: %dx%d, hl: %d/%d, rX: %d ", j.sizeX, j.sizeY, j.depth, cut,
                          j.pitchX);
        case SurfaceStyle::StrokesAlongY:
            return Format("povrch po Y: %dx%d, hl: %d/%d, rY: %d ", j.sizeX, j.sizeY, j.depth, cut,
                          j.pitchY);
        case SurfaceStyle::Spiral:
            break;
    }
    return Format("povrch po spirale: %dx%d, hl: %d/%d, rX:%d,rY: %d", j.sizeX, j.sizeY, j.depth,
                  cut, j.pitchX, j.pitchY);
}

class SurfacePath {
  public:
    SurfacePath(JobSink& sink, const SurfacePeriods& p, int32_t safe)
        : sink_(sink), p_(p), safe_(safe) {}

    // Strokes along one axis, each cut forward and returned at depth, stepping
    // over along the other axis by `pitch` (the last step takes what is left)
    // until `width` is covered; then back across at travel height.
    void strokes(bool alongY, int32_t length, int32_t width, int32_t pitch) {
        const int32_t n = width / pitch;
        const int32_t steps = width - pitch * n > 0 ? n + 1 : n;
        stroke(alongY, length);
        for (int32_t j = 0; j < steps; ++j) {
            const int32_t s = j < steps - 1 ? pitch : width - pitch * j;
            move(alongY, 0, s, p_.feed, 0);
            stroke(alongY, length);
        }
        overTheTop(alongY ? -width : 0, alongY ? 0 : -width, alongY ? p_.xTravel : p_.yTravel);
    }

    // The outer rectangle, then laps one pitch further in on every side. Only
    // a lap's first lengths must not be negative; its reduced lengths on the
    // way back may be, and then reverse their moves.
    void spiral(int32_t sizeX, int32_t sizeY, int32_t pitchX, int32_t pitchY) {
        cut(sizeX, 0);
        cut(0, sizeY);
        cut(-sizeX, 0);
        cut(0, pitchY - sizeY);
        int64_t ax = 0, ay = pitchY;
        int64_t a = int64_t{sizeX} - pitchX, b = int64_t{sizeY} - 2 * int64_t{pitchY};
        while (a >= 0 && b >= 0) {
            cut(a, 0);
            cut(0, b);
            ax += a;
            ay += b;
            a -= pitchX;
            b -= pitchY;
            cut(-a, 0);
            cut(0, -b);
            ax -= a;
            ay -= b;
            a -= pitchX;
            b -= pitchY;
        }
        overTheTop(static_cast<int32_t>(-ax), static_cast<int32_t>(-ay), p_.travelXY);
    }

  private:
    void cut(int64_t dx, int64_t dy) {
        sink_.move(static_cast<int32_t>(dx), static_cast<int32_t>(dy), 0, p_.feed, 0, 0, 1);
    }
    // A move at depth, `along` the stroke axis and `across` it.
    void move(bool alongY, int32_t along, int32_t across, int32_t period, int32_t accelerated) {
        sink_.move(alongY ? across : along, alongY ? along : across, 0, period, accelerated, 0, 1);
    }
    void stroke(bool alongY, int32_t length) {
        move(alongY, length, 0, p_.feed, 0);
        move(alongY, -length, 0, p_.travelXY, 1);
    }
    // Up to travel height, across to (dx, dy) and down to the surface again.
    void overTheTop(int32_t dx, int32_t dy, int32_t period) {
        sink_.move(0, 0, -safe_, p_.zTravel, 1, 0, 0);
        sink_.move(dx, dy, 0, period, 1, 0, 0);
        sink_.move(0, 0, safe_, p_.zTravel, 1, 0, 0);
    }

    JobSink& sink_;
    const SurfacePeriods& p_;
    int32_t safe_;
};

}  // namespace

int32_t SurfacePasses(const SurfaceMillingJob& job, const JobValues& values) {
    const int32_t cut = std::max(values.cut, 1);
    return (job.depth > cut ? job.depth / cut : 0) + 1;
}

int32_t GenerateSurfaceMilling(Machine& m, const SurfaceMillingJob& job, const JobValues& values,
                               bool countOnly, SurfaceStyle style, double* seconds) {
    if (!RelativeOriginSet(m, {"nebyl definován relativní zacatek, nebude se frezovat",
                               "you must define relative point (startpoint)"}))
        return 0;
    if (!AcceptJobInput(m.log, values.feed, job.depth, job.sizeX, job.sizeY)) return 0;
    const int32_t cut = std::max(values.cut, 1);
    const int32_t pitchX = std::max(job.pitchX, 1), pitchY = std::max(job.pitchY, 1);
    if (countOnly) m.log.line(CountLine(job, cut, style), false, false);

    const SurfacePeriods periods = MakePeriods(m, values.feed);
    const int32_t safe = MmToSteps(m.settings.safeHeight, m.settings.mmPerStepZ);
    const int32_t passes = SurfacePasses(job, values) - 1;
    const CycleTexts texts = TextsOf(style);
    JobSink sink(m, countOnly, safe);
    if (!sink.start(job.depth)) return 0;
    SurfacePath path(sink, periods, safe);

    sink.move(0, 0, safe, periods.zTravel, 1, 0, 0);
    const int64_t cycles = int64_t{passes} + 1;  // SurfacePasses
    sink.repeat(cycles, [&](int64_t i) {
        // The last cycle takes what is left: nothing when the depth is a
        // whole number of cuts, and it runs once more at the final depth.
        const int32_t plunge = i < passes ? cut : job.depth - cut * passes;
        sink.move(0, 0, plunge, periods.plunge, 0, 1, 1);
        sink.report(texts.start, i + 1, cycles);
        switch (style) {
            case SurfaceStyle::StrokesAlongX:
                path.strokes(false, job.sizeX, job.sizeY, pitchY);
                break;
            case SurfaceStyle::StrokesAlongY:
                path.strokes(true, job.sizeY, job.sizeX, pitchX);
                break;
            case SurfaceStyle::Spiral:
                path.spiral(job.sizeX, job.sizeY, pitchX, pitchY);
                break;
        }
    });
    sink.move(0, 0, -job.depth, style == SurfaceStyle::Spiral ? periods.zTravel : periods.plunge, 0,
              1, 1);
    sink.report(texts.end, cycles, cycles);
    sink.move(0, 0, -safe, periods.zTravel, 1, 0, 0);
    if (seconds) *seconds = sink.seconds();
    // Appending returns 0.
    return sink.counting() ? static_cast<int32_t>(std::min<int64_t>(sink.count(), INT32_MAX)) : 0;
}

}  // namespace korvex
