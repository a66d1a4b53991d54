#include "platform/clock.h"

#include <time.h>

namespace korvex {

int64_t MonotonicClock::now() const {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<int64_t>(ts.tv_sec) * 1'000'000'000 + ts.tv_nsec;
}

void MonotonicClock::waitUntil(int64_t deadline) {
    while (now() < deadline) {
    }
}

void MonotonicClock::sleepUntil(int64_t deadline) {
    timespec ts{static_cast<time_t>(deadline / 1'000'000'000),
                static_cast<long>(deadline % 1'000'000'000)};
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &ts, nullptr) != 0) {
    }
}

PerformanceCounter& SystemClock() {
    static MonotonicClock clock;
    return clock;
}

void VirtualClock::waitUntil(int64_t deadline) {
    int64_t current = ticks_.load(std::memory_order_acquire);
    while (current < deadline &&
           !ticks_.compare_exchange_weak(current, deadline, std::memory_order_acq_rel)) {
    }
}

}  // namespace korvex
