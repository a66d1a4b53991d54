#pragma once
// The G-code import dialog ("Nastavení G-kódu" / "Set and cut G-code"): the
// program file, what it holds, whether it stays within the machine's travel
// from the relative origin, a picture of its path, and the start that queues
// it. The program stays loaded between openings (the operator closes the
// dialog to set the origin) and is read again at each one. Window thread
// only.

#include <memory>

#include "gcode/gcode_import.h"
#include "log/text.h"
#include "platform/canvas.h"
#include "vector/vector_preview.h"

namespace korvex {

class DialogView;
class Host;
struct Machine;

namespace gcode_dialog {
// Control ids of the dialog.
enum ControlId : int {
    kFile = 1001,
    kPath = 1002,
    kUnits = 1003,  // then the summary's other lines, one control each
    kExtentX = 1004,
    kExtentY = 1005,
    kExtentZ = 1006,
    kCounts = 1007,
    kTime = 1008,
    kTable = 1009,
    kStart = 1010,
    kClose = 1011,
    kNotes = 1012,  // the summary's lines after the time, one per line
};
// The picture of the path: a square of the dialog's drawing area.
inline constexpr int kPreviewX = 15, kPreviewY = 50, kPreviewSize = 300;
inline constexpr Text kTitle{"Nastavení G-kódu", "Set and cut G-code"};
}  // namespace gcode_dialog

class GcodeDialog {
  public:
    // `factory` makes the picture of the path; an empty one draws nothing.
    GcodeDialog(Machine& m, GcodeImport& import, DialogView& view, Host& host,
                CanvasFactory factory);

    std::string title() const;
    void onInit();
    void onCommand(int id);
    void onPaint();
    void onClose();

  private:
    void choose();
    void show();
    void start();

    Machine& machine_;
    DialogView& view_;
    Host& host_;
    CanvasFactory factory_;
    GcodeImport& import_;
    std::unique_ptr<Canvas> picture_;  // the loaded program's path; none without one
};

}  // namespace korvex
