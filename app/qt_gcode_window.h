#pragma once
// The G-code import dialog as a modal window on Qt.

class QWidget;

namespace korvex {

class Controller;
class Host;

// Returns the dialog's result: Ok when a program was queued.
int RunGcodeWindow(Controller& c, Host& host, QWidget* parent);

}  // namespace korvex
