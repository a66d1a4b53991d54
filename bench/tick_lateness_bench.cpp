// How late the step output's ticks start in new-timer mode, at 20 kHz and
// 1 kHz, against a generator that sleeps to each deadline with
// clock_nanosleep (the usual way to make a periodic thread). Counters are
// percentiles of the lateness in microseconds.

#include <benchmark/benchmark.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <thread>
#include <vector>

#include "bench_machine.h"
#include "platform/thread_priority.h"

namespace korvex::bench {
namespace {

constexpr int64_t kNs = 1'000'000'000;

void Report(benchmark::State& state, std::vector<double>& lateUs) {
    std::sort(lateUs.begin(), lateUs.end());
    auto at = [&](double q) { return lateUs[static_cast<size_t>(q * (lateUs.size() - 1))]; };
    state.counters["p50_us"] = at(0.5);
    state.counters["p99_us"] = at(0.99);
    state.counters["p999_us"] = at(0.999);
    state.counters["max_us"] = lateUs.back();
    state.counters["ticks"] = static_cast<double>(lateUs.size());
}

// Args: tick rate in Hz, milliseconds, priority level (6: SCHED_FIFO where
// permitted; kept under the kernel's real-time runtime of 950 ms).
void BM_StepOutputNewTimer(benchmark::State& state) {
    const int rate = static_cast<int>(state.range(0));
    const int ticks = static_cast<int>(rate * state.range(1) / 1000);
    const int level = static_cast<int>(state.range(2));
    const int thread = CurrentThreadId();
    const int previous = ReadThreadPriorityLevel(thread);
    if (level != previous) {
        // A fresh real-time budget: the runs before may have used this one.
        std::this_thread::sleep_for(std::chrono::milliseconds(250));
        ApplyThreadPriority(thread, level);
    }
    Machine m;
    FreePort port;
    MonotonicClock clock;
    Prepare(m, &port, clock);
    m.settings.oldTimer = 0;
    PrepareStepOutput(m);
    // The tick itself waits dirSetupUs + stepPulseUs; the rest is the period.
    const int periodUs = 1'000'000 / rate - m.settings.dirSetupUs - m.settings.stepPulseUs;
    std::vector<double> late;
    late.reserve(static_cast<size_t>(ticks));
    for (auto _ : state) {
        m.timing.nextTickDeadline = clock.now() + 1;
        for (int i = 0; i < ticks; ++i) {
            OutputStep(m, 1, 0, 0, 0, periodUs, 0);
            const int32_t last = (m.timing.timingLogIndex + kTimingLogSize - 1) % kTimingLogSize;
            late.push_back(m.timing.timingLog[last]);
        }
    }
    if (level != previous) ApplyThreadPriority(thread, previous < 0 ? 3 : previous);
    Report(state, late);
}

void BM_NanosleepGenerator(benchmark::State& state) {
    const int rate = static_cast<int>(state.range(0));
    const int ticks = static_cast<int>(rate * state.range(1) / 1000);
    const int64_t period = kNs / rate;
    std::vector<double> late;
    late.reserve(static_cast<size_t>(ticks));
    for (auto _ : state) {
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        int64_t deadline = now.tv_sec * kNs + now.tv_nsec + period;
        for (int i = 0; i < ticks; ++i, deadline += period) {
            const timespec t{static_cast<time_t>(deadline / kNs),
                             static_cast<long>(deadline % kNs)};
            clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &t, nullptr);
            clock_gettime(CLOCK_MONOTONIC, &now);
            late.push_back(static_cast<double>(now.tv_sec * kNs + now.tv_nsec - deadline) / 1e3);
        }
    }
    Report(state, late);
}

BENCHMARK(BM_StepOutputNewTimer)
    ->Args({20'000, 1000, 3})
    ->Args({1'000, 2000, 3})
    ->Args({20'000, 800, 6})
    ->Args({1'000, 800, 6})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NanosleepGenerator)
    ->Args({20'000, 1000})
    ->Args({1'000, 2000})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace korvex::bench
