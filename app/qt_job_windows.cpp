#include "app/qt_job_windows.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>

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
#include "ui_drilling.h"
#include "ui_gcode.h"
#include "ui_hpgl_job.h"
#include "ui_relief.h"
#include "ui_separation.h"
#include "ui_surface.h"
#include "vector/hpgl_job_dialog.h"

namespace korvex {

namespace {

struct Label {
    const char* name;
    std::string text;
};

void SetLabels(QDialog& dialog, std::initializer_list<Label> labels) {
    for (const Label& l : labels)
        if (auto* label = dialog.findChild<QLabel*>(l.name))
            label->setText(QString::fromStdString(l.text));
}

void SetCaption(QtWindowView& view, int id, const std::string& text) {
    if (auto* box = qobject_cast<QCheckBox*>(view.control(id)))
        box->setText(QString::fromStdString(text));
}

}  // namespace

int RunSurfaceWindow(Controller& c, Host& host, QWidget* parent) {
    return RunForm<Ui::SurfaceForm>(parent, "surfaceDialog", [&](QDialog& d, QtWindowView& view) {
        d.setWindowTitle(kSurfaceTitle);
        BindStopButtons(d, c, host);
        const int language = c.machine.settings.language;
        SetLabels(d, {{"depthLabel", Caption(language, kSurfaceDepthLabel)},
                      {"sizeXLabel", Caption(language, kSurfaceSizeXLabel)},
                      {"sizeYLabel", Caption(language, kSurfaceSizeYLabel)},
                      {"cutLabel", Caption(language, kSurfaceCutLabel)},
                      {"feedLabel", Caption(language, kSurfaceFeedLabel)},
                      {"pitchLabel", Caption(language, kSurfacePitchLabel)}});
        return SurfaceMillingDialog(c.machine, c.jobValues, view);
    });
}

int RunSeparationWindow(Controller& c, QWidget* parent) {
    return RunForm<Ui::SeparationForm>(
        parent, "separationDialog", [&](QDialog& d, QtWindowView& view) {
            d.setWindowTitle(kSeparationTitle);
            const int language = c.machine.settings.language;
            SetLabels(d, {{"depthLabel", Caption(language, kSeparationDepthLabel)},
                          {"sizeXLabel", kSeparationSizeXLabel},
                          {"sizeYLabel", kSeparationSizeYLabel},
                          {"cutLabel", Caption(language, kSeparationCutLabel)},
                          {"feedLabel", Caption(language, kSeparationFeedLabel)}});
            return SeparationDialog(c.machine, c.jobValues, view);
        });
}

int RunDrillingWindow(Controller& c, Host& host, QWidget* parent) {
    return RunForm<Ui::DrillingForm>(parent, "drillingDialog", [&](QDialog& d, QtWindowView& view) {
        d.setWindowTitle("Vrtání / Drill");
        BindStopButtons(d, c, host);
        return DrillingDialog(c.machine, c.drills, view, host);
    });
}

int RunHpglJobWindow(Controller& c, Host& host, QWidget* parent) {
    return RunForm<Ui::HpglJobForm>(parent, "hpglJobDialog", [&](QDialog& d, QtWindowView& view) {
        d.setWindowTitle("nastavení HPGL-1/2");
        return HpglJobDialog(c.vector, c.repeat, c.machine, view, host, MakeQImageCanvas);
    });
}

int RunReliefWindow(Controller& c, Host& host, QWidget* parent) {
    PortReliefOutput output(c.machine, [] { QCoreApplication::processEvents(); });
    ReliefContext context{c.machine,          c.raster, c.relief,         c.jobValues,
                          c.reliefSimulation, output,   MakeQImageCanvas, c.vector.sourceKind};
    return RunForm<Ui::ReliefForm>(parent, "reliefDialog", [&](QDialog& d, QtWindowView& view) {
        const int language = c.machine.settings.language;
        d.setWindowTitle(
            QString::fromStdString(Caption(language, {"3D modelování", "3D modelling"})));
        SetLabels(d, {{"depthLabel", Caption(language, kReliefDepthLabel)},
                      {"cutLabel", Caption(language, kReliefCutLabel)},
                      {"feedLabel", Caption(language, kReliefFeedLabel)},
                      {"pitchLabel", Caption(language, kReliefPitchLabel)},
                      {"zOffsetLabel", Caption(language, kReliefZOffsetLabel)},
                      {"pitchByMultipleLabel", Caption(language, kReliefPitchByMultipleLabel)},
                      {"levelsLabel", Caption(language, kReliefLevelsLabel)}});
        SetCaption(view, kReliefRatio, Caption(language, kReliefRatioLabel));
        SetCaption(view, kReliefZMultiple, Caption(language, kReliefZMultipleLabel));
        return ReliefDialog(context, view, host);
    });
}

int RunGcodeWindow(Controller& c, Host& host, QWidget* parent) {
    return RunForm<Ui::GcodeForm>(parent, "gcodeDialog", [&](QDialog& d, QtWindowView& view) {
        d.setWindowTitle(
            QString::fromStdString(Caption(c.machine.settings.language, gcode_dialog::kTitle)));
        return GcodeDialog(c.machine, c.gcode, view, host, MakeQImageCanvas);
    });
}

}  // namespace korvex
