#pragma once
// Opens the main window's dialogs on Qt. The job dialogs' windows are not
// built yet: run() answers kNotBuilt for them and the logic says so.

#include "ui/window_view.h"

class QWidget;

namespace korvex {

class Controller;

class QtDialogLauncher final : public DialogLauncher {
  public:
    QtDialogLauncher(Controller& c, QWidget* parent) : c_(c), parent_(parent) {}
    int run(DialogKind kind) override;

  private:
    int runNullPosition();

    Controller& c_;
    QWidget* parent_;
};

}  // namespace korvex
