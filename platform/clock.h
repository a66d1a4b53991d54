#pragma once
// The performance counter every wait and measurement is timed against.
//
// Waits busy-wait on the counter and never sleep: a sleeping executor would
// miss its step deadlines by a scheduler quantum.

#include <atomic>
#include <cstdint>

namespace korvex {

class PerformanceCounter {
  public:
    virtual ~PerformanceCounter() = default;
    // Counter ticks; monotonic, any thread.
    virtual int64_t now() const = 0;
    // Ticks per second.
    virtual int64_t frequency() const = 0;
    // Busy-waits until now() >= deadline. A virtual clock jumps there at once.
    virtual void waitUntil(int64_t deadline) = 0;
    // Gives the processor away until `deadline`, for waits measured in
    // milliseconds (a dwell), where a scheduler quantum does not matter.
    virtual void sleepUntil(int64_t deadline) { waitUntil(deadline); }

    int64_t ticksFromMicroseconds(double us) const {
        return static_cast<int64_t>(us * static_cast<double>(frequency()) / 1e6);
    }
    // Busy-waits `us` microseconds from now.
    void waitMicroseconds(double us) { waitUntil(now() + ticksFromMicroseconds(us)); }
};

// CLOCK_MONOTONIC in nanoseconds.
class MonotonicClock final : public PerformanceCounter {
  public:
    int64_t now() const override;
    int64_t frequency() const override { return 1'000'000'000; }
    void waitUntil(int64_t deadline) override;
    void sleepUntil(int64_t deadline) override;
};

// The process's monotonic clock (stateless, shared).
PerformanceCounter& SystemClock();

// Time that advances only when somebody waits: a two-hour job runs in
// seconds and still knows its machine time. Safe from several threads.
class VirtualClock final : public PerformanceCounter {
  public:
    int64_t now() const override { return ticks_.load(std::memory_order_acquire); }
    int64_t frequency() const override { return 1'000'000'000; }
    void waitUntil(int64_t deadline) override;
    void advance(int64_t ticks) { ticks_.fetch_add(ticks, std::memory_order_acq_rel); }

  private:
    std::atomic<int64_t> ticks_{0};
};

}  // namespace korvex
