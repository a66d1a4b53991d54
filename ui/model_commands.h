#pragma once
// The loaded drawing's commands: loading it, its new size in percent, and
// the turns and mirrors. Each change redraws the preview and the model's
// fields. Window thread.

#include <string>

namespace korvex {

class Controller;
class Host;
class StatusDisplay;
class WindowView;

class ModelCommands {
  public:
    ModelCommands(Controller& c, WindowView& view, Host& host, StatusDisplay& status)
        : c_(c), view_(view), host_(host), status_(status) {}

    // The file box, shown through `host`, then the controls, fields and
    // preview for what it loaded; nothing when the operator cancels.
    void load(Host& host);
    // The same for the drawing at `path`, without the box.
    void load(const std::string& path);
    // Grays what needs a loaded drawing; enables it when one is.
    void updateControls();
    // The percentage one up or down (never below 1), shown as the new size
    // without touching the drawing.
    void scale(int delta);
    // Resizes the drawing by the percentage shown.
    void applyScale();
    // A turn or mirror (a TransformMode other than kResize); a word in the
    // log without a drawing.
    void turn(int mode);

  private:
    void loaded();
    void showNewSize();
    void afterChange();

    Controller& c_;
    WindowView& view_;
    Host& host_;
    StatusDisplay& status_;
};

}  // namespace korvex
