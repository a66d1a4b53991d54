#include "platform/thread_priority.h"

#include <sched.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace korvex {

namespace {

struct LevelPolicy {
    int fifoPriority;  // 0: a nice level
    int nice;          // the level's nice value, or the fallback of a FIFO level
};

constexpr LevelPolicy kLevels[7] = {{0, 19}, {0, 10},   {0, 5},   {0, 0},
                                    {0, -5}, {10, -10}, {40, -20}};

std::string Refusal(const char* what) {
    return std::string(what) + " - " + std::strerror(errno);
}

bool SetNice(int threadId, int nice, PriorityOutcome& outcome) {
    sched_param normal{};
    if (sched_getscheduler(threadId) != SCHED_OTHER &&
        sched_setscheduler(threadId, SCHED_OTHER, &normal) != 0) {
        outcome.refusal = Refusal("SCHED_OTHER");
        return false;
    }
    if (setpriority(PRIO_PROCESS, static_cast<id_t>(threadId), nice) != 0) {
        outcome.denied = errno == EACCES || errno == EPERM;
        char what[32];
        std::snprintf(what, sizeof what, "nice %d", nice);
        outcome.refusal = Refusal(what);
        return false;
    }
    return true;
}

}  // namespace

int CurrentThreadId() {
    return static_cast<int>(gettid());
}

PriorityOutcome ApplyThreadPriority(int threadId, int level) {
    PriorityOutcome outcome;
    if (level < 0 || level > 6) return outcome;
    const LevelPolicy& p = kLevels[level];
    if (p.fifoPriority > 0) {
        sched_param param{};
        param.sched_priority = p.fifoPriority;
        if (sched_setscheduler(threadId, SCHED_FIFO, &param) == 0) {
            outcome.applied = outcome.realtime = true;
            return outcome;
        }
        outcome.denied = errno == EPERM;
        outcome.refusal = Refusal("SCHED_FIFO");
        PriorityOutcome fallback;
        SetNice(threadId, p.nice, fallback);
        if (!fallback.refusal.empty()) outcome.refusal += "; " + fallback.refusal;
        return outcome;
    }
    outcome.applied = SetNice(threadId, p.nice, outcome);
    return outcome;
}

int ReadThreadPriorityLevel(int threadId) {
    const int policy = sched_getscheduler(threadId);
    if (policy == SCHED_FIFO) {
        sched_param param{};
        if (sched_getparam(threadId, &param) != 0) return -1;
        for (int level = 0; level < 7; ++level)
            if (kLevels[level].fifoPriority == param.sched_priority) return level;
        return -1;
    }
    if (policy != SCHED_OTHER) return -1;
    errno = 0;
    const int nice = getpriority(PRIO_PROCESS, static_cast<id_t>(threadId));
    if (errno != 0) return -1;
    for (int level = 0; level < 7; ++level)
        if (kLevels[level].fifoPriority == 0 && kLevels[level].nice == nice) return level;
    return -1;
}

RtBandwidth ReadRtBandwidth() {
    RtBandwidth b;
    auto readLong = [](const char* path, long& value) {
        if (std::FILE* f = std::fopen(path, "r")) {
            if (std::fscanf(f, "%ld", &value) != 1) value = -1;
            std::fclose(f);
        }
    };
    readLong("/proc/sys/kernel/sched_rt_runtime_us", b.runtimeUs);
    readLong("/proc/sys/kernel/sched_rt_period_us", b.periodUs);
    return b;
}

}  // namespace korvex
