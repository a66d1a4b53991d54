#include "motion/acceleration.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <new>

#include "log/text.h"

namespace korvex {

namespace {

constexpr int32_t kMaxPeriodUs = 10'000'000;
// How far a ramp's entry may run above its top speed (the rounding of the
// documented tables).
constexpr double kTopTolerance = 1.01;

// A period for any value the formulas produce: non-finite or non-positive
// values take `fallback`, the rest is kept within 1 .. kMaxPeriodUs.
int32_t Sane(double us, int32_t fallback) {
    if (!std::isfinite(us) || us < 1) return fallback;
    return us > kMaxPeriodUs ? kMaxPeriodUs : static_cast<int32_t>(us);
}

int32_t Truncated(float x) {
    if (!(x > INT_MIN && x < INT_MAX)) return x > 0 ? INT_MAX : 0;
    return static_cast<int32_t>(x);
}

// K in steps/s². A zero or negative denominator has no constant (0), so
// the caller falls back to the linear ramp.
int32_t RampConstant(int32_t a, int32_t b, int L) {
    if (b == 0) return 1;
    const int64_t q = a / b;
    const int64_t n = 2LL * L - 3;
    const float s = std::sqrt(static_cast<float>(q * q + n * n - 1)) + static_cast<float>(n);
    if (!(s > 0)) return 0;
    const float numerator = static_cast<float>(2 * (int64_t{a} * a - int64_t{b} * b));
    return Truncated(numerator / s);
}

void FillConstantAcceleration(std::vector<int32_t>& t, int32_t a, int32_t K, int32_t fallback) {
    const int L = static_cast<int>(t.size());
    const int64_t a2 = int64_t{a} * a;
    for (int k = 1; k <= L; ++k) {
        const int64_t m = L - k;
        // A negative radicand would be an imaginary velocity: the ramp
        // cannot be that long at this constant, so that velocity is 0.
        const float v1 = std::sqrt(std::max(0.0f, static_cast<float>(a2 - (2 * m - 2) * K)));
        const float v2 = std::sqrt(std::max(0.0f, static_cast<float>(a2 - 2 * m * K)));
        const float period = 2.0f / (v1 + v2) * 1'000'000.0f;
        t[k - 1] = Sane(std::trunc(period), fallback);
    }
}

void FillLinearPeriod(std::vector<int32_t>& t, float fs, float fa, int32_t fallback) {
    const int L = static_cast<int>(t.size());
    const double p1 = 1'000'000.0 / fs, p0 = 1'000'000.0 / fa;
    const float d = static_cast<float>((p1 - p0) / L);
    for (int k = 1; k <= L; ++k)
        t[k - 1] = Sane(std::trunc(p1) - std::trunc(static_cast<float>(k) * d), fallback);
}

}  // namespace

AccelerationTable BuildAxisTable(float fs, float fa, int rampSteps, bool constantAcceleration) {
    AccelerationTable table;
    table.periodsUs.assign(static_cast<size_t>(std::max(rampSteps, 1)), 0);
    const int32_t fallback = Sane(std::trunc(1'000'000.0 / fs), kMaxPeriodUs);
    bool filled = false;
    if (constantAcceleration) {
        const int32_t a = Truncated(fa), b = Truncated(fs);
        const int32_t K = RampConstant(a, b, static_cast<int>(table.periodsUs.size()));
        if (K >= 1) {
            FillConstantAcceleration(table.periodsUs, a, K, fallback);
            table.rampConstant = K;
            table.constantAcceleration = true;
            filled = true;
        }
    }
    if (!filled) FillLinearPeriod(table.periodsUs, fs, fa, fallback);
    // The ramp never runs faster than the faster of its two speeds. A short
    // constant-acceleration ramp tops out well above it (121 Hz for 100 Hz
    // in two steps); the long ones end within a percent (9981 us for
    // 10000), which is kept as documented. A one-step ramp has no climb for
    // the formulas to describe: its tick keeps the top speed exactly.
    const float top = std::max(fs, fa);
    const int32_t topPeriod = Sane(std::trunc(1'000'000.0 / top), fallback);
    const bool oneStep = table.periodsUs.size() == 1;
    for (int32_t& period : table.periodsUs)
        if (oneStep ? period < topPeriod : 1'000'000.0 / period > kTopTolerance * top)
            period = topPeriod;
    table.periodSumsUs.assign(table.periodsUs.size() + 1, 0);
    for (size_t k = 0; k < table.periodsUs.size(); ++k)
        table.periodSumsUs[k + 1] = table.periodSumsUs[k] + table.periodsUs[k];
    return table;
}

std::string RateLine(int axis, const AccelerationTable& table) {
    const auto& t = table.periodsUs;
    if (t.empty()) return {};
    return Format("f(ac) %c[%d..%d]=%2.2fHz - %2.2fHz", "XYZ"[axis], 0,
                  static_cast<int>(t.size()) - 1, 1'000'000.0 / t.front(), 1'000'000.0 / t.back());
}

int BuildAccelerationTables(Machine& m) {
    MachineSettings& s = m.settings;
    const int L = std::max(s.rampSteps, 1);
    struct Axis {
        float speed, accel, step;
        int* linearRamp;
        Text allocationFailed, rampFailed;
    };
    const Axis axes[3] = {
        {s.moveSpeedX,
         s.accelSpeedX,
         s.mmPerStepX,
         &s.linearRampX,
         {"Nebylo mozne vytvorit pozadovanou tabulku zrychleni pro X",
          "Calculating of acceleration failed for X"},
         {"Spocitani akcelerace pro X selhalo", "Calculating acceleration for X failed"}},
        {s.moveSpeedY,
         s.accelSpeedY,
         s.mmPerStepY,
         &s.linearRampY,
         {"Nebylo mozne vytvorit pozadovanou tabulku zrychleni pro Y",
          "Calculating of acceleration failed for Y"},
         {"Spocitann akcelerace pro Y selhalo", "Calculating acceleration for Y failed"}},
        {s.moveSpeedZ,
         s.accelSpeedZ,
         s.mmPerStepZ,
         &s.linearRampZ,
         {"Nebylo mozne vytvorit pozadovanou tabulku zrychleni pro Z",
          "Calculating of acceleration failed for Z"},
         {"Spocitání akcelerace pro Z selhalo", "Calculating acceleration for Z failed"}},
    };
    m.accel.ready.store(false);
    for (AccelerationTable& t : m.accel.axis) t = {};
    m.accel.working.clear();
    try {
        // The kernel grants almost any size and kills the process later; a
        // ramp past kMaxRampSteps is treated as the allocation it would fail.
        if (L > kMaxRampSteps) throw std::bad_alloc();
        m.accel.working.assign(static_cast<size_t>(L), 0);
    } catch (const std::bad_alloc&) {
        m.log.say({"Nebylo mozne vytvorit pozadovanou pomocnou tabulku zrychleni",
                   "Calculating of acceleration temporary table failed"},
                  true, true);
        return 0;
    }
    for (int i = 0; i < 3; ++i) {
        const Axis& a = axes[i];
        const float fs = a.speed / a.step, fa = a.accel / a.step;
        try {
            m.accel.axis[i] = BuildAxisTable(fs, fa, L, *a.linearRamp != 0);
        } catch (const std::bad_alloc&) {
            m.log.say(a.allocationFailed, true, true);
            return 0;
        }
        if (*a.linearRamp && !m.accel.axis[i].constantAcceleration) {
            m.log.say(a.rampFailed, true, true);
            *a.linearRamp = 0;
        }
    }
    for (int i = 0; i < 3; ++i) m.log.line(RateLine(i, m.accel.axis[i]), true, false);
    m.accel.ready.store(true);
    return 1;
}

}  // namespace korvex
