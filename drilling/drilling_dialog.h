#pragma once
// The drilling dialog ("Vrtání / Drill"): load a drill list, step through its
// drills, set each drill's depth, calibrate the tool length on the Z probe
// and drill the holes of the displayed drill. Each drill runs on its own, so
// the operator changes the tool by hand in between.
//
// Window thread. Talks only to its DialogView and Host; the drill list
// outlives the dialog, so reopening shows it again from the first drill.

#include <functional>

#include "drilling/drill_set.h"

namespace korvex {

class DialogView;
class Host;
struct Machine;

inline constexpr int kDrillingDialogTemplate = 184;

enum DrillingControl {
    kDrillEnable = 1000,  // check " vrtat / enable"
    kDrillDepth = 1007,   // edit "Hloubka/depth", mm
    kDrillLoadExcellon = 1019,
    kDrillLoadSimple = 1020,
    kDrillLoadExcellonFull = 1025,  // "Excellon (plný) \n Excellon (full)"
    // Edit "formát čísel / number format": digits before and after the point
    // ("2.4") of coordinates without one, for the full Excellon reader;
    // empty leaves it to the file.
    kDrillNumberFormat = 1026,
    kDrillNext = 1021,
    kDrillPrevious = 1022,
    kDrillCalibrate = 1023,
    kDrillTheseHoles = 1024,
    kDrillHoleCount = 1034,  // statics showing the values
    kDrillToolCount = 1035,
    kDrillFieldSize = 1036,
    kDrillDiameter = 1037,
    kDrillIndex = 1038,
    kDrillToolHoles = 1039,
};

class DrillingDialog {
  public:
    // What the calibrate button runs: ProbeToolLength unless replaced.
    using Calibrate = std::function<void()>;

    DrillingDialog(Machine& m, DrillSet& set, DialogView& view, Host& host,
                   Calibrate calibrate = {});

    static const char* title() { return "Vrtání / Drill"; }
    void onInit();
    void onCommand(int id);
    void onEditChange(int id);
    void onPaint();
    void onClose();

    int displayedDrill() const { return displayed_; }
    // 1 when the last "drill this holes" appended its commands, 0 when it was
    // refused (or never pressed).
    int lastDrillResult() const { return lastDrill_; }
    // What the last load button came to (DrillReadResult), or 0 before any.
    int lastReadResult() const { return lastRead_; }
    // Whether a file was chosen in any load: the main window then keeps
    // kDrillFilterIndex as the vector model's source code.
    bool fileChosen() const { return fileChosen_; }

  private:
    void refresh();
    void load(const std::function<int()>& read);
    void loadExcellonFull();
    void drillDisplayed();
    // Shows the box and refuses a depth the Z travel does not reach.
    bool beyondTravel(int32_t depth);

    Machine& m_;
    DrillSet& set_;
    DialogView& view_;
    Host& host_;
    Calibrate calibrate_;
    int displayed_ = 0;
    bool refreshing_ = false;
    int lastDrill_ = 0;
    int lastRead_ = 0;
    bool fileChosen_ = false;
};

}  // namespace korvex
