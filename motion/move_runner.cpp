#include "motion/move_runner.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "motion/acceleration.h"
#include "motion/move_time.h"
#include "motion/port.h"
#include "motion/rounding.h"
#include "motion/step_output.h"

namespace korvex {

namespace {

constexpr auto kRelaxed = std::memory_order_relaxed;
constexpr int32_t kSlowestFallbackUs = 1'000'000;

// RoundHalfAway, with a short way for the values a tick's step has
// (-1.5 < x < 1.5) whatever happened to the sums before.
inline int RoundStep(double x) {
    if (std::fabs(x) < 1.5) [[likely]]
        return (x >= 0.5) - (x <= -0.5);
    return RoundHalfAway(x);
}

inline void Store(Counter& c, int32_t v) {
    c.store(v, kRelaxed);
}

// The period of an interpolated move under the feed override: never
// shorter than the top-speed period of its slowest moving axis, unless the
// programmed period already was (faster settings are the operator's own).
int32_t OverriddenPeriod(int32_t periodUs, int percent, int32_t floorUs) {
    if (percent == 100) return periodUs;
    const int64_t scaled = (static_cast<int64_t>(periodUs) * 100 + percent / 2) / percent;
    const int64_t at =
        percent > 100 ? std::max<int64_t>(scaled, std::min(periodUs, floorUs)) : scaled;
    return static_cast<int32_t>(std::min<int64_t>(at, INT32_MAX));
}

int32_t TopSpeedPeriodUs(const MachineSettings& s, const MotionCommand& c) {
    const int32_t d[3] = {c.dx, c.dy, c.dz};
    const float speed[3] = {s.moveSpeedX, s.moveSpeedY, s.moveSpeedZ};
    const float step[3] = {s.mmPerStepX, s.mmPerStepY, s.mmPerStepZ};
    int32_t floor = 0;
    for (int a = 0; a < 3; ++a)
        if (d[a] != 0 && speed[a] > 0) floor = std::max(floor, PeriodUs(speed[a], step[a]));
    return floor;
}

inline int Toward(int32_t made, int32_t target) {
    return made == target ? 0 : made < target ? 1 : -1;
}

}  // namespace

void MoveRunner::run(MotionCommand& c) {
    sensorSteps_ = RoundHalfAway(m_.settings.sensorDepth / m_.settings.mmPerStepZ);
    abandoned_ = false;
    if (c.accelerated)
        ramped(c);
    else
        interpolated(c);
    const bool cutShort = c.dx != 0 || c.dy != 0 || c.dz != 0 || abandoned_;
    if (cutShort && m_.executor.resetRequest.load() && !m_.position.resumeValid.load()) {
        // The first tick that saw the request made no pulse: this is where
        // the interrupted move stands.
        m_.position.resumeX.store(m_.position.absX.load());
        m_.position.resumeY.store(m_.position.absY.load());
        m_.position.resumeZ.store(m_.position.absZ.load());
        m_.position.resumeValid.store(1);
    }
}

bool MoveRunner::stopping() const {
    return (m_.executor.resetRequest.load(kRelaxed) | m_.executor.quitRequest.load(kRelaxed)) != 0;
}

// The bookkeeping every tick shares: output, progress, statistics.
void MoveRunner::tick(MotionCommand& c, int sx, int sy, int sz, int periodUs, int madeX, int madeY,
                      int madeZ) {
    ExecutorFlags& e = m_.executor;
    Store(e.axisStepping[0], sx != 0);
    Store(e.axisStepping[1], sy != 0);
    Store(e.axisStepping[2], sz != 0);
    if (!stopping() && !OutputStep(m_, sx, sy, sz, 0, periodUs, 0)) [[unlikely]]
        abandoned_ = true;
    m_.buffer.publishFront(c.dx - madeX, c.dy - madeY, c.dz - madeZ, c.remainingTimeS);
    e.ticks.store(e.ticks.load(kRelaxed) + 1, kRelaxed);
    e.tickTimeUs.store(e.tickTimeUs.load(kRelaxed) + periodUs, kRelaxed);
    if (observer_) [[unlikely]]
        observer_({sx, sy, sz, periodUs});
}

void MoveRunner::interpolated(MotionCommand& c) {
    Machine& m = m_;
    int period = c.periodUs;
    Store(m.executor.currentPeriodUs, period);
    // Homing and probing keep their speed; the time left stays the plan's.
    const int32_t floorUs = c.checkSwitches ? 0 : TopSpeedPeriodUs(m.settings, c);
    int percent = 100;
    bool done[3] = {c.dx == 0, c.dy == 0, c.dz == 0};
    const int n = std::max({std::abs(c.dx), std::abs(c.dy), std::abs(c.dz)});
    const double kx = static_cast<double>(c.dx) / n, ky = static_cast<double>(c.dy) / n,
                 kz = static_cast<double>(c.dz) / n;
    const double tickSeconds = MoveTimer(m).tickSeconds(period);
    int sumX = 0, sumY = 0, sumZ = 0;
    double tickNumber = 0;  // i, exact as a double
    for (int i = 1; i <= n; ++i) {
        m.gate.pass();
        if ((done[0] && done[1] && done[2]) || stopping()) break;
        // A tick costs one relaxed load; the period changes only with it.
        if (const int asked = m.executor.feedPercent.load(kRelaxed);
            asked != percent && !c.checkSwitches) [[unlikely]] {
            percent = asked;
            period = OverriddenPeriod(c.periodUs, std::clamp(asked, 10, 200), floorUs);
            Store(m.executor.currentPeriodUs, period);
        }
        tickNumber += 1;
        int sx = RoundStep(tickNumber * kx - sumX), sy = RoundStep(tickNumber * ky - sumY),
            sz = RoundStep(tickNumber * kz - sumZ);
        c.remainingTimeS -= tickSeconds;
        c.dx -= sx;
        c.dy -= sy;
        c.dz -= sz;
        if (c.checkSwitches) [[unlikely]]
            checkSwitchesInterpolated(c, sx, sy, sz, done);
        tick(c, sx, sy, sz, period);
        sumX += sx;
        sumY += sy;
        sumZ += sz;
    }
    // Switches ended every axis: the steps still left are never made.
    if (c.checkSwitches && done[0] && done[1] && done[2] && !stopping()) {
        MachinePosition& p = m.position;
        p.plannedX.fetch_sub(c.dx);
        p.plannedY.fetch_sub(c.dy);
        p.plannedZ.fetch_sub(c.dz);
        c.dx = c.dy = c.dz = 0;
    }
}

// A switch stops its axis for the rest of the move. Homing with this kind of
// move holds the counters at 0: an axis stepping towards its switch is put
// at 1 so that the step brings it back to 0.
void MoveRunner::checkSwitchesInterpolated(MotionCommand& c, int& sx, int& sy, int& sz,
                                           bool done[3]) {
    Machine& m = m_;
    MachineSignals& g = m.signals;
    MachinePosition& p = m.position;
    ReadInputs(m);
    const int planned[3] = {sx, sy, sz};
    if (g.limitX.load(kRelaxed)) {
        SetControlOutputs(m, -1, -1, 1);
        sx = 0;
        done[0] = true;
    }
    if (g.limitY.load(kRelaxed)) {
        SetControlOutputs(m, -1, -1, 1);
        sy = 0;
        done[1] = true;
    }
    if (g.limitZ.load(kRelaxed) && c.dz < 0) {
        sz = 0;
        done[2] = true;
    }
    if (g.zSensor.load(kRelaxed) && c.dz > 0) {
        sz = 0;
        done[2] = true;
        setRelativeOriginAtProbe();
    }
    // A step the switch holds back is no longer planned, and an axis held
    // at 0 moves its frame with it.
    if (sx == -1) Reframe(p.absX, p.plannedX, 1);
    if (sy == -1) Reframe(p.absY, p.plannedY, 1);
    if (sz == -1) Reframe(p.absZ, p.plannedZ, 1);
    if (sx != planned[0]) p.plannedX.fetch_sub(planned[0]);
    if (sy != planned[1]) p.plannedY.fetch_sub(planned[1]);
    if (sz != planned[2]) p.plannedZ.fetch_sub(planned[2]);
}

void MoveRunner::setRelativeOriginAtProbe() {
    MachinePosition& p = m_.position;
    p.relOriginX.store(p.absX.load());
    p.relOriginY.store(p.absY.load());
    p.relOriginZ.store(p.absZ.load() + sensorSteps_);
    p.relOriginSet.store(1);
}

void MoveRunner::ramped(MotionCommand& c) {
    Machine& m = m_;
    const int L = std::clamp(m.settings.rampSteps, 1, kMaxRampSteps);
    const MoveTimer timer(m);
    int period = 0;
    for (bool first = true;; first = false) {
        const int n = static_cast<int>(LowestNonZero(m.log, static_cast<float>(std::abs(c.dx)),
                                                     static_cast<float>(std::abs(c.dy)),
                                                     static_cast<float>(std::abs(c.dz))));
        if (n <= 0) return;
        const int half = n / 2;
        const int32_t* table = phaseTable(c, L, n);
        if (first) period = table[0];
        int madeX = 0, madeY = 0, madeZ = 0, i = 0, r = n;
        bool phaseEnded = false;
        while (!phaseEnded) {
            m.gate.pass();
            if (stopping()) return;
            if (i < half)
                period = table[std::min(i, L - 1)];
            else if (r < L && r > 0)
                period = table[r - 1];
            Store(m.executor.currentPeriodUs, period);
            const int sx = Toward(madeX, c.dx), sy = Toward(madeY, c.dy), sz = Toward(madeZ, c.dz);
            if (sx | sy | sz) {
                ++i;
                --r;
            }
            madeX += sx;
            madeY += sy;
            madeZ += sz;
            c.remainingTimeS -= timer.tickSeconds(period);
            tick(c, sx, sy, sz, period, madeX, madeY, madeZ);
            if (c.checkSwitches) [[unlikely]]
                phaseEnded = checkSwitchesRamped(c, madeX, madeY, madeZ);
            // A switch ends the phase too: the axes still moving go on from
            // what they made, not from the phase's start.
            if (i == n || phaseEnded) {
                c.dx -= madeX;
                c.dy -= madeY;
                c.dz -= madeZ;
                phaseEnded = true;
            }
            if (phaseEnded) m.buffer.publishFront(c.dx, c.dy, c.dz, c.remainingTimeS);
        }
        if (c.dx == 0 && c.dy == 0 && c.dz == 0) return;
    }
}

// Homing: an axis whose switch answers stops there, and that place becomes
// its zero. The probe answering a downward Z move stops Z and sets the
// relative origin at the surface under the probe. Returns true when the
// phase ends.
bool MoveRunner::checkSwitchesRamped(MotionCommand& c, int& madeX, int& madeY, int& madeZ) {
    Machine& m = m_;
    MachineSignals& g = m.signals;
    MachinePosition& p = m.position;
    bool ended = false;
    ReadInputs(m);
    if (g.limitX.load(kRelaxed) && c.dx != 0) {
        SetControlOutputs(m, -1, -1, 1);
        Reframe(p.absX, p.plannedX, 0, c.dx - madeX);
        p.homedAxes.fetch_or(1);
        madeX = c.dx = 0;
        ended = true;
    }
    if (g.limitY.load(kRelaxed) && c.dy != 0) {
        SetControlOutputs(m, -1, -1, 1);
        Reframe(p.absY, p.plannedY, 0, c.dy - madeY);
        p.homedAxes.fetch_or(2);
        madeY = c.dy = 0;
        ended = true;
    }
    if (g.limitZ.load(kRelaxed) && c.dz != 0) {
        Reframe(p.absZ, p.plannedZ, 0, c.dz - madeZ);
        p.homedAxes.fetch_or(4);
        madeZ = c.dz = 0;
        ended = true;
    }
    if (g.zSensor.load(kRelaxed) && c.dz > 0) {
        // Z keeps its homed frame, so the soft limits still guard the real
        // travel; the rest of the descent is no longer planned.
        p.plannedZ.fetch_sub(c.dz - madeZ);
        madeZ = c.dz = 0;
        setRelativeOriginAtProbe();
        ended = true;
    }
    return ended;
}

// The phase's periods come from the table of the moving axis with the
// lowest acceleration rate, read in place. Without a usable rate every tick
// runs at the travel rate's period, filled for the ticks of this phase only.
const int32_t* MoveRunner::phaseTable(const MotionCommand& c, int L, int n) {
    Machine& m = m_;
    const MachineSettings& s = m.settings;
    const float u = c.dx ? s.accelSpeedX / s.mmPerStepX : 0;
    const float v = c.dy ? s.accelSpeedY / s.mmPerStepY : 0;
    const float w = c.dz ? s.accelSpeedZ / s.mmPerStepZ : 0;
    const int k = LowestNonZeroAxis(m.log, u, v, w);
    if (k >= 0 && static_cast<int>(m.accel.axis[k].periodsUs.size()) >= L)
        return m.accel.axis[k].periodsUs.data();
    m.log.say({"! chyba vyberu tabulky zrychleni /vykonejprikaz/",
               "! error choosing table of acceleration /vykonejprikaz/"},
              true, true);
    const float rate = LowestNonZero(m.log, s.moveSpeedX / s.mmPerStepX,
                                     s.moveSpeedY / s.mmPerStepY, s.moveSpeedZ / s.mmPerStepZ);
    const int32_t period = rate > 0 ? std::max(RoundHalfAway(1e6 / rate), 1) : kSlowestFallbackUs;
    m.accel.working.assign(static_cast<size_t>(std::min(L, n)), period);
    return m.accel.working.data();
}

}  // namespace korvex
