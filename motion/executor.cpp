#include "motion/executor.h"

#include <chrono>
#include <future>

#include "log/event_log.h"
#include "motion/port.h"
#include "motion/step_output.h"
#include "platform/thread_priority.h"

namespace korvex {

namespace {
// The plan goes on from where the tool stands, with (dx, dy, dz) still queued.
void PlanFromTool(MachinePosition& p, int64_t dx, int64_t dy, int64_t dz) {
    p.plannedX.store(static_cast<int32_t>(p.absX.load() + dx));
    p.plannedY.store(static_cast<int32_t>(p.absY.load() + dy));
    p.plannedZ.store(static_cast<int32_t>(p.absZ.load() + dz));
}
}  // namespace

void CommandExecutor::start() {
    if (thread_.joinable()) return;
    m_.executor.executorExited.store(0);
    // Busy until it has read what it needs at start-up: the window may not
    // change the settings before then (ExecutorAtRest).
    m_.executor.executorIdle.store(0);
    // Returns once the thread is known, so that its priority can be set.
    std::promise<void> started;
    std::future<void> known = started.get_future();
    thread_ = std::thread([this, &started] {
        m_.timing.executorThreadId.store(CurrentThreadId());
        m_.timing.executorThread.store(std::this_thread::get_id());
        started.set_value();
        run();
    });
    known.wait();
}

void CommandExecutor::stop() {
    if (!thread_.joinable()) return;
    m_.executor.quitRequest.store(1);
    m_.gate.open();
    m_.buffer.wake();
    thread_.join();
    m_.timing.executorThreadId.store(0);
    m_.timing.executorThread.store({});
}

void CommandExecutor::run() {
    Machine& m = m_;
    ExecutorFlags& e = m.executor;
    SetExecutorPriority(m, m.settings.executorPriority, 0);
    busySinceNs_ = SystemClock().now();
    e.executorIdle.store(1);
    while (!e.quitRequest.load()) {
        m.gate.pass();
        if (e.quitRequest.load()) break;
        if (e.resetRequest.load()) {
            finishReset();
            continue;
        }
        if (m.buffer.queued() == 0) {
            m.buffer.waitForCommand();
            busySinceNs_ = SystemClock().now();
            continue;
        }
        MotionCommand command = m.buffer.entry(0);
        e.executorIdle.store(0);
        PrepareStepOutput(m);
        TakeSoftLimitDrops(m);
        if (command.checkSwitches) SetControlOutputs(m, -1, -1, 0);
        if (m.settings.laserPenMode) SetControlOutputs(m, -1, command.spindleOn, -1);
        if (command.accelerated && !waitForTables()) {
            if (e.quitRequest.load()) break;
            finishReset();
            continue;
        }
        runner_.run(command);
        e.currentPeriodUs.store(0);
        command.remainingTimeS = 0;
        m.buffer.publishFront(command.dx, command.dy, command.dz, 0);
        reportSoftLimitDrops();
        if (e.quitRequest.load()) break;
        if (e.resetRequest.load()) {
            finishReset();
            continue;
        }
        finishCommand(command);
    }
    m.buffer.reset();
    e.executorExited.store(1);
}

void CommandExecutor::finishCommand(const MotionCommand& command) {
    Machine& m = m_;
    ExecutorFlags& e = m.executor;
    if (command.dwellAfter) {
        PerformanceCounter& clock = *m.timing.clock;
        const int64_t seconds = static_cast<int64_t>(m.settings.dwellSeconds);
        clock.sleepUntil(clock.now() + seconds * clock.frequency());
    }
    if (command.stopAfter) {
        // Raised and suspended in one step: a release cannot slip between.
        e.programStop.store(command.stopAfter);
        m.gate.latchSelf(m.signals.estopActive);
        e.repaintRequests.fetch_add(1);
        busySinceNs_ = SystemClock().now();
    }
    m.buffer.removeFront();
    if (m.buffer.queued() > 0) {
        restIfThrottled();
        return;
    }
    e.executorIdle.store(1);
    e.repaintRequests.fetch_add(1);
    e.softLimitClipped.store(0);
}

void CommandExecutor::finishReset() {
    Machine& m = m_;
    // The abandoned commands will never run: the plan goes on from where
    // the tool stands. A resume point is stale once a later command moves on.
    MachinePosition& p = m.position;
    m.buffer.settleReset(m.executor.resetRequest, [&p](int64_t dx, int64_t dy, int64_t dz) {
        PlanFromTool(p, dx, dy, dz);
        if (dx != 0 || dy != 0 || dz != 0) p.resumeValid.store(0);
    });
    m.executor.executorIdle.store(1);
    m.executor.repaintRequests.fetch_add(1);
    m.executor.softLimitClipped.store(0);
}

// Without the tables a ramped move has no safe periods: it waits, queued
// with the rest of its job, until a build succeeds (or a reset or the end
// of the program drops it). False when it was dropped.
bool CommandExecutor::waitForTables() {
    if (m_.accel.ready.load()) return true;
    m_.log.say({"Tabulky zrychlení nejsou vytvořeny: polohovací pohyb čeká na nastavení, ze "
                "kterého je lze vytvořit",
                "The acceleration tables were not built: the positioning move waits for settings "
                "they can be built from"},
               true, true);
    while (!m_.accel.ready.load()) {
        m_.gate.pass();
        if (m_.executor.resetRequest.load() || m_.executor.quitRequest.load()) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

// Soft limits drop pulses silently inside the tick; the first command that
// lost some is reported once per run of the buffer, outside the tick.
void CommandExecutor::reportSoftLimitDrops() {
    const SoftLimitDrops d = TakeSoftLimitDrops(m_);
    if ((d.x | d.y | d.z) == 0 || m_.executor.softLimitClipped.exchange(1)) return;
    SayFormatted(m_.log,
                 {"Softwarové limity nepustily kroky mimo dráhu stroje: X %d, Y %d, Z %d",
                  "The soft limits dropped steps beyond the machine's travel: X %d, Y %d, Z %d"},
                 true, false, d.x, d.y, d.z);
}

// Under SCHED_FIFO with the kernel's bandwidth limit, a thread that
// busy-waits for the whole runtime is stalled in the middle of whatever
// move it is making. Resting briefly at a command boundary keeps it under
// the limit, so the stall never lands inside a move.
void CommandExecutor::restIfThrottled() {
    const int64_t every = m_.timing.rtRestEveryNs.load(std::memory_order_relaxed);
    if (every == 0) return;
    PerformanceCounter& clock = SystemClock();
    const int64_t now = clock.now();
    if (now - busySinceNs_ < every) return;
    clock.sleepUntil(now + m_.timing.rtRestNs.load(std::memory_order_relaxed));
    busySinceNs_ = clock.now();
}

void RequestBufferReset(Machine& m) {
    m.buffer.requestReset(m.executor.resetRequest);
    // Held by the stop, the executor makes no pulse before the release, and
    // the tick it holds is dropped with the reset.
    if (m.executor.resetRequest.load() && m.signals.estopActive.load())
        PlanFromTool(m.position, 0, 0, 0);
}

bool ExecutorAtRest(Machine& m) {
    // Only a start-up or the end of a command stands between an empty
    // buffer and an idle executor; either takes microseconds.
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    for (;;) {
        if (m.buffer.queued() > 0) return false;
        if (m.executor.executorIdle.load() || m.executor.executorExited.load()) return true;
        if (std::chrono::steady_clock::now() > giveUp) return false;
        std::this_thread::yield();
    }
}

bool WaitUntilDrained(Machine& m, const std::function<bool()>& stop) {
    for (;;) {
        if (m.buffer.queued() == 0 && m.executor.executorIdle.load()) return true;
        if (m.executor.executorExited.load() && m.executor.quitRequest.load()) return false;
        if (stop && stop()) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

}  // namespace korvex
