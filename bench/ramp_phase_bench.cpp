// Short ramped moves with long acceleration tables: a phase reads its
// axis's table in place, and without a usable acceleration rate it fills
// the travel-rate period for its own ticks only, so neither costs the size
// of the tables. Arg 0: usable tables (the baseline); arg 1: no usable rate.

#include <benchmark/benchmark.h>

#include "bench_machine.h"
#include "motion/acceleration.h"
#include "motion/move_runner.h"

namespace korvex::bench {
namespace {

void BM_ShortRampedMoves(benchmark::State& state) {
    Machine m;
    FreePort port;
    FrozenClock clock;
    Prepare(m, &port, clock);
    m.settings.rampSteps = 1 << 22;
    BuildAccelerationTables(m);
    if (state.range(0)) m.settings.accelSpeedX = 0.001f;  // under 1 Hz: no table fits
    MoveRunner runner(m);
    for (auto _ : state) {
        MotionCommand there{10, 0, 0, 1000, 1};
        runner.run(there);
        MotionCommand back{-10, 0, 0, 1000, 1};
        runner.run(back);
    }
}

BENCHMARK(BM_ShortRampedMoves)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace korvex::bench
