#include "motion/job_sink.h"

#include <algorithm>
#include <limits>

#include "log/event_log.h"
#include "motion/rounding.h"

namespace korvex {

namespace {

int ClampToInt(int64_t v) {
    return static_cast<int>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

}  // namespace

bool RelativeOriginSet(Machine& m, const Text& box) {
    if (m.position.relOriginSet.load()) return true;
    m.log.say(box, true, true);
    return false;
}

bool FreeSlotsHold(Machine& m, int64_t needed, const Text& box) {
    const int64_t free = m.buffer.freeSlots();
    if (needed <= free) return true;
    const int64_t shortfall = needed - free;
    SayFormatted(m.log, box, true, true, ClampToInt(shortfall),
                 ClampToInt(m.settings.commandCapacity + shortfall));
    return false;
}

bool JobSink::start(int32_t deepest) {
    // Checked when counting too: a job that does not fit is refused before
    // it is queued, and the caller hears of it.
    const SurfaceBend::Reach reach = bend_ ? bend_->reach() : SurfaceBend::Reach{};
    if (!frame_.fits(m_, deepest, reach.raised, reach.lowered)) return false;
    if (!countOnly_) job_.emplace(m_);
    const MachineSettings& s = m_.settings;
    add({0, 0, frame_.rise(m_), PeriodUs(s.moveSpeedZ, s.mmPerStepZ), 1});
    return true;
}

void JobSink::followSurface() {
    map_ = m_.surfaceMap;
    if (map_) bend_.emplace(*map_, m_.settings);
}

void JobSink::move(int64_t dx, int64_t dy, int64_t dz, int32_t periodUs, int32_t accelerated,
                   int32_t dwellAfter, int32_t spindleOn) {
    if (bend_) return bentMove(dx, dy, dz, periodUs, accelerated, dwellAfter, spindleOn);
    if (dz != 0 && !countOnly_ && !full_) dz = frame_.aim(m_, dz);
    MotionCommand c{ClampToInt(dx), ClampToInt(dy), ClampToInt(dz), periodUs, accelerated};
    c.dwellAfter = dwellAfter;
    c.spindleOn = spindleOn;
    add(c);
}

void JobSink::bentMove(int64_t dx, int64_t dy, int64_t dz, int32_t periodUs, int32_t accelerated,
                       int32_t dwellAfter, int32_t spindleOn) {
    if (dx == 0 && dy == 0 && dz == 0) return;
    const bool feed = accelerated == 0;
    const int64_t n = bend_->pieces(dx, dy, feed);
    if (countOnly_) {
        count_ = SaturatingAdd(count_, n);
        return;
    }
    // From where the plan stands, so the surface is read where the tool
    // will be.
    const MachinePosition& p = m_.position;
    const int64_t x0 = int64_t{p.plannedX.load()} - p.relOriginX.load();
    const int64_t y0 = int64_t{p.plannedY.load()} - p.relOriginY.load();
    int64_t x = 0, y = 0, z = 0;
    for (int64_t k = 1; k <= n; ++k) {
        const int64_t tx = SurfaceBend::Share(dx, k, n), ty = SurfaceBend::Share(dy, k, n);
        const int64_t tz = SurfaceBend::Share(dz, k, n);
        MotionCommand c{ClampToInt(tx - x), ClampToInt(ty - y), 0, periodUs, accelerated};
        if (!full_) c.dz = frame_.aim(m_, tz - z, bend_->raise(x0 + tx, y0 + ty, feed));
        c.dwellAfter = k == n ? dwellAfter : 0;
        c.spindleOn = spindleOn;
        add(c);
        x = tx, y = ty, z = tz;
    }
}

void JobSink::add(const MotionCommand& c) {
    if (c.dx == 0 && c.dy == 0 && c.dz == 0) return;
    if (countOnly_) {
        count_ = SaturatingAdd(count_, 1);
        if (!timer_) timer_.emplace(m_);
        seconds_ += timer_->seconds(c);
        return;
    }
    // The free space was checked before the first append and only grows while
    // the executor drains; should it still run out, the rest of the job is
    // dropped with the buffer's one report instead of one box per move.
    if (full_) return;
    const int result = AppendCommand(m_, c);
    full_ = result == kBufferFull;
    if (result == kAppended) ++count_;
}

void JobSink::report(Text text, int64_t first, int64_t second) {
    // Only a job that fits the buffer is appended, so its numbers fit an int.
    if (!countOnly_)
        SayFormatted(m_.log, text, true, false, static_cast<int>(first), static_cast<int>(second));
}

int64_t JobSink::SaturatingAdd(int64_t a, int64_t b) {
    int64_t sum;
    return __builtin_add_overflow(a, b, &sum) ? std::numeric_limits<int64_t>::max() : sum;
}

int64_t JobSink::SaturatingMultiply(int64_t a, int64_t b) {
    int64_t product;
    return __builtin_mul_overflow(a, b, &product) ? std::numeric_limits<int64_t>::max() : product;
}

}  // namespace korvex
