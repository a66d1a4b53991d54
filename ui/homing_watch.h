#pragma once
// Whether each axis is homed: a homing move ends without a word when its
// switch never answers, so the window checks the switch once the move has
// run. Window thread.

#include "ui/operator_state.h"

namespace korvex {

class Controller;
class Host;

// The axes of `axes` (bit per axis) are homed anew: unhomed until checked.
void BeginHoming(HomingState& homing, int axes);

// Once the homing moves have run: an axis whose switch is closed is homed;
// one whose switch is open says so (box and log) and stays unhomed. True
// when it checked something.
bool CheckHoming(Controller& c);

// Before a job: with soft limits on and an axis unhomed, the box once per
// program run.
void WarnUnhomedOnce(Controller& c, Host& host);

}  // namespace korvex
