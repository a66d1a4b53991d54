#pragma once
// The emergency stop within reach from every Korvex window: Esc and Pause
// hold it while the machine moves, whichever window has the keyboard, and
// a job dialog's own "emergencyStop" and "endJob" buttons (by object name)
// act as the main window's.

#include <QObject>
#include <functional>

class QAbstractButton;
class QDialog;

namespace korvex {

class Controller;
class Host;

class StopKeys final : public QObject {
  public:
    // Watches every window of the application; `stopped` runs after a key
    // held the stop.
    StopKeys(Controller& c, std::function<void()> stopped);
    ~StopKeys() override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    Controller& c_;
    std::function<void()> stopped_;
};

// The stop button's look and the keys' hint, for every stop button.
void StyleStopButton(QAbstractButton& button, int language);

// Binds the dialog's "emergencyStop" and "endJob" buttons, if it has them;
// the stop shows the machine's state while the dialog is open.
void BindStopButtons(QDialog& dialog, Controller& c, Host& host);

}  // namespace korvex
