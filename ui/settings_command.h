#pragma once
// The settings command and what follows the dialog: the settings the
// executor uses (steps, pins, inversions, periods, ramps, the buffer)
// change only here and in the dialog, both reached only while the executor
// is idle with nothing queued; the modal dialog keeps the window from
// queueing until every table is rebuilt. Window thread.

namespace korvex {

class Controller;
class DialogLauncher;
class Host;
class ModelCommands;
class StatusDisplay;
class WindowView;

class SettingsCommand {
  public:
    SettingsCommand(Controller& c, WindowView& view, Host& host, StatusDisplay& status,
                    DialogLauncher& dialogs, ModelCommands& model)
        : c_(c), view_(view), host_(host), status_(status), dialogs_(dialogs), model_(model) {}

    // Only at rest: the dialog (again after a change of language), then
    // config.dat's settings, the tables, the timer, the buffer and the
    // fields anew.
    void run();
    // (Re)allocates the command buffer at `commandCapacity`; closes the
    // window when the memory cannot be had. Only while the executor is idle.
    void allocateBuffer(bool toList);

  private:
    Controller& c_;
    WindowView& view_;
    Host& host_;
    StatusDisplay& status_;
    DialogLauncher& dialogs_;
    ModelCommands& model_;
};

}  // namespace korvex
