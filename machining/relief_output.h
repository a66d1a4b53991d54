#pragma once
// Where a relief's steps go. The relief drives the step output itself, one
// step at a time, from the window's thread; this interface lets the command
// line record the moves and tests check every step.

#include <functional>

namespace korvex {

struct Machine;

class ReliefOutput {
  public:
    virtual ~ReliefOutput() = default;
    // Before the first step of a carving run.
    virtual void begin() {}
    // One step on each axis whose direction is -1 or +1 (+Z goes down into
    // the material), then at least `periodUs` before the next step starts.
    // False when an emergency stop held it back (none made, even if the
    // stop came with the step's own reading of the inputs): the relief
    // repeats it after the release.
    virtual bool step(int stepX, int stepY, int stepZ, int periodUs) = 0;
    // After every row and every 20 ms of steps: the window handles its
    // events (repaints, the emergency-stop button). Must return promptly.
    virtual void idle() = 0;
    // Called again and again while the relief waits for the emergency stop
    // to be released or for the executor to finish its queue: handles the
    // window's events and returns after a short while.
    virtual void wait() = 0;
};

// The real output: the machine's step output and port. `events` (if set)
// runs the window's event loop. Window thread, and only while the executor
// is idle: the dialog waits for it before a run.
class PortReliefOutput final : public ReliefOutput {
  public:
    explicit PortReliefOutput(Machine& m, std::function<void()> events = {})
        : machine_(m), events_(std::move(events)) {}
    void begin() override;
    bool step(int stepX, int stepY, int stepZ, int periodUs) override;
    void idle() override;
    void wait() override;

  private:
    Machine& machine_;
    std::function<void()> events_;
};

}  // namespace korvex
