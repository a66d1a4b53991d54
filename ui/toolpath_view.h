#pragma once
// The main window's preview of the job's toolpath, from above: cuts by
// their depth below the surface (light shallow, dark deep), moves above it
// grey, ramped positioning moves dashed; the path run so far drawn over it
// and the tool's cross. The wheel zooms about the pointer, a drag pans, a
// double click fits the job. The planned path is drawn once into a kept
// picture and the trace into a second, laid over it; both are added to as
// they grow, so moves fed after part of the path ran stay under its trace.
// A status tick costs two copies of the area and the segments run and fed
// since the last. Window thread.

#include <cstdint>
#include <memory>

#include "platform/canvas.h"
#include "vector/vector_preview.h"

namespace korvex {

class JobTrack;
struct MachinePosition;
struct MachineSettings;

class ToolpathView {
  public:
    explicit ToolpathView(const CanvasFactory& pictures) : pictures_(pictures) {}

    // Fits the whole job into the area at the next draw.
    void fit() { fitted_ = false; }
    // `steps` wheel notches (positive: closer) about the pixel (x, y).
    void zoom(int steps, int x, int y);
    // Moves the picture by a drag of (dx, dy) pixels.
    void pan(int dx, int dy);

    // Draws the job into `area`; false, drawing nothing, without one.
    bool draw(Canvas& area, const JobTrack& track, const MachineSettings& s,
              const MachinePosition& p);

  private:
    struct Pixel {
        int x, y;
    };
    Pixel pixel(double xMm, double yMm) const;
    void fitTo(const JobTrack& track, int width, int height);
    // Segments [from, to) of the plan, or of the trace.
    void drawPath(Canvas& c, const JobTrack& track, size_t from, size_t to, bool trace);

    const CanvasFactory& pictures_;
    std::unique_ptr<Canvas> plan_, trace_;
    bool fitted_ = false;
    double scale_ = 1;  // pixels per mm
    double centreX_ = 0, centreY_ = 0;
    int width_ = 0, height_ = 0;
    double mmPerStepX_ = 1, mmPerStepY_ = 1;
    double deepestSteps_ = 1;
    // What the kept picture holds.
    int64_t generation_ = -1;
    size_t planDrawn_ = 0, traceDrawn_ = 0;
    bool stale_ = true;
};

}  // namespace korvex
