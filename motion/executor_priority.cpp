#include "log/event_log.h"
#include "motion/access_hints.h"
#include "motion/step_output.h"
#include "platform/thread_priority.h"

namespace korvex {

namespace {
// A busy-waiting real-time thread is stalled by the kernel once it has used
// its runtime in a period. Resting for a little more than the rest of the
// period after every half of the runtime keeps it well inside the limit.
void PlanRest(Machine& m, bool realtime, bool logIt) {
    const RtBandwidth b = ReadRtBandwidth();
    const bool rest = realtime && b.limited();
    m.timing.rtRestEveryNs.store(rest ? b.runtimeUs * 1000 / 2 : 0);
    m.timing.rtRestNs.store(rest ? (b.periodUs - b.runtimeUs + 10'000) * 1000 : 0);
    if (rest && logIt)
        SayFormatted(
            m.log,
            {"Realtime priorita: jádro dovolí čekání ve smyčce jen %ld µs z každých %ld "
             "µs, proto vykonávání mezi příkazy krátce odpočívá (kernel.sched_rt_runtime_us "
             "= -1 omezení ruší)",
             "Real-time priority: the kernel allows busy-waiting for only %ld of every %ld "
             "µs, so the executor rests briefly between commands "
             "(kernel.sched_rt_runtime_us = -1 lifts the limit)"},
            true, false, b.runtimeUs, b.periodUs);
}
}  // namespace

const char* PriorityName(int level) {
    static const char* const kNames[7] = {"THREAD_PRIORITY_IDLE",         "THREAD_PRIORITY_LOWEST",
                                          "THREAD_PRIORITY_BELOW_NORMAL", "THREAD_PRIORITY_NORMAL",
                                          "THREAD_PRIORITY_ABOVE_NORMAL", "THREAD_PRIORITY_HIGHEST",
                                          "THREAD_PRIORITY_TIME_CRITICAL"};
    return level >= 0 && level < 7 ? kNames[level] : "priority unknown";
}

int SetExecutorPriority(Machine& m, int level, int logIt) {
    if (level < 0 || level > 6) return 0;
    int thread = m.timing.executorThreadId.load();
    if (thread == 0) thread = CurrentThreadId();
    if (ReadThreadPriorityLevel(thread) == level) {
        m.timing.priorityLevel.store(level);
        return 0;
    }
    const PriorityOutcome outcome = ApplyThreadPriority(thread, level);
    m.timing.priorityLevel.store(level);
    if (logIt) {
        m.log.line(PriorityName(level), true, false);
        if (!outcome.refusal.empty()) m.log.line(outcome.refusal, true, false);
        if (outcome.denied) ExplainPriorityRefusal(m);
    }
    PlanRest(m, outcome.realtime, logIt);
    return 1;
}

}  // namespace korvex
