#pragma once
// The command executor, the thread the log calls hCommand: it takes the
// front command of the buffer, runs it tick by tick through OutputStep,
// applies its flags, removes it and goes on with the next.
//
// Thread contract:
// - With nothing queued (drained, after a reset) it blocks on the buffer,
//   and an append wakes it: an empty buffer never costs a core. The idle
//   wait is not a count on m.gate, so an append can never lift a
//   suspension the emergency stop holds.
// - It suspends itself (m.gate) after a command with stopAfter, as the
//   emergency input does; the release of the emergency stop resumes it.
// - It passes m.gate once per tick, so a suspension from any thread (the
//   emergency path of ReadInputs) halts it before its next tick; an
//   emergency its own OutputStep reads halts it before that tick's pulse.
//   A resume continues with that same tick: nothing lost or repeated.
// - It reads resetRequest and quitRequest once per tick: either ends the
//   move without another pulse.
// - A ramped move waits, with one box, while the acceleration tables are
//   not built; a reset or quit ends the wait.
// - The tick allocates, locks and logs nothing (errors aside).

#include <functional>
#include <thread>

#include "motion/machine.h"
#include "motion/move_runner.h"

namespace korvex {

class CommandExecutor {
  public:
    explicit CommandExecutor(Machine& m) : m_(m), runner_(m) {}
    ~CommandExecutor() { stop(); }
    CommandExecutor(const CommandExecutor&) = delete;
    CommandExecutor& operator=(const CommandExecutor&) = delete;

    // Starts the thread (running at once, blocked on an empty buffer).
    void start();
    // Sets quitRequest, ends the current move at its next tick and joins.
    // The machine then takes no more commands (the program is ending).
    void stop();
    bool running() const { return thread_.joinable(); }

    // Called on the executor thread for every tick (tracing and tests); set
    // it only while the executor is idle.
    void setTickObserver(TickObserver observer) { runner_.setTickObserver(std::move(observer)); }

  private:
    void run();
    void finishCommand(const MotionCommand& command);
    void finishReset();
    bool waitForTables();
    void reportSoftLimitDrops();
    void restIfThrottled();

    Machine& m_;
    MoveRunner runner_;
    std::thread thread_;
    int64_t busySinceNs_ = 0;
};

// The buffer-reset request of the window: the executor abandons the
// running command at its next tick (a tick held by an emergency stop makes
// no pulse) and drops everything queued up to this call. Commands queued
// after it are kept and run. While an emergency stop holds, the tool stands
// where it will start from, so what is queued next is planned from there at
// once, not from the abandoned commands' end. Window thread.
void RequestBufferReset(Machine& m);

// True when the executor runs no command and reads nothing of the
// settings, the tables or the buffer's entries: nothing is queued and the
// executor is idle (a start-up or a command's end in progress is waited
// for) or has no thread. Window thread: the settings, the acceleration
// tables and the buffer's size change only after it returned true, before
// anything is queued again. Its idle flag is stored after the executor's
// last read, so this load orders those reads before the window's writes.
bool ExecutorAtRest(Machine& m);

// Blocks the calling thread (never the executor) until the buffer is
// drained and the executor idle, or `stop` returns true (checked every
// millisecond). Returns true when drained.
bool WaitUntilDrained(Machine& m, const std::function<bool()>& stop = {});

}  // namespace korvex
