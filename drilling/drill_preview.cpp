#include "drilling/drill_preview.h"

#include "motion/rounding.h"
#include "platform/canvas.h"

namespace korvex {

namespace {
constexpr int kLeft = 335, kTop = 35, kWidth = 545, kHeight = 410;
constexpr int kArm = 3;
constexpr uint32_t kWhite = 0xFFFFFFFF, kRed = 0xFFFF0000, kBlue = 0xFF0000FF;
}  // namespace

void DrawDrillPreview(Canvas& canvas, const DrillSet& set, int displayedDrill) {
    if (set.fieldWidth == 0 || set.fieldHeight == 0) return;
    // One scale for both axes, from the wider side; a field taller than the
    // area at that scale loses its lower holes.
    const double scale = set.fieldWidth > set.fieldHeight ? double{kWidth} / set.fieldWidth
                                                          : double{kHeight} / set.fieldHeight;
    canvas.fillRect(kLeft, kTop, kWidth, kHeight, kWhite);
    for (const DrillHole& h : set.holes) {
        const int px = RoundHalfAway(h.x * scale + kLeft);
        const int py = RoundHalfAway(h.y * scale + kTop);
        if (px < kLeft || px > kLeft + kWidth || py < kTop || py > kTop + kHeight) continue;
        const uint32_t colour = h.tool == displayedDrill ? kRed : kBlue;
        canvas.line(px - kArm, py, px + kArm, py, colour, 1);
        canvas.line(px, py - kArm, px, py + kArm, colour, 1);
    }
}

}  // namespace korvex
