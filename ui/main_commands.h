#pragma once
// The main window's commands: a table from command id to action. Jogging,
// the switches and stops and the job dialogs are here; the position, model
// and settings commands are their own classes. Window thread.

#include <functional>
#include <initializer_list>
#include <unordered_map>

#include "log/text.h"
#include "ui/model_commands.h"
#include "ui/open_command.h"
#include "ui/position_commands.h"
#include "ui/settings_command.h"

namespace korvex {

class Controller;
class DialogLauncher;
class Host;
class StatusDisplay;
class WindowView;
enum class DialogKind;

// The keys that jog while the main window has the focus.
enum class JogKey { Left, Right, Up, Down, PageUp, PageDown };

class MainCommands {
  public:
    MainCommands(Controller& c, WindowView& view, Host& host, StatusDisplay& status,
                 DialogLauncher& dialogs);
    // The table's actions hold `this`.
    MainCommands(const MainCommands&) = delete;
    MainCommands& operator=(const MainCommands&) = delete;

    // True when `id` is one of the window's commands.
    bool onCommand(int id);
    void onEditChange(int id);
    // Arrows jog X and Y, Page Up lifts Z and Page Down lowers it, with the
    // jog buttons' SHIFT and CTRL rules.
    void onKey(JogKey key);

    PositionCommands& position() { return position_; }
    ModelCommands& model() { return model_; }
    SettingsCommand& settings() { return settings_; }
    OpenCommand& open() { return open_; }

  private:
    // `action` for each of `ids` (a menu item and its button share one).
    void on(std::initializer_list<int> ids, const std::function<void()>& action);
    // The same, after the file log's line of what the operator chose.
    void on(std::initializer_list<int> ids, Text chosen, std::function<void()> action);

    void jog(int axis, int sign);
    void about();
    void emergencyStop();
    void machineSwitch();
    void spindleSwitch();
    void resetBuffer();
    // Loads a drawing; with one loaded, asks whether to load another or
    // set up its job.
    void hpgl();
    void openJobDialog(DialogKind kind);

    Controller& c_;
    WindowView& view_;
    Host& host_;
    StatusDisplay& status_;
    DialogLauncher& dialogs_;
    ModelCommands model_;
    PositionCommands position_;
    SettingsCommand settings_;
    OpenCommand open_;
    std::unordered_map<int, std::function<void()>> actions_;
};

}  // namespace korvex
