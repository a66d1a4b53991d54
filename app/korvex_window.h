#pragma once
// The main window on Qt: the Designer form bound to the main window's
// logic, the menu, keyboard jogging, the keyboard's emergency stop and, on
// the simulated machine, the simulator panel.

#include <QMainWindow>
#include <memory>

#include "app/qt_dialog_launcher.h"
#include "app/qt_window_view.h"
#include "ui/main_window.h"

namespace Ui {
class MainForm;
}

namespace korvex {

class Controller;
class QtHost;
class SimPanel;
class StopKeys;

class KorvexWindow final : public QMainWindow {
  public:
    KorvexWindow(Controller& c, QtHost& host);
    ~KorvexWindow() override;

    // The start-up sequence; call once the window is shown.
    void start();

    MainWindow& logic() { return *logic_; }
    QtWindowView& view() { return *view_; }
    // Null unless the machine runs on the simulated backend.
    SimPanel* simPanel() { return sim_; }

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void addJogKeys();
    void addFeedKeys();

    Controller& c_;
    QtHost& host_;
    std::unique_ptr<Ui::MainForm> form_;
    std::unique_ptr<QtWindowView> view_;
    QtDialogLauncher launcher_;
    std::unique_ptr<MainWindow> logic_;
    std::unique_ptr<StopKeys> stopKeys_;
    SimPanel* sim_ = nullptr;
    bool started_ = false;
};

}  // namespace korvex
