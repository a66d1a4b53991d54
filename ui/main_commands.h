#pragma once
// The main window's commands: jogs, go-to moves, origins, the emergency
// stop, the switches, the buffer reset, the model's size and turns, and
// the job dialogs. Window thread.

#include <array>
#include <cstdint>

namespace korvex {

class Controller;
class DialogLauncher;
class Host;
class StatusDisplay;
class WindowView;

// The keys that jog while the main window has the focus.
enum class JogKey { Left, Right, Up, Down, PageUp, PageDown };

class MainCommands {
  public:
    MainCommands(Controller& c, WindowView& view, Host& host, StatusDisplay& status,
                 DialogLauncher& dialogs)
        : c_(c), view_(view), host_(host), status_(status), dialogs_(dialogs) {}

    // True when `id` is one of the window's commands.
    bool onCommand(int id);
    void onEditChange(int id);
    // Arrows jog X and Y, Page Up lifts Z and Page Down lowers it, with the
    // jog buttons' SHIFT and CTRL rules.
    void onKey(JogKey key);

    // Grays what needs a loaded drawing; enables it when one is.
    void updateModelControls();
    // The go buttons' enabled state from the targets.
    void updateGoButtons();
    // (Re)allocates the command buffer at `commandCapacity`; closes the
    // window when the memory cannot be had. Only while the executor is idle.
    void allocateBuffer(bool toList);

  private:
    void jog(int axis, int sign);
    // What the go buttons move by: the typed target, less the planned
    // position when the target is absolute.
    std::array<int32_t, 3> targetDistance() const;
    void goXYZ();
    void goXYThenZ();
    bool haveFreeSlots(int needed);
    void resetTargets();
    void emergencyStop();
    void machineSwitch();
    void spindleSwitch();
    void resetBuffer();
    void resetRelative();
    void resetAbsolute();
    void setRelative();
    void overMaterial();
    void gotoRelative();
    void calibration();
    void hpgl();
    void openDialog(int dialogKind, const char* logCz, const char* logEn);
    void reportNotBuilt(int dialogKind);
    void setup();
    void scale(int delta);
    void showNewSize();
    void scaleCalc();
    void turn(int mode);
    void afterModelChange();
    bool idleOr(const char* cz, const char* en);
    int32_t axisPeriod(int axis) const;
    int32_t combinedPeriod(bool x, bool y, bool z) const;
    int32_t safeSteps() const;

    Controller& c_;
    WindowView& view_;
    Host& host_;
    StatusDisplay& status_;
    DialogLauncher& dialogs_;
};

}  // namespace korvex
