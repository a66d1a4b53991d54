#include "machining/relief_view.h"

#include "log/text.h"
#include "machining/raster_image.h"
#include "machining/relief_job.h"
#include "motion/rounding.h"
#include "platform/canvas.h"
#include "settings/machine_settings.h"

namespace korvex {

namespace {
constexpr int kBarLeft = 10, kBarLength = 360, kBarY = 480, kBarWidth = 10;
constexpr uint32_t kWhite = 0xFFFFFFFF, kBlack = 0xFF000000;
}  // namespace

void DrawReliefProgress(Canvas& canvas, int64_t done, int64_t total) {
    const int p = total > done
                      ? RoundHalfAway(static_cast<double>(kBarLength) / static_cast<double>(total) *
                                      static_cast<double>(done))
                      : kBarLength;
    // Lines 10 pixels wide, centred on the bar's line.
    const int top = kBarY - kBarWidth / 2;
    canvas.fillRect(kBarLeft, top, p, kBarWidth, 0xFF00FF00);
    canvas.fillRect(kBarLeft + p, top, kBarLength - p, kBarWidth, 0xFFFF0000);
}

void DrawReliefProblem(Canvas& canvas, int x, int y, double mm) {
    canvas.fillRect(380, 460, 300, 15, kWhite);
    // 12 pixels high: 9 points at the canvas's 96 dots per inch.
    canvas.text(380, 460, Format("PROBLEM ON POSITION %d,%d: %7.5fmm", x, y, mm), kBlack, 9);
}

void ClearReliefView(Canvas& canvas) {
    canvas.fillRect(kReliefViewX, kReliefViewY, kReliefViewWidth, kReliefViewHeight, kWhite);
}

void DrawReliefView(Canvas& canvas, const RasterImage& raster, const ReliefJob& job,
                    const ReliefSimulation& simulation, const MachineSettings& s) {
    if (!raster.hasImage) return;
    if (job.showSimulation) {
        if (simulation.picture)
            canvas.blit(kReliefViewX, kReliefViewY, *simulation.picture, simulation.scrollX,
                        simulation.scrollY, kReliefViewWidth, kReliefViewHeight);
        return;
    }
    if (raster.width <= 0 || raster.height <= 0) return;
    // A physically taller picture fills the view's height, any other its width.
    const double wide = raster.width * static_cast<double>(s.mmPerStepX);
    const double high = raster.height * static_cast<double>(s.mmPerStepY);
    const bool taller = high > wide;
    const int w = taller ? static_cast<int>(kReliefViewHeight * wide / high) : kReliefViewWidth;
    const int h = taller ? kReliefViewHeight : static_cast<int>(kReliefViewWidth * high / wide);
    for (int j = 0; j < h; ++j) {
        const int y = static_cast<int>(static_cast<int64_t>(j) * raster.height / h);
        for (int i = 0; i < w; ++i) {
            const int x = static_cast<int>(static_cast<int64_t>(i) * raster.width / w);
            // Shown opaque, whatever alpha the file had.
            canvas.setPixel(kReliefViewX + i, kReliefViewY + j, raster.pixel(x, y) | kBlack);
        }
    }
}

}  // namespace korvex
