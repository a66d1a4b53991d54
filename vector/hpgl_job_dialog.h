#pragma once
// The HPGL job dialog ("nastavení HPGL-1/2"): which layers of the loaded
// drawing are cut, in which order, how deep, how fast and how often, with a
// preview of the displayed layer's cutting direction and order.
//
// Everything the operator sets lives in the model and the repeat settings,
// so it survives closing and reopening the dialog. Window thread only.

#include <cstdint>
#include <string>

#include "log/text.h"
#include "vector/vector_job.h"
#include "vector/vector_model.h"
#include "vector/vector_preview.h"

namespace korvex {

class DialogView;
class Host;
struct Machine;

// Control ids of the dialog.
namespace hpgl_job {
enum ControlId : int {
    kEnabled = 1000,
    kChangeTool = 1001,
    kOneWay = 1002,
    kCounterClockwise = 1004,
    kDepth = 1007,
    kCountX = 1008,
    kPassDepth = 1009,
    kFeed = 1010,
    kCountY = 1011,
    kSpacing = 1012,
    kPreviousLayer = 1019,
    kNextLayer = 1020,
    kZoomIn = 1021,
    kStart = 1022,
    kCancel = 1023,
    kZoomOut = 1024,
    kLayerUp = 1025,
    kLayerDown = 1026,
    kSourcePath = 1034,
    kPenCount = 1035,
    kObjectCount = 1036,
    kPathLength = 1037,
    kLayerNumber = 1038,
    kTravel = 1039,
    kLayerLength = 1040,
    kLayerObjects = 1041,
    kRepeatSummary = 1042,
    kOrderCount = 1043,
    kOrderList = 1064,  // one line per cut-order slot, joined by '\n'
    kHorizontalScroll = kJobPreviewHScroll,
    kVerticalScroll = kJobPreviewVScroll,
    kScrollPosition = 1105,
    kFileCaption = 1901,
    kTravelCaption = 1902,
};
}  // namespace hpgl_job

class HpglJobDialog {
  public:
    // `model` must be loaded. `factory` makes the preview's picture.
    HpglJobDialog(VectorModel& model, VectorJobRepeat& repeat, Machine& machine, DialogView& view,
                  Host& host, CanvasFactory factory);

    std::string title() const;
    void onInit();
    void onCommand(int id);
    void onEditChange(int id);
    void onScroll(int id, int request, int pos);
    void onPaint();
    void onClose();

    int displayedLayer() const { return layer_; }
    bool readyToCut() const { return ready_; }
    const JobPreview& preview() const { return preview_; }

  private:
    PenLayer& layer() { return model_.pens[layer_]; }
    std::string caption(Text text) const;

    void showTotals();
    void showPathLength();
    void showLayer();
    void showOrder();
    void showScrollPosition();
    void showRepeat();
    void updateReady();
    void redrawPreview(bool discard);

    void browse(int step);
    void toggleEnabled();
    // The table-size box for the layer's depth from the planned position;
    // true when the check limits switch refuses it.
    bool tableRefuses(const PenLayer& l);
    void moveInOrder(int step);
    void reverseDirection();
    void zoom(int step);
    void start();

    void setDepth();
    void setPassDepth();
    void setFeed();

    VectorModel& model_;
    VectorJobRepeat& repeat_;
    Machine& machine_;
    DialogView& view_;
    Host& host_;
    CanvasFactory factory_;
    int layer_ = 0;  // the displayed layer's pen-table index
    bool ready_ = false;
    JobPreview preview_;
};

}  // namespace korvex
