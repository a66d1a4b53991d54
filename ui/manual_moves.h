#pragma once
// What the main window's hand-made moves share: the jogs, the go-to moves
// and the origins' lifts run at the move speeds of the settings, and some
// commands wait for a machine at rest. Window thread.

#include <cstdint>

#include "log/text.h"

namespace korvex {

class Host;
struct Machine;
struct MachineSettings;

// The step period (us) of `axis` (0 X, 1 Y, 2 Z) at its move speed.
int32_t AxisPeriod(const MachineSettings& s, int axis);
// The period of a move on the chosen axes: the slowest step rate among
// them sets it; 0 (and a box) when none is chosen.
int32_t CombinedPeriod(Machine& m, bool x, bool y, bool z);
// The safe height over the material, in Z steps.
int32_t SafeSteps(const MachineSettings& s);

// True when the executor is at rest; otherwise the warning box `refusal`.
bool AtRestOrWarn(Machine& m, Host& host, Text refusal);

}  // namespace korvex
