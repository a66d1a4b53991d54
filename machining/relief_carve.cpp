#include "machining/relief_carve.h"

#include <algorithm>
#include <cstdlib>

#include "log/event_log.h"
#include "machining/job_values.h"
#include "machining/raster_image.h"
#include "machining/relief_controls.h"
#include "machining/relief_job.h"
#include "machining/relief_output.h"
#include "machining/relief_view.h"
#include "motion/machine.h"
#include "motion/port.h"
#include "motion/rounding.h"
#include "platform/dialog_view.h"
#include "platform/host.h"

namespace korvex {

int32_t PixelLevel(const RasterImage& raster, int x, int y) {
    const size_t i = static_cast<size_t>(y) * static_cast<size_t>(raster.width) + x;
    int32_t level;
    if (!raster.gray16.empty()) {
        level = raster.levelCount - raster.gray16[i];
    } else {
        const uint32_t p = raster.pixels[i];
        level = raster.levelCount -
                static_cast<int32_t>(((p >> 16 & 0xFF) + (p >> 8 & 0xFF) + (p & 0xFF)) / 3);
    }
    return level < 0 || level > raster.levelCount ? raster.levelCount / 2 : level;
}

namespace {

constexpr uint32_t kBlack = 0xFF000000, kWhite = 0xFFFFFFFF, kTopGreen = 0xFF00C500;

// Steps for `levels` level changes, rounded on their own: the Z position is
// the sum of these, not the rounded depth of the level.
int32_t LevelSteps(int64_t levels, float stepsPerLevel) {
    return RoundHalfAway(static_cast<float>(levels) * stepsPerLevel);
}

// What carving and simulating share: the depth check and the progress.
struct Walk {
    const RasterImage& raster;
    ReliefJob& job;
    Canvas& window;
    ReliefOutput& output;
    float mmPerStepZ;

    void check(int32_t dz, int x, int y) const {
        if (std::abs(static_cast<int64_t>(dz)) > static_cast<int64_t>(job.zMultiple) * job.depth)
            DrawReliefProblem(window, x, y, static_cast<float>(dz) * mmPerStepZ);
    }
    void progress(int y) {
        job.progressDone = raster.width * y;
        DrawReliefProgress(window, job.progressDone,
                           static_cast<int64_t>(raster.width) * raster.height);
        output.idle();
    }
};

// The rows 0, pitch, 2 pitch, ... alternately forward and backward. `Moves`
// turns the walk into steps or into pictures:
//   plunge(dz, level)              the first descent at pixel (0, 0)
//   pixel(x, y, level, dz, dir)    a pixel's level change, dir its X direction
//   nextRow(x, y, level)           on to row y, the tool still over pixel x
//   finish(dir, lastRow)           after the last row
template <class Moves>
void Traverse(Walk& walk, Moves& moves) {
    const RasterImage& r = walk.raster;
    const float stepsPerLevel = walk.job.stepsPerLevel;
    const int pitch = walk.job.pitch;
    int32_t previous = PixelLevel(r, 0, 0);
    const int32_t first = LevelSteps(previous, stepsPerLevel);
    moves.plunge(first, previous);
    walk.check(first, 0, 0);

    auto row = [&](int y, int dir) {
        for (int i = 0; i < r.width; ++i) {
            const int x = dir > 0 ? i : r.width - 1 - i;
            const int32_t level = PixelLevel(r, x, y);
            const int32_t n = LevelSteps(std::abs(level - previous), stepsPerLevel);
            const int32_t dz = level > previous ? n : -n;
            moves.pixel(x, y, level, dz, dir);
            walk.check(dz, x, y);
            previous = level;
        }
        walk.progress(y);
    };
    int y = 0, dir = 1, lastRow = 0;
    for (;;) {
        row(y, dir = 1);
        lastRow = y;
        if (moves.ended() || y + pitch >= r.height) break;
        y += pitch;
        moves.nextRow(r.width - 1, y, previous);
        walk.progress(y);
        row(y, dir = -1);
        lastRow = y;
        y += pitch;
        if (moves.ended() || y >= r.height) break;
        moves.nextRow(0, y, previous);
        walk.progress(y);
    }
    moves.finish(dir, lastRow);
}

// Carving: every move as single steps through the output, each step held
// back while the emergency stop is active.
class Carving {
  public:
    explicit Carving(ReliefContext& c) : c_(c), m_(c.machine), job_(c.job) {
        const MachineSettings& s = m_.settings;
        zTravelUs_ = PeriodUs(s.moveSpeedZ, s.mmPerStepZ);
        zCutUs_ = PeriodUs(s.plungeSpeed, s.mmPerStepZ);
        const float feed = c.values.feed;
        xyCutUs_ =
            PeriodUs(LowestNonZero(m_.log, feed / s.mmPerStepX, feed / s.mmPerStepY, 0), 1.0);
        xReturnUs_ = PeriodUs(s.moveSpeedX, s.mmPerStepX);
        yReturnUs_ = PeriodUs(s.moveSpeedY, s.mmPerStepY);
        safeSteps_ = MmToSteps(s.safeHeight, s.mmPerStepZ);
    }

