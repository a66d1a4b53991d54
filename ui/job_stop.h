#pragma once
// The emergency stop and the end of a job, wherever the operator reaches
// them: the main window's buttons, the job dialogs' own, the keyboard.
// Window thread.

#include <cstdint>
#include <string>

#include "log/text.h"
#include "machining/relief_carve.h"

namespace korvex {

class Controller;
class Host;

// Something is queued, the executor runs a command, a relief carves or a
// G-code program waits to be fed.
bool MachineMoving(Controller& c);

// The stop button: holds the stop, or releases it when held. While the
// emergency input is active it only shows the box. True when the stop is
// held afterwards.
bool PressStop(Controller& c, Host& host);

// The keyboard's stop (Esc, Pause): holds the stop while the machine moves
// and is not held already; never releases it. True when it stopped.
bool KeyStop(Controller& c);

// "End job": holds the stop if it is not held; its release (PressStop or
// ContinueProgram) then drops what is left of the job and lifts the tool
// to the height over the material, saying where the tool will stand. A
// relief's carving does the same by itself. Nothing runs: only the log
// line saying so.
void EndJob(Controller& c);

// The stop of a program (kStop... of motion_command.h) that holds the
// machine and waits for the operator; 0 when none does, or when an
// emergency holds it.
int32_t ProgramStopHolding(Controller& c);
// What the machine waits for, "" for 0: "Program pause: Continue".
std::string ProgramStopText(int language, int32_t stop);
// "Continue" after a program's stop: releases it; nothing otherwise.
void ContinueProgram(Controller& c);

inline constexpr Text kContinueCaption{"Pokračovat", "Continue"};
inline constexpr Text kStopKeysHint{"Nouzový stop: Esc nebo Pause, kdykoli stroj jede",
                                    "Emergency stop: Esc or Pause, whenever the machine moves"};

}  // namespace korvex
