#pragma once
// The "Výšková mapa" / "Height map" dialog: the grid to probe, the Probe
// button (progress and time left while it runs), the map drawn in colour
// with its values, Load and Save, and the switch that makes HPGL and G-code
// jobs follow it. Closing it while probing ends the run. Window thread.

#include <memory>

#include "log/text.h"
#include "motion/grid_probe.h"

namespace korvex {

class GcodeImport;
class Host;
class WindowView;
struct VectorModel;

// The jobs whose extents the area may be taken from.
struct HeightMapJobs {
    const VectorModel& drawing;
    const GcodeImport& gcode;
};

namespace heightmap_dialog {
enum ControlId : int {
    kX0 = 1101,
    kY0 = 1102,
    kX1 = 1103,
    kY1 = 1104,
    kColumns = 1105,
    kRows = 1106,
    kFeed = 1107,
    kClearance = 1108,
    kDepth = 1109,
    kProbe = 1110,
    kLoad = 1111,
    kSave = 1112,
    kApply = 1113,
    kClose = 1114,
    kState = 1115,  // what the map is, or the run's progress
    kNote = 1116,
    kFromDrawing = 1117,  // the area: the loaded drawing's extents and a margin
    kFromGcode = 1118,    // the G-code program's cutting extents and a margin
};
inline constexpr double kMarginMm = 1;
inline constexpr int kTimer = 1;
// The map's picture in the dialog's drawing area.
inline constexpr int kMapX = 250, kMapY = 15, kMapWidth = 420, kMapHeight = 300;
inline constexpr Text kTitle{"Výšková mapa", "Height map"};
}  // namespace heightmap_dialog

// What the dialog keeps between its openings.
struct HeightMapWork {
    GridProbeSettings grid{0, 0, 50, 40, 6, 5, 1, 2, 2};
    std::shared_ptr<const HeightMap> map;
    bool apply = true;
};

class HeightMapDialog {
  public:
    HeightMapDialog(Machine& m, HeightMapWork& work, const HeightMapJobs& jobs, WindowView& view,
                    Host& host);

    std::string title() const;
    void onInit();
    void onCommand(int id);
    void onEditChange(int id);
    void onTimer(int id);
    void onPaint();
    void onClose();

  private:
    std::string caption(Text text) const;
    void showState();
    void probe();
    void load();
    void save();
    void use(std::shared_ptr<const HeightMap> map);
    void showGrid();
    // The area over X x0..x1, Y y0..y1 steps from the relative origin and a margin.
    void takeArea(int64_t x0, int64_t y0, int64_t x1, int64_t y1);

    Machine& m_;
    HeightMapWork& work_;
    HeightMapJobs jobs_;
    WindowView& view_;
    Host& host_;
    GridProbe probe_;
};

}  // namespace korvex
