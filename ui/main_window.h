#pragma once
// The main window's behaviour: the start-up sequence, the status timer,
// painting, the commands and the shutdown. The Qt window only binds it to
// widgets; tests drive it through a recording window. Window thread.

#include <functional>

#include "ui/main_commands.h"
#include "ui/state_line.h"
#include "ui/status_display.h"
#include "ui/window_view.h"

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
    // The preview's zoom, pan and fit.
    void onPointer(int id, const PointerEvent& event);
    // The feed override's slider.
    void onScroll(int id, int request, int pos);
    // The feed override by `delta` percent (the + and - keys).
    void changeFeed(int delta);
    // The shutdown: false when the operator keeps the window open.
    bool onClose();

    // Runs on the window's thread right before the executor is stopped at
    // shutdown (the Qt host answers the executor's open boxes there).
    void setBeforeExecutorStop(std::function<void()> hook) { beforeStop_ = std::move(hook); }

    StatusDisplay& status() { return status_; }

  private:
    bool czechLocale() const;
    void loadSettingsAndAsk();
    void showStartFields();
    void setFeed(int percent);

    Controller& c_;
    WindowView& view_;
    Host& host_;
    StatusDisplay status_;
    StateLine state_;
    MainCommands commands_;
    std::function<void()> beforeStop_;
    int64_t repaintsSeen_ = 0;  // the executor's repaint requests handled
};

}  // namespace korvex
