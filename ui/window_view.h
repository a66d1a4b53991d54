#pragma once
// What a window's logic sees beyond a dialog's controls: its own timers,
// title, place, menu, the log list, and a close request. The Qt front end
// and the tests' recording window implement it.

#include <string>
#include <vector>

#include "platform/dialog_view.h"

namespace korvex {

// One menu entry: a command (id > 0), a separator (id 0, no children) or
// a popup (children).
struct MenuItem {
    int id = 0;
    std::string caption;
    std::vector<MenuItem> children;
    bool enabled = true;
};

// A mouse gesture on a drawing area, in the area's pixels.
struct PointerEvent {
    enum Kind { Wheel, Drag, DoubleClick } kind;
    int x = 0, y = 0;    // where the pointer is
    int notches = 0;     // Wheel: positive away from the user
    int dx = 0, dy = 0;  // Drag: the movement since the last
};

class WindowView : public DialogView {
  public:
    // Timer `id` of this window every `ms` (restarts a running one); the
    // logic's onTimer(id) runs on the window's thread.
    virtual void startTimer(int id, int ms) = 0;
    virtual void stopTimer(int id) = 0;
    virtual void setTitle(const std::string& utf8) = 0;
    virtual void setGeometry(int x, int y, int width, int height) = 0;
    // Replaces the menu bar.
    virtual void setMenu(const std::vector<MenuItem>& menu) = 0;
    virtual void enableMenuItem(int id, bool enabled) = 0;
    // Appends a line to the list box `id`. Any thread: from another thread
    // the line is queued to the window's thread and the caller never waits.
    virtual void addListLine(int id, const std::string& utf8) = 0;
    // Asks the window to close; the close goes through the logic's onClose.
    virtual void requestClose() = 0;
};

// The dialogs the main window opens. run() shows one modally and returns
// its result, or kNotBuilt when this front end has no window for it.
enum class DialogKind {
    NullPosition,
    HpglJob,
    Relief,
    Separation,
    Surface,
    Drilling,
    TimerTest,
    Settings,
    Gcode,
    HeightMap
};
inline constexpr int kNotBuilt = -1;

class DialogLauncher {
  public:
    virtual ~DialogLauncher() = default;
    virtual int run(DialogKind kind) = 0;
};

}  // namespace korvex
