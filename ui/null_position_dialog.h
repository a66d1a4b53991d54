#pragma once
// "Nulová pozice / null position": homes the axes on their minimum limit
// switches and shows the switches live (its own timer). Window thread.

namespace korvex {

struct Machine;
class WindowView;

class NullPositionDialog {
  public:
    NullPositionDialog(Machine& m, WindowView& view) : m_(m), view_(view) {}

    void onInit();
    void onCommand(int id);
    void onTimer(int id);

  private:
    void refresh();

    Machine& m_;
    WindowView& view_;
};

}  // namespace korvex
