#pragma once
// Tool probing: bring the tool tip `safeHeight` above the surface on which
// the touch probe lies.
//
// Asks the operator first (OK / Cancel), then queues four ramped Z moves:
// down until the probe answers (at most the whole Z travel), up by
// `safeHeight` into the emergency-stop state (the operator takes the probe
// away and releases it), back down, and down by the probe height less
// `safeHeight`. Needs more than 4 free entries. Returns once queued; the
// executor does the motion. Window thread.

#include "motion/machine.h"

namespace korvex {

class Host;

void ProbeToolLength(Machine& m, Host& host);

}  // namespace korvex
