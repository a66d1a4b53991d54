#pragma once
// Where the tool stands and goes by the operator's hand: the go-to
// targets, the relative origin and the moves to it or over the material,
// the absolute position's reset and the calibration. Window thread.

#include <array>
#include <cstdint>

namespace korvex {

class Controller;
class DialogLauncher;
class Host;
class StatusDisplay;
class WindowView;

class PositionCommands {
  public:
    PositionCommands(Controller& c, WindowView& view, Host& host, StatusDisplay& status,
                     DialogLauncher& dialogs)
        : c_(c), view_(view), host_(host), status_(status), dialogs_(dialogs) {}

    // A typed target (kTargetX..kTargetZ), in the units the fields show.
    void onTargetEdit(int id);
    // The go buttons' enabled state from the targets.
    void updateGoButtons();
    // Targets read as absolute positions, or as distances.
    void switchAbsoluteTarget();
    // To the target in one move, or X and Y and Z apart with Z's lowering
    // last; both clear the targets.
    void goXYZ();
    void goXYThenZ();

    void resetRelative();
    // Zeroes every position and the origin; only at rest.
    void resetAbsolute();
    // Where the tool stands becomes the relative origin; the box asks
    // whether the tool touches the surface (it then lifts to the safe
    // height) or stands that high over it.
    void setRelative();
    // To the safe height over the material.
    void overMaterial();
    // To the origin's Z, up by the safe height, across to the origin and
    // down; after a buffer reset from where the reset left the machine.
    void gotoRelative();
    // The null position dialog; only at rest.
    void calibration();

  private:
    // What the go buttons move by: the typed target, less the planned
    // position when the target is absolute.
    std::array<int32_t, 3> targetDistance() const;
    bool haveFreeSlots(int needed);
    void resetTargets();

    Controller& c_;
    WindowView& view_;
    Host& host_;
    StatusDisplay& status_;
    DialogLauncher& dialogs_;
};

}  // namespace korvex
