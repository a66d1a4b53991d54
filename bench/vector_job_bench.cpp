// Generating a one-million-command vector job: counting it (as the dialog
// does before anything is queued) and appending it to a buffer large enough.

#include <benchmark/benchmark.h>

#include "motion/machine.h"
#include "vector/vector_job.h"

namespace korvex {
namespace {

// 10 000 open objects of 96 points in one layer, one pass: 100 commands
// each (travel, descend, plunge, 95 cuts, lift), one million in all.
VectorModel MillionCommandJob() {
    VectorModel model;
    model.penCount = 1;
    model.pens[0].pen = 1;
    model.pens[0].depth = model.pens[0].passDepth = 1;
    model.pens[0].feed = 1;
    model.cutOrder.slots[0] = 0;
    model.cutOrder.count = 1;
    for (int i = 0; i < 10'000; ++i) {
        VectorObject& object = model.objects.emplace_back();
        object.pen = 1;
        for (int p = 0; p < 96; ++p) object.points.push_back({i * 10 + p, p % 2 ? 5 : 0, 0});
        model.pens[0].objectOrder.push_back(i);
    }
    return model;
}

struct JobBench {
    Machine m;
    VectorModel model = MillionCommandJob();
    VectorJobRepeat repeat;
    JobBench() {
        LoadFactoryDefaults(m.settings);
        m.position.relOriginSet = 1;
        m.buffer.allocate(1'000'100);
    }
};

void BM_CountVectorJob(benchmark::State& state) {
    JobBench b;
    int64_t count = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(count = generateVectorJob(b.m, b.model, b.repeat, 1));
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_CountVectorJob)->Unit(benchmark::kMillisecond);

void BM_AppendVectorJob(benchmark::State& state) {
    JobBench b;
    int64_t count = 0;
    for (auto _ : state) {
        state.PauseTiming();
        b.m.buffer.reset();
        state.ResumeTiming();
        count = generateVectorJob(b.m, b.model, b.repeat, 0);
    }
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_AppendVectorJob)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace korvex
