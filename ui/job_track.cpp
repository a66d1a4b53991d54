#include "ui/job_track.h"

#include <algorithm>

namespace korvex {

double JobTrack::now() const {
    const PerformanceCounter& clock = *m_.timing.clock;
    return static_cast<double>(clock.now()) / static_cast<double>(clock.frequency());
}

void JobTrack::queued(const MotionCommand& c) {
    const MachinePosition& p = m_.position;
    const TrackPoint end{p.plannedX.load(), p.plannedY.load(), p.plannedZ.load(),
                         c.accelerated != 0};
    if (!running_) {
        if (!armed_) return;
        running_ = true;
        name_ = armedName_;
        points_.clear();
        ++generation_;
        start_ = {end.x - c.dx, end.y - c.dy, end.z - c.dz, false};
        surfaceZ_ = p.relOriginSet.load() == 1 ? p.relOriginZ.load() : start_.z;
        // This move and those queued before it have not run yet.
        completedBase_ = m_.buffer.completed() + m_.buffer.queued() - 1;
        resetsAtBegin_ = m_.buffer.resetRequests();
        frozenDone_ = -1;
        beganS_ = now();
        endedS_ = -1;
    }
    points_.push_back(end);
}

void JobTrack::outline(Text name, int32_t width, int32_t height, int32_t depth) {
    if (running_) return;
    const MachinePosition& p = m_.position;
    const int32_t x = p.absX.load(), y = p.absY.load(), z = p.absZ.load() + depth;
    name_ = name;
    start_ = {x, y, z, false};
    points_ = {{x + width, y, z, false},
               {x + width, y + height, z, false},
               {x, y + height, z, false},
               {x, y, z, false}};
    surfaceZ_ = p.relOriginSet.load() == 1 ? p.relOriginZ.load() : p.absZ.load();
    frozenDone_ = 0;
    beganS_ = endedS_ = now();
    ++generation_;
}

void JobTrack::clear() {
    if (running_) return;
    points_.clear();
    ++generation_;
}

int64_t JobTrack::done() const {
    if (frozenDone_ >= 0) return frozenDone_;
    const int64_t run = m_.buffer.completed() - completedBase_;
    return std::clamp<int64_t>(run, 0, static_cast<int64_t>(points_.size()));
}

double JobTrack::elapsedS() const {
    if (points_.empty()) return 0;
    return (endedS_ >= 0 ? endedS_ : now()) - beganS_;
}

JobTrack::Change JobTrack::update(bool feeding) {
    if (!running_) return Change::None;
    const bool reset = m_.buffer.resetRequests() != resetsAtBegin_;
    if (!reset && (feeding || m_.buffer.queued() > 0)) return Change::None;
    if (reset) frozenDone_ = done();
    running_ = false;
    endedS_ = now();
    clipsAtBegin_ = m_.clips.total;
    return reset ? Change::Stopped : Change::Finished;
}

}  // namespace korvex
