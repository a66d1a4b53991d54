#pragma once
// The main window's "Předloha / model" group: loading a drawing, turning,
// mirroring and resizing it, and showing its size and preview afterwards.
// The window owns the state and passes it in; window thread only.

#include <cstdint>

#include "vector/vector_model.h"
#include "vector/vector_preview.h"

namespace korvex {

class DialogView;
class EventLog;
class Host;
struct Machine;

// The resize percentage and the size it would give. The percentage starts at
// 100 and survives loads.
struct ModelResize {
    int32_t scalePercent = 100;
    int32_t newWidth = 0, newHeight = 0;  // steps
};

// Control ids of the group in the main window.
namespace model_panel {
enum ControlId : int {
    kScaleUp = 1019,    // "++"
    kScaleDown = 1022,  // "--"
    kCalc = 1023,
    kToLeft = 1033,
    kModelSize = 1045,
    kScalePercent = 1058,
    kToRight = 1059,
    kVertical = 1060,
    kHorizont = 1061,
    kNewWidth = 1093,
    kNewHeight = 1094,
};
}  // namespace model_panel

// The open dialog for an HPGL file (CorelDraw, ArtCam 2018 or SprintLayout,
// the last choice preselected); loads the chosen file and recomputes the
// preview's scale. Returns 0 when the dialog was cancelled, else 1 (whether
// or not the file loaded; `model.loaded` tells).
int openVectorFile(VectorModel& model, MainPreview& preview, const MachineSettings& settings,
                   EventLog& log, Host& host);

class VectorModelPanel {
  public:
    VectorModelPanel(VectorModel& model, MainPreview& preview, ModelResize& resize,
                     Machine& machine, DialogView& window, Host& host, CanvasFactory factory);

    // The HPGL button with no drawing loaded (or the answer "load another"):
    // the open dialog, the load and the redrawn preview.
    void load();
    // The group's buttons; false for an id that is not one of them.
    bool onCommand(int id);

    // The resize percentage and the size it gives, in mm.
    void showNewSize();
    // The drawing's size in mm.
    void showModelSize();
    // The model view, from the cached picture when there is one.
    void drawPreview();

  private:
    void transform(int mode);

    VectorModel& model_;
    MainPreview& preview_;
    ModelResize& resize_;
    Machine& machine_;
    DialogView& window_;
    Host& host_;
    CanvasFactory factory_;
};

}  // namespace korvex
