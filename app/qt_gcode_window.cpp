#include "app/qt_gcode_window.h"

#include "app/logic_dialog.h"
#include "app/qt_window_view.h"
#include "gcode/gcode_dialog.h"
#include "platform/qimage_canvas.h"
#include "ui/controller.h"
#include "ui_gcode.h"

namespace korvex {

int RunGcodeWindow(Controller& c, Host& host, QWidget* parent) {
    LogicDialog dialog(parent);
    dialog.setObjectName("gcodeDialog");
    Ui::GcodeForm form;
    form.setupUi(&dialog);
    dialog.setWindowTitle(
        QString::fromStdString(Caption(c.machine.settings.language, gcode_dialog::kTitle)));
    QtWindowView view(&dialog, &dialog);
    GcodeDialog logic(c.machine, view, host, MakeQImageCanvas);
    return RunModal(dialog, view, logic);
}

}  // namespace korvex
