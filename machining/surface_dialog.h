#pragma once
// The surface-milling dialog: the job's sizes, depth, cut, feed and pitch,
// a summary line, and one start picture per path style. It stays open after
// a job has been queued, so several surfaces can be milled in a row.

#include <string>

#include "log/text.h"
#include "machining/job_values.h"
#include "machining/surface_milling.h"

namespace korvex {

class DialogView;
class Host;
struct Machine;

// Control ids of the dialog template.
enum SurfaceControl {
    kSurfaceDepth = 1008,
    kSurfaceSizeX = 1009,
    kSurfaceSizeY = 1010,
    kSurfaceCut = 1011,
    kSurfaceFeed = 1012,
    kSurfacePitch = 1014,
    kSurfaceCancel = 1020,
    kSurfaceSummary = 1041,
    kSurfaceStartX = 1042,
    kSurfaceStartY = 1048,
    kSurfaceStartSpiral = 1049,
    kSurfaceDepthCaption = 1901,
    kSurfaceSizeXCaption = 1902,
    kSurfaceSizeYCaption = 1903,
    kSurfaceCutCaption = 1904,
    kSurfaceFeedCaption = 1905,
    kSurfacePitchCaption = 1906,
    kSurfaceStyleCaption = 1907
};

// The template's captions.
inline constexpr const char* kSurfaceTitle = "Přerovnat plochu (Mill surface)";
inline constexpr Text kSurfaceStyleGroup{"Styl přefrézování", "Milling style"};
inline constexpr Text kSurfaceCancelCaption{"Storno", "Cancel"};
inline constexpr Text kSurfaceDepthLabel{"Hloubka", "depth"};
inline constexpr Text kSurfaceSizeXLabel{"Rozměr   X", "size X"};
inline constexpr Text kSurfaceSizeYLabel{"Rozměr   Y", "size Y"};
inline constexpr Text kSurfaceCutLabel{"Špona", "cut"};
inline constexpr Text kSurfaceFeedLabel{"Rychlost frézování", "Speed of cutting"};
inline constexpr Text kSurfacePitchLabel{"Rozteč", "pitch"};

class SurfaceMillingDialog {
  public:
    // `values` are the feed and cut shared with the other machining dialogs.
    // With `host` a style picture first asks, showing the passes, the depth
    // and the time; without one (a script) it starts at once.
    SurfaceMillingDialog(Machine& m, JobValues& values, DialogView& view, Host* host = nullptr)
        : machine_(m), values_(values), view_(view), host_(host) {}

    static const char* title() { return kSurfaceTitle; }
    void onInit();
    void onCommand(int id);
    void onEditChange(int id);
    void onPaint() { writeSummary(); }
    void onClose();

    const SurfaceMillingJob& job() const { return job_; }
    // Whether the last start picture queued its job (1) or was refused (0).
    int lastStart() const { return lastStart_; }

  private:
    void show(int id, const std::string& text);
    void start(SurfaceStyle style);
    // With a host, its answer to the question showing the job; else true.
    bool confirmed(double seconds);
    void writeSummary();

    Machine& machine_;
    JobValues& values_;
    DialogView& view_;
    Host* host_;
    SurfaceMillingJob job_;
    int lastStart_ = 0;
};

}  // namespace korvex