    void start() {
        c_.output.begin();
        steps(0, 0, 1, safeSteps_, zTravelUs_);
        steps(0, 0, 1, job_.zOffset, zCutUs_);
    }
    void plunge(int32_t dz, int32_t) { zMove(dz); }
    void pixel(int, int, int32_t, int32_t dz, int dir) {
        zMove(dz);
        steps(dir, 0, 0, job_.multiple, xyCutUs_);
    }
    void nextRow(int, int, int32_t) {
        steps(0, 1, 0, static_cast<int64_t>(job_.pitch) * job_.multiple, xyCutUs_);
    }
    // The lift undoes the level moves as made: lifting by the rounded depth
    // of the last level instead could leave the tool a step or two low.
    void finish(int dir, int lastRow) {
        // An ended job goes back up to where it started, over the material.
        if (ended_) return run(0, 0, -1, std::max<int64_t>(belowStart_, 0), zTravelUs_, false);
        steps(0, 0, -1, levelDepth_, zTravelUs_);
        steps(0, 0, -1, job_.zOffset, zTravelUs_);
        steps(0, 0, -1, safeSteps_, zTravelUs_);
        if (dir > 0)
            steps(-1, 0, 0, static_cast<int64_t>(c_.raster.width) * job_.multiple, xReturnUs_);
        steps(0, -1, 0, static_cast<int64_t>(lastRow) * job_.multiple, yReturnUs_);
    }
    // "End job" stopped the run.
    bool ended() const { return ended_; }

  private:
    void zMove(int32_t dz) {
        levelDepth_ += dz;
        steps(0, 0, dz > 0 ? 1 : -1, std::abs(dz), zCutUs_);
    }
    void steps(int sx, int sy, int sz, int64_t count, int periodUs) {
        if (!ended_) run(sx, sy, sz, count, periodUs, true);
    }
    // `endable`: "End job" stops the run at its release, before the next step.
    void run(int sx, int sy, int sz, int64_t count, int periodUs, bool endable) {
        for (int64_t i = 0; i < count; ++i) {
            // A step the stop held back is made after the release: the
            // carve stays exact.
            do {
                while (m_.signals.estopActive.load(std::memory_order_acquire)) c_.output.wait();
                if (endable && job_.endRequested) {
                    ended_ = true;
                    return;
                }
            } while (!c_.output.step(sx, sy, sz, periodUs));
            belowStart_ += sz;
            // A row can take minutes: the window gets its turn every 20 ms
            // of motion, so it repaints and its stop button answers.
            if ((sinceIdleUs_ += periodUs) >= kIdleEveryUs) {
                sinceIdleUs_ = 0;
                c_.output.idle();
            }
        }
    }

    ReliefContext& c_;
    Machine& m_;
    ReliefJob& job_;
    int zTravelUs_, zCutUs_, xyCutUs_, xReturnUs_, yReturnUs_;
    int safeSteps_;
    int64_t levelDepth_ = 0;  // Z steps below the offset, as moved
    int64_t belowStart_ = 0;  // Z steps made, down positive
    bool ended_ = false;
    static constexpr int64_t kIdleEveryUs = 20'000;
    int64_t sinceIdleUs_ = 0;
};

// Simulating: each pixel's column in an oblique view, later rows lower and
// further left by 0.707 x 0.5 pixels per row; one picture pixel per image
// column and per Z step.
class Simulating {
  public:
    Simulating(ReliefSimulation& sim, const ReliefJob& job, int32_t levelCount, int halfDiagonal)
        : sim_(sim),
          picture_(*sim.picture),
          stepsPerLevel_(job.stepsPerLevel),
          halfDiagonal_(halfDiagonal),
          bottom_(LevelSteps(levelCount, job.stepsPerLevel)) {}

    void plunge(int32_t, int32_t level) { column(0, 0, level); }
    void pixel(int x, int y, int32_t level, int32_t, int) { column(x, y, level); }
    void nextRow(int x, int y, int32_t level) { column(x, y, level); }
    void finish(int, int) {}
    bool ended() const { return false; }

