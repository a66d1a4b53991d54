#pragma once
// The separation dialog: shape, depth, sizes, cut and feed; "Ok" queues the
// job and closes the dialog, or says why it cannot and stays open.

#include <string>

#include "log/text.h"
#include "machining/circle_table.h"
#include "machining/job_values.h"
#include "machining/separation.h"

namespace korvex {

class DialogView;
struct Machine;

// Control ids of the dialog template.
enum SeparationControl {
    kSeparationDepth = 1007,
    kSeparationSizeX = 1009,
    kSeparationSizeY = 1010,
    kSeparationCut = 1011,
    kSeparationFeed = 1012,
    kSeparationOk = 1019,
    kSeparationCancel = 1020,
    kSeparationCircle = 1025,
    kSeparationRectangle = 1033,
    kSeparationDepthCaption = 1901,
    kSeparationSizeXCaption = 1902,
    kSeparationSizeYCaption = 1903,
    kSeparationCutCaption = 1904,
    kSeparationFeedCaption = 1905
};

// The template's captions.
inline constexpr const char* kSeparationTitle = "Rozdělit materiál - Separate material";
inline constexpr Text kSeparationCancelCaption{"Storno", "Cancel"};
inline constexpr Text kSeparationSizeXLabel{"x (D)", "x (D)"};
inline constexpr Text kSeparationSizeYLabel{"y", "y"};
inline constexpr Text kSeparationDepthLabel{"Hloubka", "depth"};
inline constexpr Text kSeparationCutLabel{"Špona", "cut"};
inline constexpr Text kSeparationFeedLabel{"Rychlost frézování", "cutting speed"};

class SeparationDialog {
  public:
    // `values` are the feed and cut shared with the other machining dialogs.
    SeparationDialog(Machine& m, JobValues& values, DialogView& view)
        : machine_(m), values_(values), view_(view) {}

    static const char* title() { return kSeparationTitle; }
    void onInit();
    void onCommand(int id);
    void onEditChange(int id);
    void onClose();

    const SeparationJob& job() const { return job_; }
    // The table of the last circle job.
    const CircleTable& circle() const { return circle_; }

  private:
    void show(int id, const std::string& text);
    void chooseShape(SeparationShape shape);
    int32_t readSize(int id, float mmPerStep);
    void start();
    bool buildCircle(int32_t cycles);

    Machine& machine_;
    JobValues& values_;
    DialogView& view_;
    SeparationJob job_;
    CircleTable circle_;
};

}  // namespace korvex
