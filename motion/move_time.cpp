#include "motion/move_time.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "motion/acceleration.h"
#include "motion/machine.h"
#include "motion/rounding.h"
#include "platform/clock.h"

namespace korvex {

namespace {

constexpr int32_t kSlowestFallbackUs = 1'000'000;

// The periods one ramp phase runs through: an axis table, or the travel
// rate's period on every tick where no table fits.
struct PhasePeriods {
    const int32_t* table = nullptr;
    const int64_t* sums = nullptr;
    int64_t constant = 0;

    int64_t at(int64_t i) const { return table ? table[i] : constant; }
    int64_t sum(int64_t k) const { return table ? sums[k] : k * constant; }
};

}  // namespace

MoveTimer::MoveTimer(const Machine& m) : s_(m.settings) {
    for (int a = 0; a < 3; ++a) tables_[a] = &m.accel.axis[a];
    prepare(m.timing.clock->frequency());
}

MoveTimer::MoveTimer(const MachineSettings& s) : s_(s) {
    const int L = std::max(s.rampSteps, 1);
    const float speed[3] = {s.moveSpeedX, s.moveSpeedY, s.moveSpeedZ};
    const float accel[3] = {s.accelSpeedX, s.accelSpeedY, s.accelSpeedZ};
    const float step[3] = {s.mmPerStepX, s.mmPerStepY, s.mmPerStepZ};
    const int linear[3] = {s.linearRampX, s.linearRampY, s.linearRampZ};
    for (int a = 0; a < 3; ++a) {
        // Past the longest ramp the machine builds no tables either.
        if (L <= kMaxRampSteps)
            own_[a] = BuildAxisTable(speed[a] / step[a], accel[a] / step[a], L, linear[a] != 0);
        tables_[a] = &own_[a];
    }
    prepare(SystemClock().frequency());
}

void MoveTimer::prepare(int64_t frequency) {
    rampSteps_ = std::clamp(s_.rampSteps, 1, kMaxRampSteps);
    frequency_ = static_cast<double>(frequency);
    ticksPerUs_ = frequency % 1'000'000 == 0 ? frequency_ / 1e6 : 0;
    tickOverhead_ = waitTicks(s_.dirSetupUs) + waitTicks(s_.stepPulseUs);
    oldTimer_ = s_.oldTimer != 0;
}

// As OutputStep waits: truncated to the clock, plus one tick; a wait that
// ends before it starts is none.
double MoveTimer::waitTicks(int64_t us) const {
    const double ticks = ticksPerUs_ ? static_cast<double>(us) * ticksPerUs_
                                     : std::trunc(static_cast<double>(us) * frequency_ / 1e6);
    return std::max(0.0, ticks + 1);
}

double MoveTimer::clockTicks(int64_t count, int64_t periodsUs) const {
    // Exact on a clock of whole ticks per microsecond; elsewhere each tick's
    // truncation is spread evenly, within a clock tick per tick.
    const double perUs = ticksPerUs_ ? ticksPerUs_ : frequency_ / 1e6;
    return static_cast<double>(count) * (tickOverhead_ + 1) +
           static_cast<double>(periodsUs) * perUs;
}

double MoveTimer::tickSeconds(int32_t periodUs) const {
    return (tickOverhead_ + waitTicks(periodUs)) / frequency_;
}

// Phase by phase as MoveRunner::ramped runs them: a phase lasts as many
// ticks as the fewest steps left on a moving axis; it climbs the table over
// its first half, holds the last period reached, and descends the table over
// its last rampSteps - 1 ticks.
int64_t MoveTimer::rampedPeriodsUs(const MotionCommand& c, int64_t& ticks, int32_t& lastUs) const {
    const MachineSettings& s = s_;
    const int64_t L = rampSteps_;
    int64_t left[3] = {std::llabs(c.dx), std::llabs(c.dy), std::llabs(c.dz)};
    int64_t total = 0, period = 0;
    ticks = 0;
    for (bool first = true;; first = false) {
        int64_t n = 0;
        for (const int64_t l : left)
            if (l != 0 && (n == 0 || l < n)) n = l;
        if (n == 0) break;
        const float u = left[0] ? s.accelSpeedX / s.mmPerStepX : 0;
        const float v = left[1] ? s.accelSpeedY / s.mmPerStepY : 0;
        const float w = left[2] ? s.accelSpeedZ / s.mmPerStepZ : 0;
        const int k = LowestNonZeroIndex(u, v, w);
        PhasePeriods p;
        if (k >= 0 && static_cast<int64_t>(tables_[k]->periodsUs.size()) >= L) {
            p.table = tables_[k]->periodsUs.data();
            p.sums = tables_[k]->periodSumsUs.data();
        } else {
            float rate = 0;
            for (const float r : {s.moveSpeedX / s.mmPerStepX, s.moveSpeedY / s.mmPerStepY,
                                  s.moveSpeedZ / s.mmPerStepZ})
                if (r != 0 && (rate == 0 || r < rate)) rate = r;
            p.constant = rate > 0 ? std::max(RoundHalfAway(1e6 / rate), 1) : kSlowestFallbackUs;
        }
        if (first) period = p.at(0);
        const int64_t half = n / 2, second = n - half;
        total += p.sum(std::min(half, L)) + std::max<int64_t>(half - L, 0) * p.at(L - 1);
        // The second half starts with the period the climb reached (the
        // previous phase's last in a phase of one tick).
        const int64_t held = half > 0 ? p.at(std::min(half, L) - 1) : period;
        const int64_t descent = std::min(second, L - 1);
        total += p.sum(descent) + (second - descent) * held;
        period = L > 1 ? p.at(0) : held;
        ticks += n;
        for (int64_t& l : left)
            if (l != 0) l -= n;
    }
    lastUs = static_cast<int32_t>(period);
    return total;
}

double MoveTimer::seconds(const MotionCommand& c) const {
    int64_t ticks = 0;
    int32_t lastUs = 0;
    double clock = 0;
    if (c.accelerated) {
        const int64_t periodsUs = rampedPeriodsUs(c, ticks, lastUs);
        clock = clockTicks(ticks, periodsUs);
    } else {
        ticks = std::max({std::llabs(c.dx), std::llabs(c.dy), std::llabs(c.dz)});
        lastUs = c.periodUs;
        clock = static_cast<double>(ticks) * (tickOverhead_ + waitTicks(c.periodUs));
    }
    if (c.dwellAfter) {
        const double dwell =
            std::max(0.0, std::trunc(static_cast<double>(s_.dwellSeconds))) * frequency_;
        // The new timer's last period runs out during the dwell; the old one
        // waits it first.
        const double lastPeriod = ticks > 0 ? waitTicks(lastUs) : 0;
        clock += oldTimer_ ? dwell : std::max(dwell, lastPeriod) - lastPeriod;
    }
    return clock / frequency_;
}

}  // namespace korvex
