#pragma once
// The job dialogs as modal windows on Qt. Each returns the
// dialog's result. Those open while their job runs carry the emergency
// stop and "End job".

class QWidget;

namespace korvex {

class Controller;
class Host;

int RunSurfaceWindow(Controller& c, Host& host, QWidget* parent);
int RunSeparationWindow(Controller& c, QWidget* parent);
int RunDrillingWindow(Controller& c, Host& host, QWidget* parent);
// Needs a loaded vector model.
int RunHpglJobWindow(Controller& c, Host& host, QWidget* parent);
// Carves or simulates on the window's thread, handling the window's events
// between steps so it repaints and its emergency stop answers; the other
// controls wait for the run's end.
int RunReliefWindow(Controller& c, Host& host, QWidget* parent);
// Ok when a program was queued.
int RunGcodeWindow(Controller& c, Host& host, QWidget* parent);
int RunHeightMapWindow(Controller& c, Host& host, QWidget* parent);

}  // namespace korvex
