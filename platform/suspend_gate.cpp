#include "platform/suspend_gate.h"

namespace korvex {

int SuspendGate::suspend() {
    std::lock_guard lock(mutex_);
    return count_.fetch_add(1, std::memory_order_acq_rel);
}

int SuspendGate::resume() {
    int previous;
    {
        std::lock_guard lock(mutex_);
        previous = count_.load(std::memory_order_acquire);
        if (previous > 0) count_.store(previous - 1, std::memory_order_release);
    }
    if (previous == 1) resumed_.notify_all();
    return previous;
}

void SuspendGate::suspendSelf() {
    suspend();
    block();
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
