#pragma once
// What to do when the system refuses the port or the executor's priority:
// one log line naming the group or the limits line that grants it. The
// package changes no system file itself; the operator does, once.

namespace korvex {

struct Machine;
class PortIo;

// After a failed load(): logs the remedy when access was denied, else nothing.
void ExplainPortRefusal(Machine& m, const PortIo& io);

// After a priority change refused for lack of permission.
void ExplainPriorityRefusal(Machine& m);

}  // namespace korvex
