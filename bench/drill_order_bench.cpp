// Ordering 20 000 holes of one drill for travel: the k-d tree chain against
// the scan of every remaining hole at every step (same order), on scattered
// holes and on a board-like field of dense clusters.

#include <benchmark/benchmark.h>

#include <random>

#include "drilling/hole_order.h"

namespace korvex {
namespace {

std::vector<DrillHole> ScatteredHoles(int n, bool clustered) {
    std::mt19937 random(1);
    std::uniform_int_distribution<int> coordinate(0, 40'000);
    std::uniform_int_distribution<int> near(0, 400);
    std::vector<DrillHole> holes;
    DrillHole centre{0, 0, 0};
    for (int i = 0; i < n; ++i) {
        if (!clustered || i % 50 == 0) centre = {0, coordinate(random), coordinate(random)};
        holes.push_back(clustered ? DrillHole{0, centre.x + near(random), centre.y + near(random)}
                                  : DrillHole{0, coordinate(random), coordinate(random)});
    }
    return holes;
}

template <std::vector<int> (*Chain)(const std::vector<DrillHole>&, double, double)>
void BM_HoleChain(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const std::vector<DrillHole> holes = ScatteredHoles(n, state.range(1) != 0);
    for (auto _ : state) benchmark::DoNotOptimize(Chain(holes, 0.01, 0.01).data());
    state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_HoleChain<NearestHoleChainByScan>)
    ->Name("BM_HoleChainByScan")
    ->Args({20'000, 0})
    ->Args({20'000, 1})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HoleChain<NearestHoleChain>)
    ->Name("BM_HoleChainByTree")
    ->Args({20'000, 0})
    ->Args({20'000, 1})
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace korvex
