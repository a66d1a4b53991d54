// Filling a 50 000-entry buffer and draining it command by command: the
// ring against a buffer that shifts every entry down after each command.

#include <benchmark/benchmark.h>

#include <vector>

#include "motion/machine.h"

namespace korvex {
namespace {

constexpr int kCapacity = 50'000;

// The baseline: entry 0 is the front, removal copies every entry down.
struct ShiftingBuffer {
    std::vector<MotionCommand> entries = std::vector<MotionCommand>(kCapacity);
    int lastIndex = -1;
    void push(const MotionCommand& c) { entries[++lastIndex] = c; }
    void removeFront() {
        for (int i = 1; i <= lastIndex; ++i) entries[i - 1] = entries[i];
        entries[lastIndex--] = MotionCommand{};
    }
};

void BM_DrainShifting(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    ShiftingBuffer buffer;
    for (auto _ : state) {
        for (int i = 0; i < n; ++i) buffer.push({1, 0, 0, 1000});
        while (buffer.lastIndex >= 0) buffer.removeFront();
        benchmark::DoNotOptimize(buffer.entries.data());
    }
    state.SetItemsProcessed(state.iterations() * n);
}

void BM_DrainRing(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    Machine m;
    m.buffer.allocate(kCapacity);
    for (auto _ : state) {
        for (int i = 0; i < n; ++i) m.buffer.push({1, 0, 0, 1000}, m.log);
        while (m.buffer.lastIndex() >= 0) m.buffer.removeFront();
        benchmark::DoNotOptimize(m.buffer.queued());
    }
    state.SetItemsProcessed(state.iterations() * n);
}

BENCHMARK(BM_DrainShifting)->Arg(5'000)->Arg(kCapacity)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DrainRing)->Arg(5'000)->Arg(kCapacity)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace korvex
