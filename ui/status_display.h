#pragma once
// The main window's status fields: positions, speeds, buffer fill, the
// move in progress, the planned end, the time to the end, the relative
// origin, the input signals, the loaded model's data and the model preview
// with the tool's place. Reads the machine; changes nothing but what it
// last showed. Window thread.

#include <cstdint>
#include <optional>
#include <string>

#include "ui/toolpath_view.h"

namespace korvex {

class Controller;
class DialogView;

// "%5.1f s", switching to minutes, hours and days above 100 of each.
std::string FormatTimeToEnd(double seconds);

class StatusDisplay {
  public:
    StatusDisplay(Controller& c, DialogView& view);

    // RefreshStatus: 1 when nothing was done (not forced, and neither the
    // position nor what the speeds show changed), 0 after a refresh. A
    // stopped machine (emergency stop held, or no period) shows "stop".
    int refresh(bool force);
    // Makes the next refresh write every position field.
    void forgetShown();
    // The relative origin's fields, and the cross drawn from it.
    void showRelativeOrigin();
    // The emergency-stop button, a program's stop, the input check boxes and
    // the axes' homed marks from the flags.
    void showSignals();
    // The model's file data, "none" without a model.
    void showModelInfo();
    // The job's toolpath with its trace once a job was queued; otherwise the
    // model preview (a blank sheet without a model) and, with a relative
    // origin set, the red cross where the tool stands on it.
    void drawPositionCross();
    ToolpathView& toolpath() { return toolpath_; }

  private:
    // What the speed fields are shown from.
    struct Motion {
        int32_t periodUs;
        int stepping;  // bit per axis
        bool stopped;
        bool operator==(const Motion&) const = default;
    };
    Motion motion() const;
    std::string position(int axis, int32_t steps, const char* mmFormat,
                         const char* stepFormat) const;

    Controller& c_;
    DialogView& view_;
    int32_t shown_[3] = {1, 1, 1};
    Motion shownMotion_ = {-1, 0, false};
    int32_t shownProgramStop_ = -1;
    std::optional<std::string> shownStopText_;
    bool finalShown_ = false;  // the planned end was shown once: "none" before
    ToolpathView toolpath_;
    int64_t shownDone_ = -1;  // the job's moves run when the preview was drawn
};

}  // namespace korvex
