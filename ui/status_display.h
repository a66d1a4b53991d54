#pragma once
// The main window's status fields: positions, speeds, buffer fill, the
// move in progress, the planned end, the time to the end, the relative
// origin, the input signals and the loaded model's data. Reads the
// machine; changes nothing but what it last showed. Window thread.

#include <cstdint>
#include <string>

namespace korvex {

class Controller;
class DialogView;

// "%5.1f s", switching to minutes, hours and days above 100 of each.
std::string FormatTimeToEnd(double seconds);

class StatusDisplay {
  public:
    StatusDisplay(Controller& c, DialogView& view) : c_(c), view_(view) {}

    // RefreshStatus: 1 when nothing was done (unchanged position, not
    // forced), 0 after a refresh.
    int refresh(bool force);
    // Makes the next refresh write every position field.
    void forgetShown() { shown_[0] = shown_[1] = shown_[2] = 1; }
    void showRelativeOrigin();
    // The emergency-stop button and the input check boxes from the flags.
    void showSignals();
    // The model's file data, "none" without a model.
    void showModelInfo();

  private:
    std::string position(int axis, int32_t steps, const char* mmFormat,
                         const char* stepFormat) const;

    Controller& c_;
    DialogView& view_;
    int32_t shown_[3] = {1, 1, 1};
};

}  // namespace korvex
