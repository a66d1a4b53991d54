#pragma once
// The executor's counted suspend/resume gate.
//
// Counted like a thread's suspend count: every suspend() must be matched by
// one resume() before the gated thread runs again; resume() at count 0 does
// nothing. The gated thread calls pass() at its documented points and once per
// tick, so a suspension requested from any thread takes effect before its
// next tick, and a resume continues from that same tick.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace korvex {

class SuspendGate {
  public:
    // Any thread. Returns the previous count.
    int suspend();
    // Any thread. Returns the previous count (0: it was not suspended).
    int resume();
    // The gated thread: blocks while the count is above 0. Cheap when open:
    // one relaxed atomic load.
    void pass() {
        if (count_.load(std::memory_order_acquire) > 0) block();
    }
    int count() const { return count_.load(std::memory_order_acquire); }
    // Releases every waiter for good (shutdown); later suspends do not block.
    void open();

    // The emergency-stop latch: `flag` (the stop's state) and at most one
    // suspension that belongs to it change together under the gate's lock,
    // so a release can never land between raising the flag and suspending.
    // latch: sets flag and adds the latch's suspension unless it is held
    // already; true when this call added it. Any thread.
    bool latch(std::atomic<int32_t>& flag);
    // The gated thread latches and blocks until unlatched (or opened).
    void latchSelf(std::atomic<int32_t>& flag);
    // Clears flag and lifts the latch's suspension; false when flag was
    // clear already. Any thread.
    bool unlatch(std::atomic<int32_t>& flag);
    bool latched() const { return latched_.load(std::memory_order_acquire); }

  private:
    void block();
    // Lowers the count by one under the held lock; true when it reached 0.
    bool lower();

    std::atomic<int> count_{0};
    std::atomic<bool> latched_{false};
    std::atomic<bool> opened_{false};
    std::mutex mutex_;
    std::condition_variable resumed_;
};

}  // namespace korvex
