// Ordering a layer of 20 000 objects for travel: the grid-based chain
// against the scan of every remaining object at every step (same order).

#include <benchmark/benchmark.h>

#include <random>

#include "vector/travel_order.h"

namespace korvex {
namespace {

VectorModel ScatteredObjects(int n) {
    std::mt19937 random(1);
    std::uniform_int_distribution<int> coordinate(0, 40'000);
    VectorModel model;
    for (int i = 0; i < n; ++i) {
        const VectorPoint a{coordinate(random), coordinate(random), 0};
        model.objects.push_back({1, 0, 0, {a, {a.x + 50, a.y + 30, 0}}});
    }
    return model;
}

template <void (*Order)(const VectorModel&, std::vector<int32_t>&)>
void BM_Order(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const VectorModel model = ScatteredObjects(n);
    for (auto _ : state) {
        std::vector<int32_t> order(n);
        for (int i = 0; i < n; ++i) order[i] = i;
        Order(model, order);
        benchmark::DoNotOptimize(order.data());
    }
    state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_Order<OrderForTravelByScan>)
    ->Name("BM_TravelOrderByScan")
    ->Arg(20'000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Order<OrderForTravel>)
    ->Name("BM_TravelOrderByGrid")
    ->Arg(20'000)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace korvex
