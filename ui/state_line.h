#pragma once
// The status area's one line of what the machine does: idle, homing, a job
// running with its progress, paused and what for, the emergency stop, the
// soft limits cutting a move short; the feed override when it is not
// 100 %; and, once a job ended, how long it took. Window thread.

#include <string>

#include "log/text.h"

namespace korvex {

class Controller;
enum class DialogKind;

// "12:34", or "1:02:03" from an hour on.
std::string FormatClock(double seconds);

// The job a dialog queues, as the state line and the log name it.
Text JobName(DialogKind kind);

class StateLine {
  public:
    explicit StateLine(Controller& c) : c_(c) {}

    // From the status timer: follows the job's end, saying it in the log
    // and keeping it as the idle line's notice.
    void update();
    std::string text() const;

  private:
    Controller& c_;
    std::string notice_;  // the last job's end, shown while idle
};

}  // namespace korvex
