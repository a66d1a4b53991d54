#pragma once
// "Test časovače - test of counter": the timing log as a graph with its
// largest and smallest value; with "TEST" ticked, one timing-only step
// every 100 ms so the log fills while no job runs. Only "Ok" closes it.
// Window thread.

namespace korvex {

struct Machine;
class Canvas;
class WindowView;

namespace timertest {
inline constexpr int kTest = 1000, kOk = 1019, kMaximum = 1034, kMinimum = 1035, kIndex = 1036;
inline constexpr int kTimer = 2, kTimerMs = 100;
}  // namespace timertest

class TimerTestDialog {
  public:
    // `graph`: the program's 810 x 210 picture; without it nothing is drawn
    // and no text is written.
    TimerTestDialog(Machine& m, WindowView& view, Canvas* graph)
        : m_(m), view_(view), graph_(graph) {}

    static const char* title() { return "Test časovače - test of counter"; }
    void onInit();
    void onCommand(int id);
    void onTimer(int id);
    void onPaint();
    bool testOn() const { return testOn_; }

  private:
    Machine& m_;
    WindowView& view_;
    Canvas* graph_;
    bool testOn_ = false;
};

}  // namespace korvex
