// The executor's throughput: ticks per second of long moves run as a
// counting simulation (no port), on the simulated machine with the virtual
// clock, and through a port and clock that cost nothing (the tick's own
// bookkeeping). The baseline converts the settings in every tick, as a tick
// without a precomputed plan would.

#include <benchmark/benchmark.h>

#include "bench_machine.h"
#include "motion/acceleration.h"
#include "motion/motion_rig.h"
#include "motion/move_runner.h"
#include "motion/port.h"
#include "motion/rounding.h"

namespace korvex::bench {
namespace {

constexpr int kSteps = 2'000'000;

// Long moves there and back, run by the executor's per-command routine on
// the bench thread, so that the counters see that thread's processor time.
void RunMoves(benchmark::State& state, Machine& m) {
    BuildAccelerationTables(m);
    MoveRunner runner(m);
    const int ramped = static_cast<int>(state.range(0));
    int64_t ticks = 0;
    for (auto _ : state) {
        const int64_t before = m.executor.ticks;
        MotionCommand there{kSteps, kSteps / 3, kSteps / 7, 1000, ramped};
        runner.run(there);
        MotionCommand back{-kSteps, -kSteps / 3, -kSteps / 7, 1000, ramped};
        runner.run(back);
        ticks += m.executor.ticks - before;
    }
    state.counters["ticks_per_s"] =
        benchmark::Counter(static_cast<double>(ticks), benchmark::Counter::kIsRate);
    state.counters["ns_per_tick"] = benchmark::Counter(
        static_cast<double>(ticks), benchmark::Counter::kIsRate | benchmark::Counter::kInvert,
        benchmark::Counter::kIs1000);
}

void BM_CountingSimulation(benchmark::State& state) {
    Machine m;
    FrozenClock clock;
    Prepare(m, nullptr, clock);
    RunMoves(state, m);
}

void BM_SimulatedMachineVirtualClock(benchmark::State& state) {
    Machine m;
    VirtualClock clock;
    Prepare(m, nullptr, clock);
    m.settings.softLimits = 0;
    SimulatedMachine sim(clock, SimConfigFromSettings(m.settings));
    LoadPortLibrary(m, sim);
    TestPort(m);
    RunMoves(state, m);
}

void BM_TickBookkeeping(benchmark::State& state) {
    Machine m;
    FreePort port;
    FrozenClock clock;
    Prepare(m, &port, clock);
    RunMoves(state, m);
}

// A tick that converts what it needs from the settings every time.
int ConvertingOutputStep(Machine& m, int sx, int sy, int sz) {
    const MachineSettings& s = m.settings;
    int steps[3] = {sx, sy, sz};
    Counter* c[3] = {&m.position.absX, &m.position.absY, &m.position.absZ};
    const int limit[3] = {RoundHalfAway(s.travelX / s.mmPerStepX),
                          RoundHalfAway(s.travelY / s.mmPerStepY),
                          RoundHalfAway(s.travelZ / s.mmPerStepZ)};
    uint8_t idle = 0, pulse = 0;
    const int dirMask[3] = {s.pinDirX, s.pinDirY, s.pinDirZ};
    const int stepMask[3] = {s.pinStepX, s.pinStepY, s.pinStepZ};
    const int invertDir[3] = {s.invertDirX, s.invertDirY, s.invertDirZ};
    for (int i = 0; i < 3; ++i) {
        if (s.softLimits && (*c[i] + steps[i] > limit[i] || *c[i] + steps[i] < 0)) steps[i] = 0;
        if ((steps[i] > 0) != (invertDir[i] != 0)) idle = static_cast<uint8_t>(idle + dirMask[i]);
        if ((steps[i] != 0) != (s.invertStep != 0))
            pulse = static_cast<uint8_t>(pulse + stepMask[i]);
    }
    PortIo& io = *m.port.io;
    const auto data = static_cast<uint16_t>(s.lptAddress);
    io.out(data, idle);
    io.out(data, static_cast<uint8_t>(idle + pulse));
    io.out(data, idle);
    for (int i = 0; i < 3; ++i) *c[i] += steps[i];
    return 1;
}

void BM_TickBookkeepingBaseline(benchmark::State& state) {
    Machine m;
    FreePort port;
    FrozenClock clock;
    Prepare(m, &port, clock);
    int64_t ticks = 0;
    for (auto _ : state) {
        const double kx = 1.0, ky = 1.0 / 3, kz = 1.0 / 7;
        int sumX = 0, sumY = 0, sumZ = 0;
        for (int i = 1; i <= kSteps; ++i) {
            const int sx = RoundHalfAway(i * kx - sumX), sy = RoundHalfAway(i * ky - sumY),
                      sz = RoundHalfAway(i * kz - sumZ);
            ConvertingOutputStep(m, sx, sy, sz);
            sumX += sx, sumY += sy, sumZ += sz;
        }
        m.position.absX = m.position.absY = m.position.absZ = 0;
        ticks += kSteps;
    }
    state.counters["ticks_per_s"] =
        benchmark::Counter(static_cast<double>(ticks), benchmark::Counter::kIsRate);
    state.counters["ns_per_tick"] = benchmark::Counter(
        static_cast<double>(ticks), benchmark::Counter::kIsRate | benchmark::Counter::kInvert,
        benchmark::Counter::kIs1000);
}

BENCHMARK(BM_CountingSimulation)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(0.5);
BENCHMARK(BM_SimulatedMachineVirtualClock)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(0.5);
BENCHMARK(BM_TickBookkeeping)->Arg(0)->Unit(benchmark::kMillisecond)->MinTime(0.5);
BENCHMARK(BM_TickBookkeepingBaseline)->Unit(benchmark::kMillisecond)->MinTime(0.5);

}  // namespace
}  // namespace korvex::bench
