#include "motion/step_output.h"

#include "motion/port.h"
#include "motion/rounding.h"

namespace korvex {

namespace {

constexpr int64_t kMicrosecondsPerSecond = 1'000'000;

// Counter ticks for `us` microseconds, truncated.
int64_t TicksFor(const StepOutputPlan& p, int64_t frequency, int64_t us) {
    return p.ticksPerUs ? us * p.ticksPerUs : us * frequency / kMicrosecondsPerSecond;
}

int Unit(int step) {
    return step == 1 || step == -1 ? step : 0;
}

void Advance(Counter& counter, int step) {
    if (step)
        counter.store(counter.load(std::memory_order_relaxed) + step, std::memory_order_relaxed);
}

void LogLateness(StepTiming& t, int64_t lateTicks, int64_t frequency) {
    t.logTiming(RoundHalfAway(static_cast<double>(lateTicks) / static_cast<double>(frequency) *
                              kMicrosecondsPerSecond));
}

}  // namespace

void PrepareStepOutput(Machine& m) {
    const MachineSettings& s = m.settings;
    StepOutputPlan& p = m.timing.plan;
    p.portActive = m.port.io && m.signals.portReady.load() && !s.useSerial && s.driveMode == 3;
    p.softLimits = s.softLimits != 0;
    for (int a = 0; a < 3; ++a) p.limitSteps[a] = TravelSteps(s, a);
    p.oldTimer = s.oldTimer != 0;
    const int64_t f = m.timing.clock->frequency();
    p.ticksPerUs = f % kMicrosecondsPerSecond == 0 ? f / kMicrosecondsPerSecond : 0;
    p.dirSetupTicks = TicksFor(p, f, s.dirSetupUs) + 1;
    p.pulseTicks = TicksFor(p, f, s.stepPulseUs) + 1;
    p.dataAddress = static_cast<uint16_t>(s.lptAddress);
    const int stepMask[4] = {s.pinStepX, s.pinStepY, s.pinStepZ, s.pinStepS4};
    const int dirMask[4] = {s.pinDirX, s.pinDirY, s.pinDirZ, s.pinDirS4};
    const bool invertDir[4] = {s.invertDirX != 0, s.invertDirY != 0, s.invertDirZ != 0, false};
    for (int i = 0; i < 81; ++i) {
        const int steps[4] = {i % 3 - 1, i / 3 % 3 - 1, i / 9 % 3 - 1, i / 27 - 1};
        // Sums taken as 8-bit values, as the masks are added up.
        uint8_t dirs = 0, idleSteps = 0, pulseSteps = 0;
        for (int a = 0; a < 4; ++a) {
            if ((steps[a] > 0) != invertDir[a]) dirs = static_cast<uint8_t>(dirs + dirMask[a]);
            if (s.invertStep) idleSteps = static_cast<uint8_t>(idleSteps + stepMask[a]);
            if ((steps[a] != 0) != (s.invertStep != 0))
                pulseSteps = static_cast<uint8_t>(pulseSteps + stepMask[a]);
        }
        p.patterns[i] = {static_cast<uint8_t>(dirs + idleSteps),
                         static_cast<uint8_t>(dirs + pulseSteps)};
    }
    p.frequency = f;
    p.statusAddress = static_cast<uint16_t>(s.lptAddress + 1);
    p.inputs = WiringFor(s);
    m.timing.planned.store(true, std::memory_order_release);
}

int OutputStep(Machine& m, int stepX, int stepY, int stepZ, int stepS4, int periodUs,
               int timingOnly) {
    StepTiming& t = m.timing;
    if (!t.planned.load(std::memory_order_acquire)) PrepareStepOutput(m);
    const StepOutputPlan& p = t.plan;
    MachinePosition& pos = m.position;
    Counter* counters[4] = {&pos.absX, &pos.absY, &pos.absZ, &pos.absS4};
    Counter* planned[3] = {&pos.plannedX, &pos.plannedY, &pos.plannedZ};

    int steps[4] = {Unit(stepX), Unit(stepY), Unit(stepZ), Unit(stepS4)};
    if (p.softLimits) {
        for (int i = 0; i < 3; ++i) {
            const int32_t next = counters[i]->load(std::memory_order_relaxed) + steps[i];
            if ((next > p.limitSteps[i] || next < 0) && steps[i]) [[unlikely]] {
                // A dropped step is no longer planned: the moves after it
                // start from where the tool really is.
                if (!timingOnly) {
                    Advance(t.softLimitDrops[i], 1);
                    planned[i]->fetch_sub(steps[i], std::memory_order_relaxed);
                }
                steps[i] = 0;
            }
        }
    }

    if (p.portActive) {
        // An emergency seen by the executor halts it before this tick's
        // pulse. After the release the inputs are read again, and a reset
        // or quit that came meanwhile abandons the tick without its pulse.
        // Any other thread never blocks here: once the stop is latched,
        // even by this tick's own read, its tick makes no pulse and is left
        // to the caller to make again after the release.
        // A latched stop always holds the gate, so the common tick pays for
        // three loads only.
        for (;;) {
            ReadInputs(m, p.inputs, p.statusAddress);
            if (m.gate.count() == 0) [[likely]]
                break;
            if (t.executorThread.load(std::memory_order_relaxed) != std::this_thread::get_id()) {
                if (m.signals.estopActive.load() && !timingOnly &&
                    (steps[0] | steps[1] | steps[2] | steps[3]))
                    return 0;
                break;
            }
            m.gate.pass();
            if (m.executor.resetRequest.load() || m.executor.quitRequest.load()) return 0;
        }
        // The stop this tick latched may have been released, a reset asked
        // before the release, before the gate was looked at: the reset still
        // abandons the tick without its pulse.
        if ((m.executor.resetRequest.load() || m.executor.quitRequest.load()) &&
            t.executorThread.load(std::memory_order_relaxed) == std::this_thread::get_id())
            [[unlikely]]
            return 0;
        const StepOutputPlan::Patterns pattern =
            p.patterns[PatternIndex(steps[0], steps[1], steps[2], steps[3])];
        const uint8_t idle = pattern.idle, pulse = pattern.pulse;

        PerformanceCounter& clock = *t.clock;
        PortIo& io = *m.port.io;
        const int64_t f = p.frequency;
        if (!p.oldTimer) {
            const int64_t deadline = t.nextTickDeadline.load(std::memory_order_relaxed);
            clock.waitUntil(deadline);
            LogLateness(t, clock.now() - deadline, f);
        }
        if (!timingOnly) io.out(p.dataAddress, idle);
        clock.waitUntil(clock.now() + p.dirSetupTicks);
        if (!timingOnly) io.out(p.dataAddress, pulse);
        clock.waitUntil(clock.now() + p.pulseTicks);
        if (!timingOnly) io.out(p.dataAddress, idle);
        const int64_t period = TicksFor(p, f, periodUs) + 1;
        if (p.oldTimer)
            clock.waitUntil(clock.now() + period);
        else
            t.nextTickDeadline.store(clock.now() + period, std::memory_order_relaxed);
        if (!io.healthy()) [[unlikely]] {
            // Whether the pulse left the port is unknown: not counted.
            StopForFailingPort(m);
            return 1;
        }
    }

    if (!timingOnly)
        for (int i = 0; i < 4; ++i) Advance(*counters[i], steps[i]);
    return 1;
}

SoftLimitDrops TakeSoftLimitDrops(Machine& m) {
    std::atomic<int32_t>* d = m.timing.softLimitDrops;
    return {d[0].exchange(0), d[1].exchange(0), d[2].exchange(0)};
}

void WaitMicroseconds(Machine& m, int64_t us) {
    PerformanceCounter& clock = *m.timing.clock;
    clock.waitUntil(clock.now() + us * clock.frequency() / kMicrosecondsPerSecond + 1);
}

}  // namespace korvex
