// Reading G-code: a generated 50 MB program as CAM output looks (straight
// feeds, small circles, comments), against a baseline that only splits the
// lines and converts every number, the least any reader of the text does;
// the import's start of it from its file on the factory buffer: loaded,
// checked against the table and the buffer filled, the rest left to feed;
// and timing a program's moves.

#include <benchmark/benchmark.h>

#include <charconv>
#include <cstdio>
#include <string>
#include <vector>

#include "gcode/gcode_import.h"
#include "gcode/gcode_program.h"
#include "log/text.h"
#include "motion/machine.h"
#include "motion/move_time.h"
#include "settings/machine_settings.h"

namespace korvex {
namespace {

const std::string& Program50MB() {
    static const std::string text = [] {
        std::string s = "(generated)\nG21 G90 G17\nG0 Z5\nM3 S12000\nG1 Z-1 F600\n";
        s.reserve(52u << 20);
        for (int64_t i = 0; s.size() < (50u << 20); ++i) {
            const double x = double(i % 4000) / 40, y = double(i * 7 % 3000) / 40;
            if (i % 20 == 19)
                s += Format("N%lld G2 I0.25 J0 (full circle)\n", (long long)i);
            else
                s += Format("N%lld G1 X%.3f Y%.3f Z-1.000\n", (long long)i, x, y);
        }
        return s;
    }();
    return text;
}

MachineSettings Settings() {
    MachineSettings s;
    LoadFactoryDefaults(s);
    s.mmPerStepX = s.mmPerStepY = s.mmPerStepZ = 0.01f;
    return s;
}

void BM_ReadGcode50MB(benchmark::State& state) {
    const std::string& text = Program50MB();
    const MachineSettings s = Settings();
    size_t moves = 0;
    for (auto _ : state) {
        const GcodeRead r = ReadGcode(text, s);
        if (!r.program) state.SkipWithError("refused");
        moves = r.program ? r.program->moves.size() : 0;
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
    state.counters["moves"] = static_cast<double>(moves);
}
BENCHMARK(BM_ReadGcode50MB)->Unit(benchmark::kMillisecond)->Iterations(3);

// The machine time of a 1 M-move program, move by move as the reader and
// the append time them: short feeds, every twentieth a rapid of up to
// 20 000 steps, every hundredth with a dwell; ramps of `range(0)` steps.
void BM_EstimateMillionMoves(benchmark::State& state) {
    MachineSettings s = Settings();
    s.rampSteps = static_cast<int>(state.range(0));
    const MoveTimer timer(s);
    std::vector<MotionCommand> moves(1'000'000);
    for (int32_t i = 0; i < 1'000'000; ++i) {
        MotionCommand& c = moves[static_cast<size_t>(i)];
        const bool rapid = i % 20 == 0;
        const int32_t length = rapid ? i * 7919 % 20000 + 1 : i % 37 + 1;
        c = {length, -(i % 11), rapid ? 0 : i % 3, 500 + i % 1000, rapid, 0, i % 100 == 0};
    }
    double seconds = 0;
    for (auto _ : state) {
        seconds = 0;
        for (const MotionCommand& c : moves) seconds += timer.seconds(c);
        benchmark::DoNotOptimize(seconds);
    }
    state.counters["moves"] = 1e6;
    state.counters["machineSeconds"] = seconds;
}
BENCHMARK(BM_EstimateMillionMoves)->Unit(benchmark::kMillisecond)->Arg(100)->Arg(1 << 20);

void BM_LoadCheckAndStart50MB(benchmark::State& state) {
    const std::string path = "/tmp/korvex-bench-program.ngc";
    {
        std::FILE* f = std::fopen(path.c_str(), "wb");
        std::fwrite(Program50MB().data(), 1, Program50MB().size(), f);
        std::fclose(f);
    }
    size_t moves = 0, fed = 0;
    for (auto _ : state) {
        Machine m;
        m.settings = Settings();
        m.settings.travelX = m.settings.travelY = m.settings.travelZ = 1e4f;
        m.buffer.allocate(m.settings.commandCapacity);
        // 10 mm in from every end: room for the circles and for Z 5.
        m.position.relOriginX = m.position.plannedX = 1000;
        m.position.relOriginY = m.position.plannedY = 1000;
        m.position.relOriginZ = m.position.plannedZ = 1000;
        m.position.relOriginSet = 1;
        GcodeImport import(m);
        if (!import.load(path) || !import.start()) state.SkipWithError("refused");
        moves = import.loaded() ? import.program().moves.size() : 0;
        fed = static_cast<size_t>(m.buffer.queued());
    }
    std::remove(path.c_str());
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(Program50MB().size()));
    state.counters["moves"] = static_cast<double>(moves);
    state.counters["queued"] = static_cast<double>(fed);
}
BENCHMARK(BM_LoadCheckAndStart50MB)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_SplitAndConvertBaseline50MB(benchmark::State& state) {
    const std::string& text = Program50MB();
    for (auto _ : state) {
        double sum = 0;
        const char* p = text.data();
        const char* end = p + text.size();
        while (p < end) {
            if ((*p >= '0' && *p <= '9') || *p == '-') {
                double v = 0;
                p = std::from_chars(p, end, v).ptr;
                sum += v;
            } else {
                ++p;
            }
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_SplitAndConvertBaseline50MB)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace korvex
