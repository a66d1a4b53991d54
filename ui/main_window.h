#pragma once
// The main window's behaviour: the start-up sequence, the status timer,
// painting, the commands and the shutdown. The Qt window only binds it to
// widgets; tests drive it through a recording window. Window thread.

#include <functional>

#include "ui/main_commands.h"
#include "ui/status_display.h"

namespace korvex {

class Controller;
class DialogLauncher;
class Host;
class WindowView;

class MainWindow {
  public:
    MainWindow(Controller& c, WindowView& view, Host& host, DialogLauncher& dialogs);
    // Stops the machine if the window closed without its shutdown, and
    // detaches the log from the window.
    ~MainWindow();
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // The start-up sequence: log, settings and the language question,
    // the machine, the menu, the status timer, the fields, the welcome box.
    void onInit();
    void onCommand(int id);
    void onEditChange(int id);
    void onTimer(int id);
    void onPaint();
    void onKey(JogKey key) { commands_.onKey(key); }
    // The shutdown: false when the operator keeps the window open.
    bool onClose();

    // Runs on the window's thread right before the executor is stopped at
    // shutdown (the Qt host answers the executor's open boxes there).
    void setBeforeExecutorStop(std::function<void()> hook) { beforeStop_ = std::move(hook); }

    StatusDisplay& status() { return status_; }

  private:
    void loadSettingsAndAsk();
    void showStartFields();

    Controller& c_;
    WindowView& view_;
    Host& host_;
    StatusDisplay status_;
    MainCommands commands_;
    std::function<void()> beforeStop_;
    int64_t repaintsSeen_ = 0;  // the executor's repaint requests handled
};

}  // namespace korvex
