#include "ui/toolpath_view.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "motion/machine.h"
#include "ui/job_track.h"

namespace korvex {

namespace {

constexpr uint32_t kSheet = 0xFFFFFFFF, kAbove = 0xFFB4B4B4, kRapid = 0xFF9A9A9A,
                   kTrace = 0xFFE8590C, kCross = 0xFFFF0000;
constexpr int kMargin = 6, kDash = 4;
constexpr double kZoomStep = 1.25;

// Light blue at the surface to dark blue at the job's deepest cut.
uint32_t DepthColour(double fraction) {
    const double f = std::clamp(fraction, 0.0, 1.0);
    const auto mix = [f](int shallow, int deep) {
        return static_cast<uint32_t>(std::lround(shallow + (deep - shallow) * f));
    };
    return 0xFF000000 | mix(0x9E, 0x08) << 16 | mix(0xC9, 0x30) << 8 | mix(0xF5, 0x8C);
}

void Dashed(Canvas& c, int x1, int y1, int x2, int y2, uint32_t colour) {
    const double length = std::hypot(x2 - x1, y2 - y1);
    const int dashes = std::max(1, static_cast<int>(length / (2 * kDash)));
    for (int i = 0; i < dashes; ++i) {
        const double a = static_cast<double>(2 * i) / (2 * dashes),
                     b = static_cast<double>(2 * i + 1) / (2 * dashes);
        c.line(static_cast<int>(std::lround(x1 + (x2 - x1) * a)),
               static_cast<int>(std::lround(y1 + (y2 - y1) * a)),
               static_cast<int>(std::lround(x1 + (x2 - x1) * b)),
               static_cast<int>(std::lround(y1 + (y2 - y1) * b)), colour);
    }
}

// Gathers consecutive segments of one colour into one polyline: a
// long program draws with a few painter calls, and skips its moves shorter
// than a pixel.
class PathBatch {
  public:
    PathBatch(Canvas& c, int thickness) : c_(c), thickness_(thickness) {}
    ~PathBatch() { flush(); }
    void add(int x1, int y1, int x2, int y2, uint32_t colour) {
        const size_t n = xy_.size();
        if (colour != colour_ || n == 0 || xy_[n - 2] != x1 || xy_[n - 1] != y1 || n >= kMax) {
            flush();
            colour_ = colour;
            xy_ = {x1, y1};
        }
        if (xy_[xy_.size() - 2] == x2 && xy_.back() == y2) return;
        xy_.push_back(x2);
        xy_.push_back(y2);
    }

