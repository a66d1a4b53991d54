#pragma once
// The relief's values: what the "3D modelling" dialog shows and the carving
// uses. Lengths are whole motor steps; the dialog shows millimetres.

#include <cstdint>
#include <memory>
#include <string>

#include "platform/canvas.h"

namespace korvex {

struct MachineSettings;

struct ReliefJob {
    int32_t depth = 0;            // Z steps of the deepest level, >= 1
    int32_t pitch = 1;            // image rows from one carved row to the next, >= 1
    int32_t zOffset = 0;          // Z steps below the surface where white lies, >= 0
    int32_t multiple = 1;         // X and Y steps per pixel, 1..1000
    int32_t useMultipleForZ = 0;  // the multiple scales the depth too
    int32_t zMultiple = 1;        // multiple when useMultipleForZ, else 1
    float stepsPerLevel = 0;      // Z steps per gray level
    int32_t sizeX = 0;            // X steps: multiple x picture width
    int32_t sizeY = 0;            // Y steps: multiple x picture height
    int32_t progressDone = 0;     // pixels done by the last run
    int32_t showSimulation = 0;   // the view shows 0 the picture, 1 the simulation
    int32_t running = 0;          // a carving is under way
    int32_t endRequested = 0;     // "End job": the carving lifts and ends at the release
};

// The values at program start: 1 mm deep, no offset.
ReliefJob StartReliefJob(const MachineSettings& s);

// depth / levelCount x zMultiple, in single precision as the carving uses it.
float StepsPerLevel(const ReliefJob& job, int32_t levelCount);

// The simulation's oblique view of the finished relief.
struct ReliefSimulation {
    std::unique_ptr<Canvas> picture;  // replaced by every simulation run
    int32_t simWidth = 0;
    int32_t simHeight = 0;
    int32_t marginX = 0;
    int32_t marginY = 0;
    int32_t scrollX = 0;  // the part of the picture the view shows
    int32_t scrollY = 0;
};

// The dialog's derived texts.
// "%0.2f x %0.2f x %0.2f mm @ DPI %dx%d, x%d, Z>%0.2f": size, depth with the
// offset, machine resolution, multiple, offset.
std::string ReliefSizeLine(const ReliefJob& job, const MachineSettings& s);
// "%d .. %0.5fmm, %d .. %0.5fmm": the deepest level and level 1.
std::string ReliefLevelLine(const ReliefJob& job, int32_t levelCount, const MachineSettings& s);
// Which pitch carves every row.
std::string ReliefResolutionHint(const MachineSettings& s);
// "%0.5fmm": the pitch in millimetres with the multiple.
std::string ReliefPitchByMultiple(const ReliefJob& job, const MachineSettings& s);

}  // namespace korvex
