#include "vector/vector_preview.h"

#include <cmath>

#include "log/text.h"
#include "platform/canvas.h"
#include "platform/dialog_view.h"
#include "settings/machine_settings.h"

namespace korvex {

namespace {

constexpr uint32_t kWhite = 0xFFFFFFFF;
constexpr uint32_t kModelInk = 0xFF00007F;
constexpr uint32_t kOtherLayers = 0xFFB4B4B4;
constexpr uint32_t kDirection = 0xFF0000FF;
constexpr uint32_t kLayerInk = 0xFFFF0000;
constexpr int kMargin = 5;
constexpr int kArrowMinPixels = 5;
constexpr int kOrderTextSize = 10;

struct Pixel {
    int x, y;
};

// Model steps to pixels: millimetres times the scale, truncated, then moved
// by the margin and the scroll position.
struct PixelMap {
    double fx, fy;
    int dx = 0, dy = 0;
    PixelMap(const MachineSettings& s, double scale, int offsetX = 0, int offsetY = 0)
        : fx(s.mmPerStepX * scale), fy(s.mmPerStepY * scale), dx(offsetX), dy(offsetY) {}
    Pixel operator()(const VectorPoint& p) const {
        return {static_cast<int>(p.x * fx) + dx, static_cast<int>(p.y * fy) + dy};
    }
};

void DrawPolyline(Canvas& canvas, const PixelMap& map, const VectorObject& object, uint32_t argb,
                  size_t from = 0) {
    for (size_t i = from + 1; i < object.points.size(); ++i) {
        const Pixel a = map(object.points[i - 1]), b = map(object.points[i]);
        canvas.line(a.x, a.y, b.x, b.y, argb, 1);
    }
}

// Pixels per mm that fit the larger side of the drawing into `pixels`.
double FitScale(const VectorModel& model, const MachineSettings& s, double pixels) {
    const double w = model.width * double(s.mmPerStepX), h = model.height * double(s.mmPerStepY);
    const double larger = w > h ? w : h;
    return larger > 0 ? pixels / larger : 0;
}

// One object of the displayed layer: an arrow from its start along its
// first segment longer than a few pixels, the rest in the layer's colour, a
// circle at the start and its place in the cutting order.
void DrawCutObject(Canvas& canvas, const PixelMap& map, const VectorObject& object, int place) {
    const Pixel s = map(object.points.front());
    for (size_t i = 1; i < object.points.size(); ++i) {
        const Pixel e = map(object.points[i]);
        const double dx = e.x - s.x, dy = e.y - s.y;
        if (static_cast<int>(std::sqrt(dx * dx + dy * dy)) > kArrowMinPixels) {
            canvas.arrow(s.x, s.y, e.x, e.y, kDirection, 2);
            DrawPolyline(canvas, map, object, kLayerInk, i);
            break;
        }
    }
    canvas.ellipse(s.x, s.y, 3, 3, kDirection, 2);
    canvas.text(s.x, s.y, Format("%d", place), kDirection, kOrderTextSize);
}

// A scroll bar after a zoom change: a position whose range shrank is halved,
// and one still beyond the new range goes to 0.
void SetScrollRange(DialogView& view, int id, int& position, int& range, int newRange) {
    if (newRange < range) {
        position /= 2;
        if (position > newRange) position = 0;
        view.setScrollPos(id, position);
    }
    range = newRange;
    view.setScrollRange(id, 0, newRange);
}

}  // namespace

void computeMainPreviewScale(MainPreview& preview, const VectorModel& model,
                             const MachineSettings& settings) {
    preview.scale = static_cast<float>(FitScale(model, settings, kMainPreviewSize));
}

bool drawMainPreview(MainPreview& preview, const VectorModel& model,
                     const MachineSettings& settings, Canvas& area, const CanvasFactory& factory) {
    if (!model.loaded) return false;
    if (!preview.image) {
        if (!factory) return false;
        preview.image = factory(kMainPreviewSize, kMainPreviewSize);
        if (!preview.image) return false;
        preview.image->clear(kWhite);
        if (IsHpglKind(model.sourceKind)) {
            const PixelMap map(settings, preview.scale);
            for (const VectorObject& object : model.objects)
                DrawPolyline(*preview.image, map, object, kModelInk);
        }
    }
    area.blit(0, 0, *preview.image, 0, 0, preview.image->width(), preview.image->height());
    return true;
}

std::optional<PreviewPixel> mainPreviewPixel(const MainPreview& preview,
                                             const MachineSettings& settings, int32_t dx,
                                             int32_t dy) {
    if (!preview.image) return std::nullopt;
    const int w = preview.image->width(), h = preview.image->height();
    // Single precision, as the scale and the step sizes are kept.
    // -1 stands for any place outside, far ones (and NaN) before rounding.
    auto place = [&preview](int32_t steps, float mmPerStep, int size) {
        const float v = static_cast<float>(steps) * mmPerStep * preview.scale;
        if (!(v > -1.0f && v < static_cast<float>(size) + 1.0f)) return -1;
        const int p = static_cast<int>(std::lround(v));
        return p == size ? size - 1 : p;
    };
    const int x = place(dx, settings.mmPerStepX, w), y = place(dy, settings.mmPerStepY, h);
    if (x < 0 || x >= w || y < 0 || y >= h) return std::nullopt;
    return PreviewPixel{x, y};
}

void drawJobPreview(JobPreview& preview, const VectorModel& model, const MachineSettings& settings,
                    int layer, DialogView& view, const CanvasFactory& factory) {
    if (!preview.image) {
        const int side = kJobPreviewSize * preview.zoom;
        SetScrollRange(view, kJobPreviewHScroll, preview.hPos, preview.hRange,
                       side - kJobPreviewSize);
        SetScrollRange(view, kJobPreviewVScroll, preview.vPos, preview.vRange,
                       side - kJobPreviewSize);
        preview.scale = static_cast<float>(FitScale(model, settings, side - 2 * kMargin));
        if (!factory) return;
        preview.image = factory(kJobPreviewSize, kJobPreviewSize);
        Canvas& canvas = *preview.image;
        canvas.clear(kWhite);
        const PixelMap map(settings, preview.scale, kMargin - preview.hPos, kMargin - preview.vPos);
        for (int i = 0; i < model.penCount; ++i)
            for (int32_t index : model.pens[i].objectOrder)
                DrawPolyline(canvas, map, model.objects[index], kOtherLayers);
        if (layer >= 0 && layer < model.penCount) {
            const std::vector<int32_t>& order = model.pens[layer].objectOrder;
            for (size_t k = 0; k < order.size(); ++k)
                if (!model.objects[order[k]].points.empty())
                    DrawCutObject(canvas, map, model.objects[order[k]], static_cast<int>(k));
        }
    }
    view.canvas(0).blit(kJobPreviewX, kJobPreviewY, *preview.image, 0, 0, kJobPreviewSize,
                        kJobPreviewSize);
}

}  // namespace korvex
