#pragma once
// Carving a relief from the gray picture, and its simulation.
//
// Every pixel becomes a plateau `multiple` X steps long whose depth grows
// with its darkness: white stays `zOffset` below the surface, black reaches
// about zOffset + depth x zMultiple. Rows 0, pitch, 2 pitch, ... are carved
// alternately left to right and right to left; each level change is one
// vertical move before the pixel's X steps. The Z position is the sum of the
// rounded level changes, and the final lift undoes exactly that sum. The
// simulation walks the same way and draws an oblique view instead of moving.

#include <cstdint>
#include <functional>
#include <memory>

#include "log/text.h"
#include "platform/canvas.h"

namespace korvex {

class DialogView;
class Host;
struct JobValues;
struct Machine;
struct RasterImage;
struct ReliefJob;
struct ReliefSimulation;
class ReliefOutput;

// Makes the simulation picture; nullptr when it does not fit in memory.
using CanvasFactory = std::function<std::unique_ptr<Canvas>(int width, int height)>;

// The program-wide state a relief works on and where its output goes.
struct ReliefContext {
    Machine& machine;
    RasterImage& raster;
    ReliefJob& job;
    JobValues& values;  // the feed shared with the other machining jobs
    ReliefSimulation& simulation;
    ReliefOutput& output;
    CanvasFactory makeCanvas;
    int& sourceKind;  // the vector model's code of the last source loaded
    // Called when a carving is about to move the machine.
    std::function<void()> carvingStarts = {};
};

// The level of pixel (x, y): 0 for white up to levelCount for black.
int32_t PixelLevel(const RasterImage& raster, int x, int y);

// Runs the whole carving (simulate 0) or the whole simulation (simulate 1)
// and returns when it is done, drawing the progress bar and any problem
// report on the view's canvas. A carving halts while the emergency stop is
// active and goes on from the same step when it is released. Needs a loaded
// picture and, to carve, a feed above 0 (it does nothing otherwise); the
// caller makes sure the executor is idle. Window thread.
void CarveRelief(ReliefContext& c, DialogView& view, Host& host, int simulate);

// "End job" of a carving: holds the stop (if it is not held) and has the
// carving, once the stop is released, lift the tool back to its starting
// height over the material, report where it stands and return.
void EndReliefCarving(Machine& m, ReliefJob& job);
inline constexpr Text kEndJobCaption{"Ukončit úlohu", "End job"};

inline constexpr Text kReliefFinished{"Program dokončil frézování BMP", "Cutting BMP finished..."};
inline constexpr Text kSimulationFailed{"Simulace selhala [!bitmapBMPsimulace]",
                                        "Simulation failed [!bitmapBMPsimulace]"};

}  // namespace korvex
