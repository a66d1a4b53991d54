// The main window's toolpath preview: a million-move job drawn whole (a
// new job, a zoom, a fit), and the trace's cost per status tick.
#include <benchmark/benchmark.h>

#include <cmath>

#include "bench_machine.h"
#include "platform/qimage_canvas.h"
#include "ui/job_track.h"
#include "ui/toolpath_view.h"

namespace korvex {
namespace {

// A job of `moves` moves: a raster of short cuts over 100 x 100 mm (a
// surfacing or a G-code engraving), or `long` moves across the whole area.
struct Job {
    bench::FrozenClock clock;
    Machine m;
    JobTrack track{m};
    CanvasFactory pictures = MakeQImageCanvas;

    Job(int moves, bool longMoves) {
        bench::Prepare(m, nullptr, clock);
        track.arm({"", ""});
        MachinePosition& p = m.position;
        for (int i = 0; i < moves; ++i) {
            MotionCommand c;
            const double t = static_cast<double>(i) / moves;
            const int32_t x = longMoves ? (i % 2) * 1000
                                        : static_cast<int32_t>(std::fmod(t * 400, 1.0) * 1000),
                          y = static_cast<int32_t>(longMoves ? t * 1000
                                                             : std::floor(t * 400) * 2.5);
            c.dx = x - p.plannedX.load();
            c.dy = y - p.plannedY.load();
            c.dz = (i % 7 == 0) ? 3 : 0;
            p.plannedX = x;
            p.plannedY = y;
            p.plannedZ += c.dz;
            track.queued(c);
        }
    }
};

void DrawWhole(benchmark::State& state, bool longMoves) {
    Job job(static_cast<int>(state.range(0)), longMoves);
    auto area = MakeQImageCanvas(250, 250);
    for (auto _ : state) {
        ToolpathView view(job.pictures);
        benchmark::DoNotOptimize(view.draw(*area, job.track, job.m.settings, job.m.position));
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_DrawToolpathShortMoves(benchmark::State& state) {
    DrawWhole(state, false);
}
BENCHMARK(BM_DrawToolpathShortMoves)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

void BM_DrawToolpathLongMoves(benchmark::State& state) {
    DrawWhole(state, true);
}
BENCHMARK(BM_DrawToolpathLongMoves)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

// A status tick with the pictures kept: the plan's copy, the trace laid
// over it, the cross and nothing new run (the trace's own cost is in the
// segments run since the last tick).
void BM_ToolpathTick(benchmark::State& state) {
    Job job(1'000'000, false);
    auto area = MakeQImageCanvas(250, 250);
    ToolpathView view(job.pictures);
    view.draw(*area, job.track, job.m.settings, job.m.position);
    for (auto _ : state)
        benchmark::DoNotOptimize(view.draw(*area, job.track, job.m.settings, job.m.position));
}
BENCHMARK(BM_ToolpathTick)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace korvex
