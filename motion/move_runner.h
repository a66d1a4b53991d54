#pragma once
// Running one command as ticks: the per-command routine of the executor
// (vykonejprikaz). Conversions happen once per command or ramp phase; the
// tick itself is a few integer and floating-point operations, one gate
// check and OutputStep.
//
// Interpolated (accelerated 0): one tick every periodUs; the axis with the
// most steps steps on every tick, the others spread evenly by cumulative
// rounding. Ramped (accelerated != 0): in phases, every axis with steps
// left steps on every tick; periods climb the acceleration table over the
// first half of a phase and descend it over its last rampSteps - 1 ticks.

#include <functional>

#include "motion/machine.h"

namespace korvex {

// What the executor hands to the step output in one tick (before the soft
// limits), with the tick's period.
struct Tick {
    int stepX, stepY, stepZ;
    int periodUs;
};
using TickObserver = std::function<void(const Tick&)>;

class MoveRunner {
  public:
    explicit MoveRunner(Machine& m) : m_(m) {}
    // Runs `c` on the calling thread, updating its dx, dy, dz and
    // remainingTimeS; the steps and time left are published to the
    // buffer's front entry every tick, within a ramp phase too.
    void run(MotionCommand& c);
    void setTickObserver(TickObserver observer) { observer_ = std::move(observer); }

  private:
    void interpolated(MotionCommand& c);
    void ramped(MotionCommand& c);
    // The periods of a phase of n ticks: entries 0 .. min(rampSteps, n) - 1.
    const int32_t* phaseTable(const MotionCommand& c, int rampSteps, int n);
    void checkSwitchesInterpolated(MotionCommand& c, int& sx, int& sy, int& sz, bool done[3]);
    bool checkSwitchesRamped(MotionCommand& c, int& madeX, int& madeY, int& madeZ);
    void setRelativeOriginAtProbe();
    bool stopping() const;
    // `made*`: the steps of the running ramp phase that c's remaining
    // counts do not include yet.
    void tick(MotionCommand& c, int sx, int sy, int sz, int periodUs, int madeX = 0, int madeY = 0,
              int madeZ = 0);

    Machine& m_;
    TickObserver observer_;
    int32_t sensorSteps_ = 0;
    bool abandoned_ = false;  // a tick held by an emergency stop was dropped
};

}  // namespace korvex
