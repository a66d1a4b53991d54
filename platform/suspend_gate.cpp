#include "platform/suspend_gate.h"

namespace korvex {

int SuspendGate::suspend() {
    std::lock_guard lock(mutex_);
    return count_.fetch_add(1, std::memory_order_acq_rel);
}

bool SuspendGate::lower() {
    const int previous = count_.load(std::memory_order_acquire);
    if (previous > 0) count_.store(previous - 1, std::memory_order_release);
    return previous == 1;
}

int SuspendGate::resume() {
    int previous;
    {
        std::lock_guard lock(mutex_);
        previous = count_.load(std::memory_order_acquire);
        lower();
    }
    if (previous == 1) resumed_.notify_all();
    return previous;
}

bool SuspendGate::latch(std::atomic<int32_t>& flag) {
    std::lock_guard lock(mutex_);
    flag.store(1);
    if (latched_.load(std::memory_order_relaxed)) return false;
    latched_.store(true, std::memory_order_release);
    count_.fetch_add(1, std::memory_order_acq_rel);
    return true;
}

void SuspendGate::latchSelf(std::atomic<int32_t>& flag) {
    latch(flag);
    block();
}

bool SuspendGate::unlatch(std::atomic<int32_t>& flag) {
    bool reachedZero = false;
    {
        std::lock_guard lock(mutex_);
        if (flag.exchange(0) == 0) return false;
        if (latched_.load(std::memory_order_relaxed)) {
            latched_.store(false, std::memory_order_release);
            reachedZero = lower();
        }
    }
    if (reachedZero) resumed_.notify_all();
    return true;
}

void SuspendGate::block() {
    std::unique_lock lock(mutex_);
    resumed_.wait(lock, [this] {
        return count_.load(std::memory_order_acquire) == 0 ||
               opened_.load(std::memory_order_acquire);
    });
}

void SuspendGate::open() {
    {
        std::lock_guard lock(mutex_);
        opened_.store(true, std::memory_order_release);
    }
    resumed_.notify_all();
}

}  // namespace korvex
