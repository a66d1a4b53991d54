#pragma once
// The settings dialog (the Czech or the English form by the language in
// force), the pin dialog it opens and the timer test, as modal windows.
// Each returns the dialog's result.

class QWidget;

namespace korvex {

class Canvas;
class Controller;
class Host;

int RunSettingsWindow(Controller& c, Host& host, QWidget* parent);
int RunPinWindow(Controller& c, QWidget* parent);
// `graph`: the program's timing graph picture (may be null).
int RunTimerTestWindow(Controller& c, Canvas* graph, QWidget* parent);

}  // namespace korvex
