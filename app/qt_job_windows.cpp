#include "app/qt_job_windows.h"

#include <QCoreApplication>

#include "app/logic_dialog.h"
#include "app/qt_window_view.h"
#include "app/stop_controls.h"
#include "drilling/drilling_dialog.h"
#include "gcode/gcode_dialog.h"
#include "machining/relief_dialog.h"
#include "machining/relief_job.h"
#include "machining/relief_output.h"
#include "machining/separation_dialog.h"
#include "machining/surface_dialog.h"
#include "platform/qimage_canvas.h"
#include "ui/controller.h"
#include "ui/height_map_dialog.h"
#include "ui/kind_guard.h"
#include "ui_drilling.h"
#include "ui_gcode.h"
#include "ui_height_map.h"
#include "ui_hpgl_job.h"
#include "ui_relief.h"
#include "ui_separation.h"
#include "ui_surface.h"
#include "vector/hpgl_job_dialog.h"

namespace korvex {

int RunSurfaceWindow(Controller& c, Host& host, QWidget* parent) {
    return RunForm<Ui::SurfaceForm>(parent, "surfaceDialog", [&](QDialog& d, QtWindowView& view) {
        BindStopButtons(d, c, host);
        return SurfaceMillingDialog(c.machine, c.jobValues, view, &host);
    });
}

int RunSeparationWindow(Controller& c, QWidget* parent) {
    return RunForm<Ui::SeparationForm>(parent, "separationDialog",
                                       [&](QDialog&, QtWindowView& view) {
                                           return SeparationDialog(c.machine, c.jobValues, view);
                                       });
}

int RunDrillingWindow(Controller& c, Host& host, QWidget* parent) {
    KindGuard guard(host, c.machine.log, {FileKind::Excellon, FileKind::DrillList, FileKind::Gcode},
                    false);
    return RunForm<Ui::DrillingForm>(parent, "drillingDialog", [&](QDialog& d, QtWindowView& view) {
        BindStopButtons(d, c, host);
        // A list of X Y lines alone reads as modal G-code moves too.
        return DrillingDialog(c.machine, c.drills, view, guard);
    });
}

int RunHpglJobWindow(Controller& c, Host& host, QWidget* parent) {
    return RunForm<Ui::HpglJobForm>(parent, "hpglJobDialog", [&](QDialog&, QtWindowView& view) {
        return HpglJobDialog(c.vector, c.repeat, c.machine, view, host, MakeQImageCanvas);
    });
}

int RunReliefWindow(Controller& c, Host& host, QWidget* parent) {
    PortReliefOutput output(c.machine, [] { QCoreApplication::processEvents(); });
    ReliefContext context{c.machine,
                          c.raster,
                          c.relief,
                          c.jobValues,
                          c.reliefSimulation,
                          output,
                          MakeQImageCanvas,
                          c.vector.sourceKind,
                          [&c] { c.showReliefOutline(); }};
    KindGuard guard(host, c.machine.log, {FileKind::Picture}, false);
    return RunForm<Ui::ReliefForm>(parent, "reliefDialog", [&](QDialog&, QtWindowView& view) {
        return ReliefDialog(context, view, guard);
    });
}

int RunGcodeWindow(Controller& c, Host& host, QWidget* parent) {
    KindGuard guard(host, c.machine.log, {FileKind::Gcode}, false);
    return RunForm<Ui::GcodeForm>(parent, "gcodeDialog", [&](QDialog&, QtWindowView& view) {
        return GcodeDialog(c.machine, c.gcode, view, guard, MakeQImageCanvas);
    });
}

int RunHeightMapWindow(Controller& c, Host& host, QWidget* parent) {
    return RunForm<Ui::HeightMapForm>(
        parent, "heightMapDialog", [&](QDialog& d, QtWindowView& view) {
            BindStopButtons(d, c, host);
            return HeightMapDialog(c.machine, c.heightMap, {c.vector, c.gcode}, view, host);
        });
}

}  // namespace korvex
