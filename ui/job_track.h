#pragma once
// The job the machine runs, as the window follows it: the end point of
// every move queued since the job began, how many of them have run, its
// name, and when it began and ended. A job begins with the first move a
// job dialog queues, takes every move queued while it runs (a G-code
// program's fed moves too) and ends when the buffer drains with nothing
// left to feed, or at a buffer reset. Window thread; it reads only the
// counters the executor keeps anyway.

#include <cstdint>
#include <vector>

#include "log/text.h"
#include "motion/machine.h"

namespace korvex {

struct TrackPoint {
    int32_t x, y, z;  // absolute steps after the move
    bool rapid;       // a ramped positioning move
};

class JobTrack {
  public:
    explicit JobTrack(Machine& m) : m_(m) {}

    // While a job dialog is open its first queued move begins a job named
    // `name`; disarm() when it closes.
    void arm(Text name) {
        armed_ = true;
        armedName_ = name;
        clipsAtBegin_ = m_.clips.total;
    }
    void disarm() { armed_ = false; }
    // The buffer's append observer.
    void queued(const MotionCommand& c);

    enum class Change { None, Finished, Stopped };
    // From the status timer: ends a running job when the buffer drained and
    // `feeding` is false (Finished) or at a reset (Stopped); once per end.
    Change update(bool feeding);

    bool running() const { return running_; }
    // The soft limits shortened some of the job's moves.
    bool clipped() const { return m_.clips.total != clipsAtBegin_; }
    // Changes whenever a new job begins or the track is cleared.
    int64_t generation() const { return generation_; }
    // Forgets an ended job (a new drawing replaces its picture).
    void clear();
    // A job that queues nothing, shown ended by its outline: a rectangle
    // `width` x `height` steps in X and Y from where the tool stands,
    // `depth` steps below it. Nothing while a job runs.
    void outline(Text name, int32_t width, int32_t height, int32_t depth);
    bool empty() const { return points_.empty(); }
    const Text& name() const { return name_; }
    const std::vector<TrackPoint>& points() const { return points_; }
    // Where the tool was planned before the job's first move.
    const TrackPoint& start() const { return start_; }
    // The Z of the material's surface: the relative origin's, else the start's.
    int32_t surfaceZ() const { return surfaceZ_; }
    // The job's moves that have run, of points().size().
    int64_t done() const;
    // Seconds since the job began, or its whole length once it ended.
    double elapsedS() const;

  private:
    double now() const;

    Machine& m_;
    bool armed_ = false;
    Text armedName_{"", ""};
    bool running_ = false;
    Text name_{"", ""};
    std::vector<TrackPoint> points_;
    TrackPoint start_{0, 0, 0, false};
    int32_t surfaceZ_ = 0;
    int64_t completedBase_ = 0;  // buffer's completed() less the moves queued before the job
    int64_t resetsAtBegin_ = 0;
    int64_t frozenDone_ = -1;  // the moves run when a reset stopped the job
    // The soft limits' sum when the dialog armed the track or the last job
    // ended: a job's first move is shortened before the track sees it.
    int64_t clipsAtBegin_ = 0;
    double beganS_ = 0, endedS_ = -1;
    int64_t generation_ = 0;
};

}  // namespace korvex
