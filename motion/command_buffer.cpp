#include "motion/command_buffer.h"

#include <algorithm>
#include <new>

#include "log/event_log.h"

namespace korvex {

void CommandBuffer::allocate(int capacity) {
    if (capacity > kMaxCommandCapacity) throw std::bad_alloc();
    std::vector<MotionCommand> entries(static_cast<size_t>(capacity > 0 ? capacity : 0));
    std::lock_guard lock(mutex_);
    entries_.swap(entries);
    head_ = 0;
    pushed_ = resetMark_ = 0;
    storedTimeS_ = 0;
    switchMoves_.store(0, std::memory_order_release);
    frontPublished_.store(false, std::memory_order_release);
    count_.store(0, std::memory_order_release);
    capacity_.store(static_cast<int>(entries_.size()), std::memory_order_release);
}

CommandBuffer::Push CommandBuffer::push(const MotionCommand& command, EventLog& log,
                                        const Planner& plan) {
    std::unique_lock lock(mutex_, std::defer_lock);
    if (removing_.load(std::memory_order_acquire)) {
        log.say({"smyčka čeká na zařazení příkazu", "waiting for add next command"}, true, false);
    }
    lock.lock();
    const int count = count_.load(std::memory_order_relaxed);
    if (count >= static_cast<int>(entries_.size())) return Push::kFull;
    MotionCommand& stored = entries_[slot(count)];
    stored = command;
    if (plan && !plan(stored)) {
        stored = MotionCommand{};
        return Push::kDeclined;
    }
    ++pushed_;
    storedTimeS_ += stored.remainingTimeS;
    if (stored.checkSwitches) switchMoves_.fetch_add(1, std::memory_order_release);
    count_.store(count + 1, std::memory_order_release);
    const MotionCommand queued = stored;
    lock.unlock();
    queuedSignal_.notify_one();
    for (const AppendObserver& observe : observers_) observe(queued);
    return Push::kQueued;
}

MotionCommand CommandBuffer::entry(int i) const {
    std::lock_guard lock(mutex_);
    if (i < 0 || i >= count_.load(std::memory_order_relaxed)) return {};
    MotionCommand c = entries_[slot(i)];
    if (i == 0 && frontPublished_.load(std::memory_order_acquire)) {
        c.dx = frontDx_.load(std::memory_order_relaxed);
        c.dy = frontDy_.load(std::memory_order_relaxed);
        c.dz = frontDz_.load(std::memory_order_relaxed);
        c.remainingTimeS = frontTimeS_.load(std::memory_order_relaxed);
    }
    return c;
}

double CommandBuffer::remainingTimeS() const {
    std::lock_guard lock(mutex_);
    if (count_.load(std::memory_order_relaxed) == 0) return 0;
    double total = storedTimeS_;
    if (frontPublished_.load(std::memory_order_acquire))
        total += frontTimeS_.load(std::memory_order_relaxed) - entries_[head_].remainingTimeS;
    return total;
}

void CommandBuffer::waitForCommand() {
    std::unique_lock lock(mutex_);
    queuedSignal_.wait(lock,
                       [this] { return count_.load(std::memory_order_relaxed) > 0 || woken_; });
    woken_ = false;
}

void CommandBuffer::wake() {
    {
        std::lock_guard lock(mutex_);
        woken_ = true;
    }
    queuedSignal_.notify_all();
}

void CommandBuffer::publishFront(int32_t dx, int32_t dy, int32_t dz, double remainingTimeS) {
    frontDx_.store(dx, std::memory_order_relaxed);
    frontDy_.store(dy, std::memory_order_relaxed);
    frontDz_.store(dz, std::memory_order_relaxed);
    frontTimeS_.store(remainingTimeS, std::memory_order_relaxed);
    frontPublished_.store(true, std::memory_order_release);
}

void CommandBuffer::dropFront(int n) {
    for (int count = count_.load(std::memory_order_relaxed); n > 0 && count > 0; --n, --count) {
        storedTimeS_ -= entries_[head_].remainingTimeS;
        if (entries_[head_].checkSwitches) switchMoves_.fetch_sub(1, std::memory_order_release);
        entries_[head_] = MotionCommand{};
        head_ = (head_ + 1) % entries_.size();
        count_.store(count - 1, std::memory_order_release);
        if (count == 1) storedTimeS_ = 0;  // no drift left behind by the sums
    }
    frontPublished_.store(false, std::memory_order_release);
}

void CommandBuffer::removeFront() {
    removing_.store(true, std::memory_order_release);
    {
        std::lock_guard lock(mutex_);
        dropFront(1);
    }
    completed_.fetch_add(1, std::memory_order_release);
    removing_.store(false, std::memory_order_release);
}

void CommandBuffer::requestReset(std::atomic<int32_t>& asked) {
    std::lock_guard lock(mutex_);
    resetMark_ = pushed_;
    ++resetRequests_;
    asked.store(count_.load(std::memory_order_relaxed) > 0 ? 1 : 0);
}

void CommandBuffer::settleReset(std::atomic<int32_t>& asked, const Replanner& replan) {
    std::lock_guard lock(mutex_);
    const int64_t front = pushed_ - count_.load(std::memory_order_relaxed);
    dropFront(static_cast<int>(std::max<int64_t>(resetMark_ - front, 0)));
    asked.store(0);
    if (!replan) return;
    int64_t dx = 0, dy = 0, dz = 0;
    for (int i = 0, n = count_.load(std::memory_order_relaxed); i < n; ++i) {
        const MotionCommand& c = entries_[slot(i)];
        dx += c.dx, dy += c.dy, dz += c.dz;
    }
    replan(dx, dy, dz);
}

void CommandBuffer::reset() {
    std::lock_guard lock(mutex_);
    std::fill(entries_.begin(), entries_.end(), MotionCommand{});
    head_ = 0;
    storedTimeS_ = 0;
    switchMoves_.store(0, std::memory_order_release);
    frontPublished_.store(false, std::memory_order_release);
    count_.store(0, std::memory_order_release);
}

}  // namespace korvex
