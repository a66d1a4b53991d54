#pragma once
// Pictures of the loaded drawing: the main window's model view, and the job
// dialog's zoomable view with the displayed layer's cutting direction and
// order. Both draw into an off-screen image kept until the model or the
// view changes, and copy it to the window.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "platform/canvas.h"
#include "vector/vector_model.h"

namespace korvex {

class DialogView;
struct MachineSettings;

// Makes an off-screen image of the given size; an empty factory draws
// nothing (a front end without pictures).
using CanvasFactory = std::function<std::unique_ptr<Canvas>(int width, int height)>;

// The main window's model view: a 250 x 250 square.
inline constexpr int kMainPreviewSize = 250;

struct MainPreview {
    float scale = 0;                // pixels per mm, the same for X and Y
    std::unique_ptr<Canvas> image;  // the cached picture; none until drawn
};

// After every load and transform: the scale that fits the larger side into
// the square (0 for a drawing without extent).
void computeMainPreviewScale(MainPreview& preview, const VectorModel& model,
                             const MachineSettings& settings);

// Draws the cached picture (making it first when there is none) at the
// top-left corner of `area`. False, drawing nothing, without a loaded model
// or a picture.
bool drawMainPreview(MainPreview& preview, const VectorModel& model,
                     const MachineSettings& settings, Canvas& area, const CanvasFactory& factory);

struct PreviewPixel {
    int x, y;
};

// The pixel of the cached picture `dx`, `dy` steps away from its top-left
// corner, rounded half away from zero; a place exactly on the far edge goes
// onto the last column or row. None outside the picture or without one.
std::optional<PreviewPixel> mainPreviewPixel(const MainPreview& preview,
                                             const MachineSettings& settings, int32_t dx,
                                             int32_t dy);

// The job dialog's view: a 290 x 290 area at (15, 110) showing a 290 z
// square picture of the drawing, scrolled by the two bars.
inline constexpr int kJobPreviewX = 15, kJobPreviewY = 110, kJobPreviewSize = 290;
// Zooming stops here: scroll positions stay well within 16 bits.
inline constexpr int kMaxJobPreviewZoom = 100;
inline constexpr int kJobPreviewHScroll = 1103, kJobPreviewVScroll = 1104;

struct JobPreview {
    int zoom = 1;
    int hPos = 0, vPos = 0;      // scroll positions, pixels of the zoomed picture
    int hRange = 0, vRange = 0;  // scroll ranges, set when the picture is made
    float scale = 0;             // pixels per mm
    // The visible part of the picture; none after any change of layer,
    // zoom, scroll position or cutting direction.
    std::unique_ptr<Canvas> image;
};

// Draws the dialog's view of `layer` (a pen-table index) into the view's
// canvas. Making a new picture first sets the scroll ranges for the zoom,
// halving a position whose range shrank.
void drawJobPreview(JobPreview& preview, const VectorModel& model, const MachineSettings& settings,
                    int layer, DialogView& view, const CanvasFactory& factory);

}  // namespace korvex
