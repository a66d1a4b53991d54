#pragma once
// Who answers the stops a job raises while korvex-cli runs it: a tool change
// (M6), a program pause (M0), the probe's "remove the probe".
//
// On the simulated machine, and without a port, korvex-cli stands in for the
// operator: it takes the probe away and releases the stop at once. On a real
// port nobody may do that for the person at the machine: the question goes
// to the terminal, and the job waits for Enter (go on) or q (end the job with
// a buffer reset). Without a terminal the job ends at the stop, where it
// stands. Main thread, while the executor runs the job.

#include <cstdio>
#include <string>

#include "motion/machine.h"

namespace korvex {
class SimulatedMachine;
}

namespace korvex::cli {

class StopOperator {
  public:
    // `port`: the backend's name ("sim", "none", "ppdev:DEV", "rawio");
    // `sim`: the simulated machine, if that is the backend; `terminal`: where
    // answers are read, null when there is no terminal.
    StopOperator(Machine& m, const std::string& port, SimulatedMachine* sim, std::FILE* terminal);

    // Answers a stop if one holds the executor. False when the job ends
    // here (then ended() is true).
    bool answer();
    bool ended() const { return ended_; }

    // Whether a stop on the backend `port` is released without a person.
    static bool ReleasesItself(const std::string& port);

  private:
    // Blocks for the person's answer; false when the job is to end.
    bool ask();
    void end(Text why);

    Machine& m_;
    bool releasesItself_;
    SimulatedMachine* sim_;
    std::FILE* terminal_;
    bool ended_ = false;
};

}  // namespace korvex::cli
