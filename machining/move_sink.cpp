#include "machining/move_sink.h"

#include <algorithm>

#include "log/event_log.h"
#include "motion/machine.h"
#include "motion/rounding.h"

namespace korvex {

bool MoveSink::start(int32_t deepest) {
    if (!countOnly_) {
        if (!frame_.fits(machine_, deepest)) return false;
        job_.emplace(machine_);
    }
    const MachineSettings& s = machine_.settings;
    append(0, 0, frame_.rise(machine_), PeriodUs(s.moveSpeedZ, s.mmPerStepZ), 1, 0, 0);
    return true;
}

void MoveSink::move(int32_t dx, int32_t dy, int32_t dz, int32_t periodUs, int32_t accelerated,
                    int32_t dwellAfter, int32_t spindleOn) {
    if (dz != 0 && !countOnly_ && !bufferFull_) dz = frame_.aim(machine_, dz);
    append(dx, dy, dz, periodUs, accelerated, dwellAfter, spindleOn);
}

void MoveSink::append(int32_t dx, int32_t dy, int32_t dz, int32_t periodUs, int32_t accelerated,
                      int32_t dwellAfter, int32_t spindleOn) {
    if (countOnly_) {
        if (dx != 0 || dy != 0 || dz != 0) ++count_;
        return;
    }
    // The free space was checked before the first append and only grows while
    // the executor drains; should it still run out, the rest of the job is
    // dropped with the buffer's one report instead of one box per move.
    if (bufferFull_) return;
    bufferFull_ = AppendCommand(machine_, dx, dy, dz, periodUs, accelerated, dwellAfter, 0,
                                spindleOn, 0) == kBufferFull;
}

void MoveSink::report(Text text, int64_t first, int64_t second) {
    // Only a job that fits the buffer is appended, so its numbers fit an int.
    if (!countOnly_)
        SayFormatted(machine_.log, text, true, false, static_cast<int>(first),
                     static_cast<int>(second));
}

int32_t MoveSink::result() const {
    if (!countOnly_) return 0;
    return static_cast<int32_t>(std::min<int64_t>(count_, INT32_MAX));
}

int32_t RatePeriodUs(float stepsPerSecond) {
    return PeriodUs(stepsPerSecond, 1.0);
}

}  // namespace korvex
