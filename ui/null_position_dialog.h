#pragma once
// "Nulová pozice / null position": homes the axes on their minimum limit
// switches and shows the switches live (its own timer). Window thread.

namespace korvex {

struct HomingState;
struct Machine;
class WindowView;

class NullPositionDialog {
  public:
    // `homing` (if given) learns which axes a homing was queued for.
    NullPositionDialog(Machine& m, WindowView& view, HomingState* homing = nullptr)
        : m_(m), view_(view), homing_(homing) {}

    void onInit();
    void onCommand(int id);
    void onTimer(int id);

  private:
    void refresh();

    Machine& m_;
    WindowView& view_;
    HomingState* homing_;
};

}  // namespace korvex
