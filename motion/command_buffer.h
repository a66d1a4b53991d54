#pragma once
// The command buffer: a fixed-capacity queue of motion commands.
//
// Producers append on the window's thread; the executor thread takes the
// front command (logical index 0), runs it and removes it. Entries are kept
// in a ring, so removing the front costs O(1) whatever the queue's length;
// everybody reads entries by logical index 0 .. lastIndex().
//
// While the executor runs the front command it publishes the command's
// remaining steps and time through publishFront(), lock-free, once per tick;
// readers see them in entry(0) and remainingTimeS().

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

#include "motion/motion_command.h"

namespace korvex {

class EventLog;

// The largest buffer allocated: 16 M commands, 768 MiB of entries. The
// biggest jobs stay far below it, and the kernel grants larger sizes only
// to kill the program when the zero-filled entries are touched.
inline constexpr int kMaxCommandCapacity = 1 << 24;

class CommandBuffer {
  public:
    CommandBuffer() = default;
    CommandBuffer(const CommandBuffer&) = delete;
    CommandBuffer& operator=(const CommandBuffer&) = delete;

    // (Re)allocates `capacity` zeroed entries: empty, every slot free. Only
    // while the executor is idle. Throws std::bad_alloc, with the buffer and
    // its queue untouched, when memory runs out or `capacity` is over
    // kMaxCommandCapacity.
    void allocate(int capacity);

    int capacity() const { return capacity_.load(std::memory_order_acquire); }
    // The index of the last queued command; -1 when empty.
    int lastIndex() const { return count_.load(std::memory_order_acquire) - 1; }
    int queued() const { return count_.load(std::memory_order_acquire); }
    // Always capacity() - queued(): a producer's free-space check is never stale.
    int freeSlots() const { return capacity() - queued(); }
    // True while a switch-checking move (homing, probing) is queued: where it
    // stops, and so where the moves behind it start, is not known yet.
    bool switchMoveQueued() const { return switchMoves_.load(std::memory_order_acquire) > 0; }
    // 0 while the executor is removing the finished command.
    int appendOpen() const { return removing_.load(std::memory_order_acquire) ? 0 : 1; }

    // Appends at the end. `plan`, called under the buffer's lock before the
    // command is stored, may change it (and plans its position); when it
    // returns false nothing is stored. Logs "waiting for add next command"
    // once when it has to wait for a removal in progress. Window thread.
    enum class Push { kQueued, kFull, kDeclined };
    using Planner = std::function<bool(MotionCommand&)>;
    Push push(const MotionCommand& command, EventLog& log, const Planner& plan = {});

    // A copy of the entry at logical index `i`; all zero past the end.
    MotionCommand entry(int i) const;
    // The estimated time of everything queued, seconds.
    double remainingTimeS() const;
    // Commands run to their end and removed since start-up (a reset's drops
    // do not count): a job's progress is followed by it.
    int64_t completed() const { return completed_.load(std::memory_order_acquire); }

    // --- executor thread ---
    // Blocks until a command is queued or wake() is called.
    void waitForCommand();
    // Releases waitForCommand() (shutdown).
    void wake();
    // The front command's progress: steps still to go and time left.
    void publishFront(int32_t dx, int32_t dy, int32_t dz, double remainingTimeS);
    // Removes the finished front command and zeroes its slot.
    void removeFront();
    // Drops everything queued and zeroes every entry.
    void reset();

    // --- the buffer reset ---
    // Window thread: asks for everything queued now to be dropped, setting
    // `asked` (resetRequest) under the buffer's lock; commands pushed later
    // are kept. With nothing queued there is nothing to drop and `asked` is
    // cleared at once.
    void requestReset(std::atomic<int32_t>& asked);
    // How many resets were asked for since the program started: a job fed
    // into the buffer piece by piece ends when this changes.
    int64_t resetRequests() const { return resetRequests_.load(); }
    // Executor thread: drops what was queued when the reset was asked for
    // and clears `asked`, in one step, so neither a push nor a new request
    // can land between the two. `replan` gets, under the same lock, the sum
    // of the steps still queued (pushed after the request).
    using Replanner = std::function<void(int64_t dx, int64_t dy, int64_t dz)>;
    void settleReset(std::atomic<int32_t>& asked, const Replanner& replan = {});

    // Called on the producer's thread after every successful push, in the
    // order added (the command-line front end writes the commands out from
    // here, the window follows its jobs).
    using AppendObserver = std::function<void(const MotionCommand&)>;
    void addAppendObserver(AppendObserver observer) { observers_.push_back(std::move(observer)); }

  private:
    size_t slot(int logical) const {
        return (head_ + static_cast<size_t>(logical)) % entries_.size();
    }
    // Removes up to n commands from the front, zeroing their slots. Lock held.
    void dropFront(int n);

    mutable std::mutex mutex_;
    std::condition_variable queuedSignal_;
    std::vector<MotionCommand> entries_;
    size_t head_ = 0;
    // Commands pushed since allocation, and that count when the pending
    // reset was asked for: the queue's first pushed_ - count_ were removed.
    int64_t pushed_ = 0, resetMark_ = 0;
    std::atomic<int> capacity_{0};
    std::atomic<int> count_{0};
    std::atomic<bool> removing_{false};
    std::atomic<int64_t> resetRequests_{0};
    std::atomic<int64_t> completed_{0};
    std::atomic<int> switchMoves_{0};  // queued commands with checkSwitches
    bool woken_ = false;
    double storedTimeS_ = 0;  // sum of the stored remainingTimeS of every entry

    std::atomic<bool> frontPublished_{false};
    std::atomic<int32_t> frontDx_{0}, frontDy_{0}, frontDz_{0};
    std::atomic<double> frontTimeS_{0};

    std::vector<AppendObserver> observers_;
};

}  // namespace korvex
