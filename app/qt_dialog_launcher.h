#pragma once
// Opens the main window's dialogs on Qt, each modally on the window's thread.

#include <memory>

#include "ui/window_view.h"

class QWidget;

namespace korvex {

class Canvas;
class Controller;
class Host;

class QtDialogLauncher final : public DialogLauncher {
  public:
    QtDialogLauncher(Controller& c, Host& host, QWidget* parent);
    ~QtDialogLauncher() override;
    int run(DialogKind kind) override;

  private:
    int runNullPosition();

    Controller& c_;
    Host& host_;
    QWidget* parent_;
    // The timer test's graph, made once and kept for the program's life.
    std::unique_ptr<Canvas> timingGraph_;
};

}  // namespace korvex
