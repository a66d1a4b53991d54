#pragma once
// A machine at factory settings (0.1 mm steps, 1 mm/s feed, 5 mm/s travel,
// 5 mm over the material), a picture made of given gray values, and an output
// that records every step the relief makes, merged into straight runs.

#include <gtest/gtest.h>

#include <vector>

#include "machining/job_values.h"
#include "machining/raster_image.h"
#include "machining/relief_dialog.h"
#include "machining/relief_job.h"
#include "machining/relief_output.h"
#include "tests/testkit/reporting_machine.h"
#include "tests/ui/view_driver.h"

namespace korvex::test {

struct Move {
    int dx, dy, dz, periodUs;
    bool operator==(const Move&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const Move& r) {
    return out << "{" << r.dx << "," << r.dy << "," << r.dz << " @" << r.periodUs << "}";
}

class RecordingOutput final : public ReliefOutput {
  public:
    bool step(int sx, int sy, int sz, int periodUs) override {
        ++steps;
        if (onStep) onStep(steps);
        Move* last = runs.empty() ? nullptr : &runs.back();
        if (last && last->periodUs == periodUs && Same(last->dx, sx) && Same(last->dy, sy) &&
            Same(last->dz, sz)) {
            last->dx += sx, last->dy += sy, last->dz += sz;
        } else {
            runs.push_back({sx, sy, sz, periodUs});
        }
        return true;
    }
    void idle() override { ++idles; }
    void wait() override {
        ++waits;
        if (onWait) onWait(waits);
    }

    std::vector<Move> runs;
    long steps = 0;
    int idles = 0;
    int waits = 0;
    std::function<void(long)> onStep;
    std::function<void(int)> onWait;

  private:
    static bool Same(int total, int step) {
        return (total > 0) == (step > 0) && (total < 0) == (step < 0);
    }
};

// A loaded 8-bit picture of `width` columns from the gray values, row by row.
inline RasterImage GrayPicture(int width, const std::vector<uint8_t>& grays) {
    RasterImage raster;
    raster.hasImage = true;
    raster.width = width;
    raster.height = static_cast<int>(grays.size()) / width;
    raster.levelCount = 255;
    raster.loaded = 1;
    for (uint8_t g : grays) raster.pixels.push_back(0xFF000000u | g * 0x010101u);
    return raster;
}

struct ReliefTest : ::testing::Test, ReportingMachine {
    RecordingView view;
    RasterImage raster;
    ReliefJob job;
    JobValues values;
    ReliefSimulation simulation;
    RecordingOutput output;
    int sourceKind = 0;
    int canvasesMade = 0;
    bool canvasFails = false;
    ReliefContext context{m,
                          raster,
                          job,
                          values,
                          simulation,
                          output,
                          [this](int w, int h) -> std::unique_ptr<Canvas> {
                              ++canvasesMade;
                              if (canvasFails) return nullptr;
                              return std::make_unique<RecordingCanvas>(w, h);
                          },
                          sourceKind};
    ReliefDialog dialog{context, view, host};

    ReliefTest() {
        job = StartReliefJob(m.settings);
        values = StartJobValues(m.settings);
    }

    void picture(int width, const std::vector<uint8_t>& grays) {
        raster = GrayPicture(width, grays);
    }
    void edit(int id, const std::string& text) { Type(view, dialog, id, text); }
    RecordingCanvas& window() { return static_cast<RecordingCanvas&>(view.canvas(0)); }
    RecordingCanvas& simulated() { return static_cast<RecordingCanvas&>(*simulation.picture); }
};

}  // namespace korvex::test
