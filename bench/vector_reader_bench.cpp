// Loading HPGL: a generated 50 MB drawing, and one object of a million
// points, whose storage must grow without copying it thousands of times
// (the baseline grows by exact chunks of 50 points, copying every time).

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "motion/machine.h"
#include "platform/headless.h"
#include "vector/hpgl_reader.h"
#include "vector/model_geometry.h"

namespace korvex {
namespace {

// A file of `points` pen-down points in objects of `perObject`, four pens;
// removed at exit. One PD per point, or, as Inkscape writes, one PD with
// every pair of the object.
struct Drawing {
    std::string path;
    Drawing(const char* name, int64_t points, int perObject, bool manyPairs = false);
    ~Drawing() { std::remove(path.c_str()); }
};

Drawing::Drawing(const char* name, int64_t points, int perObject, bool manyPairs)
    : path((std::filesystem::temp_directory_path() / name).string()) {
    std::FILE* f = std::fopen(path.c_str(), "w");
    std::fputs("IN;VS32,1;", f);
    for (int64_t i = 0; i < points; ++i) {
        const bool first = i % perObject == 0;
        if (first) {
            if (manyPairs && i > 0) std::fputs(";\n", f);
            std::fprintf(f, "SP%d;PU%lld,%lld;\n", 1 + int(i / perObject % 4),
                         (long long)(i % 9973), (long long)(i % 7919));
        }
        const long long x = (i * 37) % 40000, y = (i * 91) % 30000;
        if (!manyPairs)
            std::fprintf(f, "PD%lld,%lld;", x, y);
        else
            std::fprintf(f, first ? "PD%lld,%lld" : ",%lld,%lld", x, y);
    }
    if (manyPairs) std::fputs(";\n", f);
    std::fclose(f);
}

void Read(benchmark::State& state, const std::string& path, int32_t kind = kHpglCorel) {
    Machine m;
    LoadFactoryDefaults(m.settings);
    ScriptedHost host;
    VectorModel model;
    for (auto _ : state) {
        if (!LoadVectorFile(model, path, kind, m.settings, m.log, host))
            state.SkipWithError("refused");
    }
    const auto bytes = static_cast<int64_t>(std::filesystem::file_size(path));
    state.SetBytesProcessed(state.iterations() * bytes);
    state.counters["points/s"] =
        benchmark::Counter(static_cast<double>(state.iterations() * MeasureExtent(model).points),
                           benchmark::Counter::kIsRate);
}

void BM_ReadHpgl50MB(benchmark::State& state) {
    static const Drawing drawing("korvex-bench-50mb.plt", 3'700'000, 50);
    Read(state, drawing.path);
}
BENCHMARK(BM_ReadHpgl50MB)->Unit(benchmark::kMillisecond)->Iterations(3);

// The generic reader on 50 MB of Inkscape-style multi-pair PDs, against the
// baseline above (the original reader on its own one-pair format).
void BM_ReadGenericHpgl50MB(benchmark::State& state) {
    static const Drawing drawing("korvex-bench-50mb-pairs.plt", 4'600'000, 50, true);
    Read(state, drawing.path, kHpglGeneric);
}
BENCHMARK(BM_ReadGenericHpgl50MB)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ReadOneObjectOfAMillionPoints(benchmark::State& state) {
    static const Drawing drawing("korvex-bench-1m.plt", 1'000'000, 1'000'000);
    Read(state, drawing.path);
}
BENCHMARK(BM_ReadOneObjectOfAMillionPoints)->Unit(benchmark::kMillisecond)->Iterations(3);

// Appending `n` points to one object: the load's growth against exact
// chunks of 50.
void BM_GrowPointsByExactChunks(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    for (auto _ : state) {
        std::vector<VectorPoint> points;
        for (int i = 0; i < n; ++i) {
            if (points.capacity() - points.size() < 2) points.reserve(points.capacity() + 50);
            points.push_back({i, i, 0});
        }
        benchmark::DoNotOptimize(points.data());
    }
    state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_GrowPointsByExactChunks)->Arg(100'000)->Unit(benchmark::kMillisecond);

void BM_GrowPoints(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    for (auto _ : state) {
        VectorModel model;
        growObjects(model, 20);
        VectorObject& object = model.objects.emplace_back();
        for (int i = 0; i < n; ++i) {
            if (object.pointCapacity - object.pointCount() < 2) growPoints(model, 0, 50);
            object.points.push_back({i, i, 0});
        }
        benchmark::DoNotOptimize(object.points.data());
    }
    state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_GrowPoints)->Arg(100'000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace korvex
