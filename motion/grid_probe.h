#pragma once
// Probing the material's surface on a grid into a HeightMap.
//
// The relative origin is probed first (where none is set, the tool's
// position becomes it), then every point of the grid, row by row, each row
// the other way round. Each point: up to the clearance above the origin's
// surface, across, then down at the probing feed, with the probe input
// checked, at most the probing depth below the origin's surface (the
// origin itself: at most to the end of the Z travel). The heights are
// stored relative to the origin's surface, whose Z becomes the relative
// origin's when the run completes: the surface jobs cut from.
//
// The run is driven by step(), from the window's timer or the command
// line's loop; the executor does the motion. The emergency stop and Reset
// buffer end it, dropping whatever it had queued; a point the probe does
// not touch ends it with a box naming the point. Either way the relative
// origin is as it was and no map is made. Window thread.

#include <cstdint>
#include <vector>

#include "motion/height_map.h"
#include "motion/machine.h"

namespace korvex {

struct GridProbeSettings {
    double x0 = 0, y0 = 0, x1 = 0, y1 = 0;  // the area, mm from the relative origin
    int columns = 2, rows = 2;
    double feed = 1;       // mm/s of the descent
    double clearance = 2;  // mm above the origin's surface between points
    double depth = 2;      // mm below the origin's surface a point may lie
};

class GridProbe {
  public:
    enum class State { kIdle, kRunning, kDone, kStopped, kFailed };

    explicit GridProbe(Machine& m) : m_(m) {}

    // Starts a run; false, after a box, when the machine is busy, the
    // settings make no grid, or (soft limits on) the area leaves the travel.
    bool start(const GridProbeSettings& settings);
    // Queues the next point's moves once the last ones ran, or ends the run.
    void step();

    State state() const { return state_; }
    bool running() const { return state_ == State::kRunning; }
    // Points probed and all of them (the relative origin counted).
    int pointsDone() const { return done_; }
    int pointsTotal() const { return static_cast<int>(points_.size()); }
    // Machine seconds still to go, from the pace so far; 0 before a point ran.
    double secondsLeft() const;
    // The map, once the run is done.
    const HeightMap& map() const { return map_; }

  private:
    struct Point {
        int64_t x, y;     // steps from the relative origin
        int column, row;  // -1, -1: the relative origin
    };
    void queuePoint();
    void finishPoint();
    void end(State state);
    void restoreOrigin();

    Machine& m_;
    GridProbeSettings settings_;
    State state_ = State::kIdle;
    std::vector<Point> points_;
    int done_ = 0;
    bool queued_ = false;
    int64_t resets_ = 0;
    int32_t origin_[3] = {0, 0, 0};
    int32_t originSet_ = 0;
    int32_t surfaceZ_ = 0;  // absolute Z steps of the origin's surface
    int64_t startedAt_ = 0, pointsEndedAt_ = 0;
    HeightMap map_;
};

}  // namespace korvex