  private:
    static constexpr size_t kMax = 2 * 4096;
    void flush() {
        if (xy_.size() >= 4)
            c_.polyline(xy_.data(), static_cast<int>(xy_.size() / 2), colour_, thickness_);
        xy_.clear();
    }
    Canvas& c_;
    int thickness_;
    uint32_t colour_ = 0;
    std::vector<int> xy_;
};

const TrackPoint& From(const JobTrack& t, size_t i) {
    return i == 0 ? t.start() : t.points()[i - 1];
}

}  // namespace

ToolpathView::Pixel ToolpathView::pixel(double xMm, double yMm) const {
    // Y grows upwards on the machine, downwards on the screen.
    const double x = (xMm - centreX_) * scale_ + width_ / 2.0,
                 y = height_ / 2.0 - (yMm - centreY_) * scale_;
    constexpr double kFar = 1e6;  // keeps far-off points within int
    return {static_cast<int>(std::lround(std::clamp(x, -kFar, kFar))),
            static_cast<int>(std::lround(std::clamp(y, -kFar, kFar)))};
}

void ToolpathView::zoom(int steps, int x, int y) {
    // The place under the pointer stays under it.
    const double atX = centreX_ + (x - width_ / 2.0) / scale_,
                 atY = centreY_ - (y - height_ / 2.0) / scale_;
    scale_ = std::clamp(scale_ * std::pow(kZoomStep, steps), 1e-3, 1e4);
    centreX_ = atX - (x - width_ / 2.0) / scale_;
    centreY_ = atY + (y - height_ / 2.0) / scale_;
    stale_ = true;
}

void ToolpathView::pan(int dx, int dy) {
    centreX_ -= dx / scale_;
    centreY_ += dy / scale_;
    stale_ = true;
}

void ToolpathView::fitTo(const JobTrack& t, int width, int height) {
    int32_t lowX = t.start().x, highX = lowX, lowY = t.start().y, highY = lowY;
    int64_t deepest = 1;
    for (const TrackPoint& q : t.points()) {
        lowX = std::min(lowX, q.x);
        highX = std::max(highX, q.x);
        lowY = std::min(lowY, q.y);
        highY = std::max(highY, q.y);
        deepest = std::max<int64_t>(deepest, static_cast<int64_t>(q.z) - t.surfaceZ());
    }
    deepestSteps_ = static_cast<double>(deepest);
    const double w = (highX - lowX) * mmPerStepX_, h = (highY - lowY) * mmPerStepY_;
    const double room = std::max(1, std::min(width, height) - 2 * kMargin);
    scale_ = std::max(w, h) > 0 ? room / std::max(w, h) : 10;
    centreX_ = (lowX + highX) / 2.0 * mmPerStepX_;
    centreY_ = (lowY + highY) / 2.0 * mmPerStepY_;
    fitted_ = true;
    stale_ = true;
}

void ToolpathView::drawPath(Canvas& c, const JobTrack& t, size_t from, size_t to, bool trace) {
    const std::vector<TrackPoint>& points = t.points();
    PathBatch batch(c, trace ? 2 : 1);
    for (size_t i = from; i < to; ++i) {
        const TrackPoint &a = From(t, i), &b = points[i];
        const Pixel p = pixel(a.x * mmPerStepX_, a.y * mmPerStepY_),
                    q = pixel(b.x * mmPerStepX_, b.y * mmPerStepY_);
        const int32_t depth = std::max(a.z, b.z) - t.surfaceZ();
        if (trace)
            batch.add(p.x, p.y, q.x, q.y, kTrace);
        else if (b.rapid)
            Dashed(c, p.x, p.y, q.x, q.y, kRapid);
        else
            batch.add(p.x, p.y, q.x, q.y, depth > 0 ? DepthColour(depth / deepestSteps_) : kAbove);
    }
}

bool ToolpathView::draw(Canvas& area, const JobTrack& t, const MachineSettings& s,
                        const MachinePosition& p) {
    if (t.empty()) return false;
    const int width = area.width(), height = area.height();
    if (t.generation() != generation_ || width != width_ || height != height_ ||
        s.mmPerStepX != mmPerStepX_ || s.mmPerStepY != mmPerStepY_) {
        generation_ = t.generation();
        width_ = width;
        height_ = height;
        mmPerStepX_ = s.mmPerStepX;
        mmPerStepY_ = s.mmPerStepY;
        fitted_ = false;
    }
    if (!fitted_) fitTo(t, width, height);
    if (!plan_ || plan_->width() != width || plan_->height() != height) {
        plan_ = pictures_ ? pictures_(width, height) : nullptr;
        trace_ = pictures_ ? pictures_(width, height) : nullptr;
    }
    // Without kept pictures everything is drawn anew, the trace last.
    const bool kept = plan_ && trace_;
    Canvas& plan = kept ? *plan_ : area;
    Canvas& trace = kept ? *trace_ : area;
    const size_t planned = t.points().size();
    const size_t run = static_cast<size_t>(t.done());
    if (stale_ || !kept) {
        plan.clear(kSheet);
        if (kept) trace.clear(0);
        planDrawn_ = traceDrawn_ = 0;
        stale_ = false;
    }
    drawPath(plan, t, planDrawn_, planned, false);
    drawPath(trace, t, std::min(traceDrawn_, run), run, true);
    planDrawn_ = planned;
    traceDrawn_ = run;
    if (kept) {
        area.blit(0, 0, plan, 0, 0, width, height);
        area.overlay(0, 0, trace, 0, 0, width, height);
    }

    // The running move's part done, and the tool.
    const Pixel tool = pixel(p.absX.load() * mmPerStepX_, p.absY.load() * mmPerStepY_);
    if (t.running() && run < planned) {
        const TrackPoint& a = From(t, run);
        const Pixel from = pixel(a.x * mmPerStepX_, a.y * mmPerStepY_);
        area.line(from.x, from.y, tool.x, tool.y, kTrace, 2);
    }
    area.line(tool.x - 6, tool.y, tool.x + 6, tool.y, kCross);
    area.line(tool.x, tool.y - 6, tool.x, tool.y + 6, kCross);
    return true;
}

}  // namespace korvex
