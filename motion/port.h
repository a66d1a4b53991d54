#pragma once
// The LPT port: opening the backend, the port test, the inputs and the
// control outputs.
//
// Registers at lptAddress: data (+0, step and direction), status (+1,
// inputs), control (+2: bit 0 pin 1 machine, bit 1 pin 14 spindle, bit 2
// pin 16 emergency-stop output, bit 3 pin 17 "X2"; the hardware inverts
// bits 0, 1 and 3). Nothing touches the port unless portReady is set,
// useSerial is off and driveMode is 3.

#include <memory>
#include <string>

#include "motion/machine.h"

namespace korvex {

class Host;

// Attaches `io` (not owned) and opens it, logging each step with the
// original library's messages and then the backend's name; portReady = 1
// when it opened. Starts the new timer's deadline on the machine's clock.
// Window thread, at start-up.
void LoadPortLibrary(Machine& m, PortIo& io);

// The data latch must read back 170. Passed: all outputs to their idle
// levels. Failed: two boxes and portReady = 0. Skipped, port untouched,
// while an emergency stop holds (PortTestAllowed). Window thread, at
// start-up.
void TestPort(Machine& m);

// Whether a port test may write its pattern now: with inverted steps 170
// drives every step line active, so not while an emergency stop holds (the
// inputs are read first, so a pressed input counts). A skipped test is
// logged to the list. Window thread.
bool PortTestAllowed(Machine& m);

// Reads the status register into the signal flags. An active emergency
// input sets estopActive and suspends the executor, once however often it
// is seen (m.gate's latch); the executor halts before its next pulse. Then
// pin 16 is brought in line with estopActive. Either thread; never blocks.
void ReadInputs(Machine& m);

// A backend whose access failed stops the executor as the emergency input
// does (estopActive, m.gate's latch) and is reported once, naming the
// error. Either thread.
void StopForFailingPort(Machine& m);

// The same with the wiring converted beforehand (the tick's path: the
// port is known to be usable).
InputWiring WiringFor(const MachineSettings& s);
void ReadInputs(Machine& m, const InputWiring& wiring, uint16_t statusAddress);

// machine, spindle, pin17: 0 off, 1 on, anything else (-1) unchanged. Pin
// 16 always follows estopActive. Either thread: concurrent calls never lose
// a change. Logs "Stroj (Machine) On/Off" when switchMachine is on.
void SetControlOutputs(Machine& m, int machine, int spindle, int pin17);

// The operator's release of the emergency stop: possible only while the
// emergency input is inactive (returns 0 then, nothing changed). Clears
// estopActive, updates pin 16 and resumes the executor. Window thread.
int ReleaseEmergencyStop(Machine& m);

// The emergency-stop button, wherever it is shown. A press stops the
// executor before its next tick and holds it (the line alone stops nothing
// on a wiring without a loop back); a press while stopped releases it.
// Both are logged. Returns false, changing nothing, while the emergency
// input is active: the caller shows kEmergencyInputStillActive.
bool PressEmergencyStopButton(Machine& m);
inline constexpr const char* kEmergencyInputStillActive =
    "Stále je aktivní signál bezpečnostní stop\n signal emergency stop is still active";

}  // namespace korvex
