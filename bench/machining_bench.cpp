// The separation circle's table for a 100 mm circle at 0.01 mm per step
// (r = 5000 steps), against a table built the way a fixed array needs it:
// one sweep to count the moves and a second to store them. And surface
// milling: commands generated per second, appended or only counted.

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <vector>

#include "machining/circle_table.h"
#include "machining/surface_milling.h"
#include "motion/machine.h"
#include "motion/rounding.h"

namespace korvex {
namespace {

constexpr int32_t kRadius = 5000;

void BM_CircleTable(benchmark::State& state) {
    CircleTable table;
    Text failure{};
    for (auto _ : state) {
        BuildCircleTable(table, {kRadius, 0, 0}, {0, 0, 0}, {kRadius, 0, 0}, failure);
        benchmark::DoNotOptimize(table.moves.data());
    }
    state.SetItemsProcessed(state.iterations() * table.count());
}
BENCHMARK(BM_CircleTable)->Unit(benchmark::kMicrosecond);

// The baseline: the same sweep twice, first counting, then storing into an
// array of the counted size.
int TwoSweepTable(std::vector<CircleMove>& moves, int32_t r) {
    const double delta = std::asin(1.0 / r) / 3;
    auto sweep = [&](auto&& visit) {
        int32_t px = 0, py = 0;
        for (int64_t k = 0;; ++k) {
            const double theta = static_cast<double>(k - 1) * delta;
            if (theta > 6.283185307179586) break;
            const int32_t x = RoundHalfAway(r * std::cos(theta));
            const int32_t y = RoundHalfAway(r * std::sin(theta));
            const int32_t dx = x - px, dy = y - py;
            px = x;
            py = y;
            if (k > 0 && std::abs(dx) <= 1 && std::abs(dy) <= 1 && (dx || dy)) visit(dx, dy);
        }
    };
    size_t count = 0;
    sweep([&](int32_t, int32_t) { ++count; });
    moves.assign(count, CircleMove{});
    size_t k = 0;
    sweep([&](int32_t dx, int32_t dy) { moves[k++] = {dx, dy, 0}; });
    return static_cast<int>(count);
}

void BM_CircleTableTwoSweeps(benchmark::State& state) {
    std::vector<CircleMove> moves;
    int count = 0;
    for (auto _ : state) {
        count = TwoSweepTable(moves, kRadius);
        benchmark::DoNotOptimize(moves.data());
    }
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_CircleTableTwoSweeps)->Unit(benchmark::kMicrosecond);

// A 100 x 100 mm surface at 1 mm pitch in four passes: about 1 200 commands
// in strokes (argument 1), about 800 in a spiral (argument 3).
void SurfaceGeneration(benchmark::State& state, bool countOnly) {
    const auto style = static_cast<SurfaceStyle>(state.range(0));
    Machine m;
    LoadFactoryDefaults(m.settings);
    m.buffer.allocate(50'000);
    m.position.relOriginSet = 1;
    const SurfaceMillingJob job{1000, 1000, 30, 10, 10};
    const JobValues values{1.0f, 10};
    const int32_t commands = GenerateSurfaceMilling(m, job, values, true, style);
    for (auto _ : state) {
        if (countOnly) {
            benchmark::DoNotOptimize(GenerateSurfaceMilling(m, job, values, true, style));
        } else {
            GenerateSurfaceMilling(m, job, values, false, style);
            state.PauseTiming();
            m.buffer.reset();
            state.ResumeTiming();
        }
    }
    state.SetItemsProcessed(state.iterations() * commands);
}

void BM_SurfaceAppend(benchmark::State& state) {
    SurfaceGeneration(state, false);
}
void BM_SurfaceCount(benchmark::State& state) {
    SurfaceGeneration(state, true);
}
BENCHMARK(BM_SurfaceAppend)->Arg(1)->Arg(3)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SurfaceCount)->Arg(1)->Arg(3)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace korvex
