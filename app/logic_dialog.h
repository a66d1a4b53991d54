#pragma once
// A modal dialog that ends only through its logic: Escape and the close box
// do not dismiss it. Opened without a close box, as the dialogs have none.

#include <QDialog>

#include "app/qt_window_view.h"

namespace korvex {

class LogicDialog final : public QDialog {
  public:
    explicit LogicDialog(QWidget* parent)
        : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::CustomizeWindowHint) {}
    void reject() override {}
};

// Binds every handler the dialog's logic has; a logic without onClose keeps
// its window open on a close request.
template <typename Logic>
DialogHandlers HandlersOf(Logic& logic) {
    DialogHandlers h;
    h.command = [&logic](int id) { logic.onCommand(id); };
    if constexpr (requires { logic.onEditChange(0); })
        h.editChange = [&logic](int id) { logic.onEditChange(id); };
    if constexpr (requires { logic.onTimer(0); }) h.timer = [&logic](int id) { logic.onTimer(id); };
    if constexpr (requires { logic.onScroll(0, 0, 0); })
        h.scroll = [&logic](int id, int request, int pos) { logic.onScroll(id, request, pos); };
    if constexpr (requires { logic.onPaint(); }) h.paint = [&logic] { logic.onPaint(); };
    if constexpr (requires { logic.onClose(); }) {
        h.close = [&logic] {
            logic.onClose();
            return true;
        };
    } else {
        h.close = [] { return false; };
    }
    return h;
}

// Binds the logic to its window, runs the dialog modally and returns the
// result the logic ended it with.
template <typename Logic>
int RunModal(QDialog& dialog, QtWindowView& view, Logic& logic) {
    view.bind(HandlersOf(logic));
    logic.onInit();
    // A logic may end its dialog before it is shown.
    if (!view.ended()) dialog.exec();
    return view.result();
}

// Opens the Designer form `Form` as a modal dialog named `name` and runs
// the logic that `make(dialog, view)` returns for it; a logic that names its
// title gets it, the others are titled by `make`. Returns the dialog's result.
template <typename Form, typename Make>
int RunForm(QWidget* parent, const char* name, Make make) {
    LogicDialog dialog(parent);
    dialog.setObjectName(name);
    Form form;
    form.setupUi(&dialog);
    QtWindowView view(&dialog, &dialog);
    // The logic holds references to the view: made in place, never moved.
    auto logic = make(dialog, view);
    if constexpr (requires { logic.title(); })
        dialog.setWindowTitle(QString::fromStdString(logic.title()));
    return RunModal(dialog, view, logic);
}

}  // namespace korvex