  private:
    void column(int x, int y, int32_t level) {
        if (y != shiftRow_) {
            shiftRow_ = y;
            shift_ = RoundHalfAway(y * 0.707 * 0.5);
        }
        const int cx = sim_.marginX + halfDiagonal_ - shift_ + x;
        const int base = sim_.marginY + shift_;
        const int top = base + LevelSteps(level, stepsPerLevel_);
        picture_.gradientLine(cx, top, cx, base + bottom_, kWhite, kBlack);
        picture_.line(cx, top, cx, top + 1, kTopGreen);
    }

    ReliefSimulation& sim_;
    Canvas& picture_;
    float stepsPerLevel_;
    int halfDiagonal_;
    int bottom_;
    int shiftRow_ = -1;
    int shift_ = 0;
};

// Sizes the simulation picture and its scroll bars and creates it; false
// (after a box) when it cannot be created.
bool PrepareSimulation(ReliefContext& c, DialogView& view, Host& host, int& halfDiagonal) {
    const RasterImage& r = c.raster;
    ReliefSimulation& sim = c.simulation;
    halfDiagonal = RoundHalfAway(r.height * 0.707 * 0.5);
    sim.simWidth = static_cast<int32_t>((r.width + halfDiagonal) * 1.2);
    sim.simHeight =
        static_cast<int32_t>((LevelSteps(r.levelCount, c.job.stepsPerLevel) + halfDiagonal) * 1.2);
    sim.marginX = RoundHalfAway(sim.simWidth * 0.1);
    sim.marginY = RoundHalfAway(sim.simHeight * 0.1);
    view.setScrollRange(kReliefScrollX, 0, std::max(0, sim.simWidth - kReliefViewWidth));
    view.setScrollRange(kReliefScrollY, 0, std::max(0, sim.simHeight - kReliefViewHeight));
    view.setScrollPos(kReliefScrollX, sim.scrollX);
    view.setScrollPos(kReliefScrollY, sim.scrollY);
    sim.picture.reset();
    sim.picture = c.makeCanvas(sim.simWidth, sim.simHeight);
    if (!sim.picture) {
        host.messageBox("Info", Caption(c.machine.settings.language, kSimulationFailed),
                        Buttons::Ok, Icon::Information);
        return false;
    }
    sim.picture->clear(kBlack);
    return true;
}

}  // namespace

void EndReliefCarving(Machine& m, ReliefJob& job) {
    if (!m.signals.estopActive.load()) PressEmergencyStopButton(m);
    job.endRequested = 1;
    m.log.say({"Úloha ukončena: po uvolnění stopu nástroj vyjede nad materiál",
               "Job ended: once the stop is released the tool lifts over the material"},
              true, false);
}

void CarveRelief(ReliefContext& c, DialogView& view, Host& host, int simulate) {
    const RasterImage& r = c.raster;
    if (!r.loaded || r.width <= 0 || r.height <= 0) return;
    if (!simulate && !(c.values.feed > 0)) return;
    ReliefJob& job = c.job;
    Walk walk{r, job, view.canvas(0), c.output, c.machine.settings.mmPerStepZ};
    job.progressDone = 0;
    if (simulate) {
        int halfDiagonal = 0;
        if (!PrepareSimulation(c, view, host, halfDiagonal)) return;
        Simulating moves(c.simulation, job, r.levelCount, halfDiagonal);
        Traverse(walk, moves);
    } else {
        // A carving leaves no simulation to show.
        if (c.simulation.picture) c.simulation.picture->clear(kBlack);
        Carving moves(c);
        moves.start();
        Traverse(walk, moves);
        if (moves.ended()) {
            job.endRequested = 0;
            const MachinePosition& p = c.machine.position;
            const MachineSettings& s = c.machine.settings;
            SayFormatted(c.machine.log,
                         {"Frézování BMP ukončeno: nástroj stojí nad materiálem na X %.3f Y %.3f "
                          "Z %.3f mm",
                          "Cutting BMP ended: the tool stands over the material at X %.3f Y %.3f "
                          "Z %.3f mm"},
                         true, true, static_cast<double>(p.absX.load() * s.mmPerStepX),
                         static_cast<double>(p.absY.load() * s.mmPerStepY),
                         static_cast<double>(p.absZ.load() * s.mmPerStepZ));
            return;
        }
    }
    job.progressDone = r.width * r.height;
    DrawReliefProgress(walk.window, job.progressDone, job.progressDone);
    host.messageBox("Info", Caption(c.machine.settings.language, kReliefFinished), Buttons::Ok,
                    Icon::Information);
}

}  // namespace korvex
