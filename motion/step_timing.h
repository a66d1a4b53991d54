#pragma once
// The step output's timing state: the clock, the next tick's deadline, the
// ring of tick lateness values, and what the output precomputes from the
// settings so that a tick does no conversions.

#include <atomic>
#include <cstdint>
#include <thread>

#include "platform/clock.h"

namespace korvex {

inline constexpr int kTimingLogSize = 800;

// How one input's status bit reads as its flag (1 = active).
struct InputDecoding {
    uint8_t mask = 0;  // 0: not wired, the flag keeps its value
    bool activeWhenSet = false;
};
struct InputWiring {
    InputDecoding limitX, limitY, limitZ, zSensor, emergency;
};

// Where the patterns of steps (x, y, z, s4), each -1, 0 or +1, are kept.
inline int PatternIndex(int x, int y, int z, int s4) {
    return (x + 1) + 3 * (y + 1) + 9 * (z + 1) + 27 * (s4 + 1);
}

// The settings a tick needs, converted once (PrepareStepOutput).
struct StepOutputPlan {
    bool portActive = false;  // driveMode 3, port ready, no serial line
    bool softLimits = false;
    int32_t limitSteps[3] = {0, 0, 0};  // travel / step size, rounded
    bool oldTimer = true;
    int64_t ticksPerUs = 0;                     // counter ticks per microsecond when exact, else 0
    int64_t dirSetupTicks = 0, pulseTicks = 0;  // the two waits inside a tick
    uint16_t dataAddress = 0;
    // The idle and pulse patterns of every combination of the four steps
    // (-1, 0, +1 each), at PatternIndex.
    struct Patterns {
        uint8_t idle, pulse;
    } patterns[81] = {};
    int64_t frequency = 1;  // of the clock
    uint16_t statusAddress = 0;
    InputWiring inputs;
};

struct StepTiming {
    // Not owned. The machine's clock; the monotonic clock unless a front end
    // or a test wires another one.
    PerformanceCounter* clock = &SystemClock();
    std::atomic<int64_t> nextTickDeadline{1};
    // Lateness of each tick in new-timer mode, microseconds; read by the
    // timer test while the executor writes it.
    std::atomic<int32_t> timingLog[kTimingLogSize] = {};
    std::atomic<int32_t> timingLogIndex{0};
    // Stores one value at the write position and advances it round the ring.
    void logTiming(int32_t us) {
        const int32_t i = timingLogIndex.load(std::memory_order_relaxed);
        timingLog[i].store(us, std::memory_order_relaxed);
        timingLogIndex.store(i + 1 >= kTimingLogSize ? 0 : i + 1, std::memory_order_relaxed);
    }

    StepOutputPlan plan;
    std::atomic<bool> planned{false};
    // Pulses of X, Y, Z the soft limits dropped; the executor takes them per
    // command to report them.
    std::atomic<int32_t> softLimitDrops[3] = {0, 0, 0};

    // The executor's priority level as last asked for, and its thread.
    std::atomic<int32_t> priorityLevel{-1};
    std::atomic<int32_t> executorThreadId{0};
    std::atomic<std::thread::id> executorThread{};
    // Under a real-time policy with the kernel's bandwidth limit in force:
    // the executor rests rtRestNs after every rtRestEveryNs of running, at
    // a command boundary (0: never).
    std::atomic<int64_t> rtRestEveryNs{0};
    std::atomic<int64_t> rtRestNs{0};
};

}  // namespace korvex
