#include "app/qt_gcode_window.h"

#include "app/logic_dialog.h"
#include "app/qt_window_view.h"
#include "gcode/gcode_dialog.h"
#include "platform/qimage_canvas.h"
#include "ui/controller.h"
#include "ui_gcode.h"

namespace korvex {

int RunGcodeWindow(Controller& c, Host& host, QWidget* parent) {
    return RunForm<Ui::GcodeForm>(parent, "gcodeDialog", [&](QDialog& d, QtWindowView& view) {
        d.setWindowTitle(
            QString::fromStdString(Caption(c.machine.settings.language, gcode_dialog::kTitle)));
        return GcodeDialog(c.machine, c.gcode, view, host, MakeQImageCanvas);
    });
}

}  // namespace korvex
