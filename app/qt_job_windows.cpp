#include "app/qt_job_windows.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>

#include "app/logic_dialog.h"
#include "app/qt_window_view.h"
#include "drilling/drilling_dialog.h"
#include "machining/relief_dialog.h"
#include "machining/relief_job.h"
#include "machining/relief_output.h"
#include "machining/separation_dialog.h"
#include "machining/surface_dialog.h"
#include "platform/qimage_canvas.h"
#include "ui/controller.h"
#include "ui_drilling.h"
#include "ui_hpgl_job.h"
#include "ui_relief.h"
#include "ui_separation.h"
#include "ui_surface.h"
#include "vector/hpgl_job_dialog.h"

namespace korvex {

namespace {

void SetLabel(QDialog& dialog, const char* name, const std::string& text) {
    if (auto* label = dialog.findChild<QLabel*>(name)) label->setText(QString::fromStdString(text));
}

void SetCaption(QtWindowView& view, int id, const std::string& text) {
    if (auto* box = qobject_cast<QCheckBox*>(view.control(id)))
        box->setText(QString::fromStdString(text));
}

}  // namespace

int RunSurfaceWindow(Controller& c, QWidget* parent) {
    LogicDialog dialog(parent);
    dialog.setObjectName("surfaceDialog");
    Ui::SurfaceForm form;
    form.setupUi(&dialog);
    dialog.setWindowTitle(kSurfaceTitle);
    const int language = c.machine.settings.language;
    SetLabel(dialog, "depthLabel", Caption(language, kSurfaceDepthLabel));
    SetLabel(dialog, "sizeXLabel", Caption(language, kSurfaceSizeXLabel));
    SetLabel(dialog, "sizeYLabel", Caption(language, kSurfaceSizeYLabel));
    SetLabel(dialog, "cutLabel", Caption(language, kSurfaceCutLabel));
    SetLabel(dialog, "feedLabel", Caption(language, kSurfaceFeedLabel));
    SetLabel(dialog, "pitchLabel", Caption(language, kSurfacePitchLabel));
    QtWindowView view(&dialog, &dialog);
    SurfaceMillingDialog logic(c.machine, c.jobValues, view);
    return RunModal(dialog, view, logic);
}

int RunSeparationWindow(Controller& c, QWidget* parent) {
    LogicDialog dialog(parent);
    dialog.setObjectName("separationDialog");
    Ui::SeparationForm form;
    form.setupUi(&dialog);
    dialog.setWindowTitle(kSeparationTitle);
    const int language = c.machine.settings.language;
    SetLabel(dialog, "depthLabel", Caption(language, kSeparationDepthLabel));
    SetLabel(dialog, "sizeXLabel", kSeparationSizeXLabel);
    SetLabel(dialog, "sizeYLabel", kSeparationSizeYLabel);
    SetLabel(dialog, "cutLabel", Caption(language, kSeparationCutLabel));
    SetLabel(dialog, "feedLabel", Caption(language, kSeparationFeedLabel));
    QtWindowView view(&dialog, &dialog);
    SeparationDialog logic(c.machine, c.jobValues, view);
    return RunModal(dialog, view, logic);
}

int RunDrillingWindow(Controller& c, Host& host, QWidget* parent) {
    LogicDialog dialog(parent);
    dialog.setObjectName("drillingDialog");
    Ui::DrillingForm form;
    form.setupUi(&dialog);
    dialog.setWindowTitle("Vrtání / Drill");
    QtWindowView view(&dialog, &dialog);
    DrillingDialog logic(c.machine, c.drills, view, host);
    return RunModal(dialog, view, logic);
}

int RunHpglJobWindow(Controller& c, Host& host, QWidget* parent) {
    LogicDialog dialog(parent);
    dialog.setObjectName("hpglJobDialog");
    Ui::HpglJobForm form;
    form.setupUi(&dialog);
    dialog.setWindowTitle("nastavení HPGL-1/2");
    QtWindowView view(&dialog, &dialog);
    HpglJobDialog logic(c.vector, c.repeat, c.machine, view, host, MakeQImageCanvas);
    return RunModal(dialog, view, logic);
}

int RunReliefWindow(Controller& c, Host& host, QWidget* parent) {
    LogicDialog dialog(parent);
    dialog.setObjectName("reliefDialog");
    Ui::ReliefForm form;
    form.setupUi(&dialog);
    const int language = c.machine.settings.language;
    dialog.setWindowTitle(
        QString::fromStdString(Caption(language, {"3D modelování", "3D modelling"})));
    SetLabel(dialog, "depthLabel", Caption(language, kReliefDepthLabel));
    SetLabel(dialog, "cutLabel", Caption(language, kReliefCutLabel));
    SetLabel(dialog, "feedLabel", Caption(language, kReliefFeedLabel));
    SetLabel(dialog, "pitchLabel", Caption(language, kReliefPitchLabel));
    SetLabel(dialog, "zOffsetLabel", Caption(language, kReliefZOffsetLabel));
    SetLabel(dialog, "pitchByMultipleLabel", Caption(language, kReliefPitchByMultipleLabel));
    SetLabel(dialog, "levelsLabel", Caption(language, kReliefLevelsLabel));
    QtWindowView view(&dialog, &dialog);
    SetCaption(view, kReliefRatio, Caption(language, kReliefRatioLabel));
    SetCaption(view, kReliefZMultiple, Caption(language, kReliefZMultipleLabel));
    ReliefJob job;
    ReliefSimulation simulation;
    PortReliefOutput output(c.machine, [] { QCoreApplication::processEvents(); });
    ReliefContext context{c.machine,        c.raster,           job,
                          c.jobValues,      simulation,         output,
                          MakeQImageCanvas, c.vector.sourceKind};
    ReliefDialog logic(context, view, host);
    return RunModal(dialog, view, logic);
}

}  // namespace korvex
