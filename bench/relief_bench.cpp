// The relief traversal of a 2000 x 2000 picture: simulated onto the real
// canvas, and carved into an output that only counts steps (the generator's
// own cost, without the port). And the simulation's columns drawn by the
// canvas's direct writes against a QPainter per column, the baseline.

#include <benchmark/benchmark.h>

#include <QImage>
#include <QLinearGradient>
#include <QPainter>

#include "machining/job_values.h"
#include "machining/raster_image.h"
#include "machining/relief_carve.h"
#include "machining/relief_job.h"
#include "machining/relief_output.h"
#include "motion/machine.h"
#include "platform/dialog_view.h"
#include "platform/headless.h"
#include "platform/qimage_canvas.h"

namespace korvex {
namespace {

constexpr int kSide = 2000;
constexpr int kColumnLength = 50;  // 5 mm of relief at 0.1 mm per step

class CountingOutput final : public ReliefOutput {
  public:
    bool step(int, int, int, int) override {
        ++steps;
        return true;
    }
    void idle() override {}
    void wait() override {}
    int64_t steps = 0;
};

// A window whose client area is a real canvas; everything else is ignored.
class BenchView final : public DialogView {
  public:
    void setText(int, const std::string&) override {}
    std::string text(int) const override { return {}; }
    void setCheck(int, bool) override {}
    bool isChecked(int) const override { return false; }
    void enable(int, bool) override {}
    void setScrollRange(int, int, int) override {}
    void setScrollPos(int, int) override {}
    int scrollPos(int) const override { return 0; }
    Canvas& canvas(int) override { return window_; }
    void invalidate() override {}
    void end(int) override {}

  private:
    QImageCanvas window_{800, 600};
};

class SilentHost final : public DesktopFreeHost {
  public:
    Answer messageBox(const std::string&, const std::string&, Buttons, Icon) override {
        return Answer::Yes;
    }
};

// A 2000 x 2000 picture of gray waves, 5 mm deep at factory settings.
struct ReliefBench {
    Machine m;
    RasterImage raster;
    ReliefJob job;
    JobValues values;
    ReliefSimulation simulation;
    CountingOutput output;
    int sourceKind = 0;
    ReliefContext context{m, raster, job, values, simulation, output, MakeQImageCanvas, sourceKind};
    BenchView view;
    SilentHost host;

    ReliefBench() {
        LoadFactoryDefaults(m.settings);
        raster.hasImage = true;
        raster.width = raster.height = kSide;
        raster.levelCount = 255;
        raster.loaded = 1;
        raster.pixels.resize(static_cast<size_t>(kSide) * kSide);
        for (int y = 0; y < kSide; ++y)
            for (int x = 0; x < kSide; ++x) {
                const uint32_t g = static_cast<uint32_t>((x * 7 + y * 3) % 256);
                raster.pixels[static_cast<size_t>(y) * kSide + x] = 0xFF000000u | g * 0x010101u;
            }
        job = StartReliefJob(m.settings);
        job.depth = kColumnLength;
        job.stepsPerLevel = StepsPerLevel(job, raster.levelCount);
        values = StartJobValues(m.settings);
    }
};

void BM_ReliefSimulation(benchmark::State& state) {
    ReliefBench b;
    for (auto _ : state) CarveRelief(b.context, b.view, b.host, 1);
    state.SetItemsProcessed(state.iterations() * kSide * kSide);
    state.SetLabel("pixels");
}

void BM_ReliefCarvingTraversal(benchmark::State& state) {
    ReliefBench b;
    for (auto _ : state) CarveRelief(b.context, b.view, b.host, 0);
    state.SetItemsProcessed(state.iterations() * kSide * kSide);
    state.counters["steps"] = static_cast<double>(b.output.steps) / state.iterations();
    state.SetLabel("pixels");
}

constexpr int kColumns = 20'000;

void BM_ColumnsCanvas(benchmark::State& state) {
    QImageCanvas picture(kSide, 200);
    for (auto _ : state)
        for (int i = 0; i < kColumns; ++i) {
            const int x = i % kSide, top = 100 + i % kColumnLength;
            picture.gradientLine(x, top, x, 150, 0xFFFFFFFF, 0xFF000000);
            picture.line(x, top, x, top + 1, 0xFF00C500);
        }
    state.SetItemsProcessed(state.iterations() * kColumns);
}

void BM_ColumnsQPainterBaseline(benchmark::State& state) {
    QImage picture(kSide, 200, QImage::Format_ARGB32);
    picture.fill(0xFF000000u);
    for (auto _ : state)
        for (int i = 0; i < kColumns; ++i) {
            const int x = i % kSide, top = 100 + i % kColumnLength;
            QPainter painter(&picture);
            QLinearGradient gradient(x, top, x, 150);
            gradient.setColorAt(0, Qt::white);
            gradient.setColorAt(1, Qt::black);
            painter.setPen(QPen(QBrush(gradient), 1));
            painter.drawLine(x, top, x, 150);
            painter.setPen(QColor(0, 197, 0));
            painter.drawLine(x, top, x, top + 1);
        }
    state.SetItemsProcessed(state.iterations() * kColumns);
}

BENCHMARK(BM_ReliefSimulation)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReliefCarvingTraversal)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ColumnsCanvas)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ColumnsQPainterBaseline)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace korvex
