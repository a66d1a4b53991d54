#include "app/qt_dialog_launcher.h"

#include <QCheckBox>
#include <QDialog>

#include "app/qt_window_view.h"
#include "ui/controller.h"
#include "ui/main_ids.h"
#include "ui/null_position_dialog.h"
#include "ui_null_position.h"

namespace korvex {

namespace {

// A dialog that ends only through its logic: Escape does not dismiss it.
class LogicDialog final : public QDialog {
  public:
    using QDialog::QDialog;
    void reject() override {}
};

}  // namespace

int QtDialogLauncher::run(DialogKind kind) {
    if (kind == DialogKind::NullPosition) return runNullPosition();
    return kNotBuilt;
}

int QtDialogLauncher::runNullPosition() {
    LogicDialog dialog(parent_, Qt::Dialog | Qt::WindowTitleHint | Qt::CustomizeWindowHint);
    dialog.setObjectName("nullPositionDialog");
    Ui::NullPositionForm form;
    form.setupUi(&dialog);
    for (QCheckBox* box : dialog.findChildren<QCheckBox*>()) {
        // The switches are shown, not operated.
        box->setAttribute(Qt::WA_TransparentForMouseEvents);
        box->setFocusPolicy(Qt::NoFocus);
    }
    QtWindowView view(&dialog, &dialog);
    NullPositionDialog logic(c_.machine, view);
    view.bind({.command = [&logic](int id) { logic.onCommand(id); },
               .editChange = {},
               .timer = [&logic](int id) { logic.onTimer(id); },
               .scroll = {},
               .paint = {},
               .close = [] { return false; }});
    logic.onInit();
    dialog.exec();
    return view.result();
}

}  // namespace korvex
