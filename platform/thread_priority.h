#pragma once
// Thread priority levels 0-6 on Linux: 0 idle .. 3 normal .. 6 time critical.
//
// Levels 0-4 are nice values (19, 10, 5, 0, -5). Levels 5 and 6 ask for
// SCHED_FIFO (priorities 10 and 40); where that is not permitted they fall
// back to nice -10 and -20, and where that is refused too the thread keeps
// what it had.

#include <string>

namespace korvex {

// The calling thread's kernel id.
int CurrentThreadId();

struct PriorityOutcome {
    bool applied = false;   // the level's own policy is in force
    bool realtime = false;  // SCHED_FIFO is in force
    std::string refusal;    // what the system refused, with its message
    bool denied = false;    // refused for lack of permission (an rtprio or nice limit)
};

PriorityOutcome ApplyThreadPriority(int threadId, int level);

// The level whose policy the thread has now; -1 for anything else.
int ReadThreadPriorityLevel(int threadId);

// The kernel's real-time bandwidth: SCHED_FIFO threads may run `runtimeUs`
// of every `periodUs` (runtimeUs -1: unlimited). A busy-waiting real-time
// thread is stalled for the rest of each period.
struct RtBandwidth {
    long runtimeUs = -1;
    long periodUs = 1'000'000;
    bool limited() const { return runtimeUs >= 0 && runtimeUs < periodUs; }
};
RtBandwidth ReadRtBandwidth();

}  // namespace korvex
