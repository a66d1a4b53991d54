#pragma once
// Turning the loaded drawing and its layer settings into motion commands.
//
// Every move is relative. A job first rises to safe height over the surface
// from wherever the tool is, and ends over its origin at that height; each
// Z move is aimed at its level below the surface (JobFrame). Z steps count
// down into the material. Each generator can count instead of append
// (JobSink): the count is exactly what the real run queues, so the caller can
// refuse a job that does not fit the buffer before anything is queued.

#include <cstdint>

#include "vector/vector_model.h"

namespace korvex {

struct Machine;
struct MachineSettings;

// The grid of copies of the job. Survives loads of new drawings.
struct VectorJobRepeat {
    int32_t countX = 1, countY = 1;
    float spacing = 0;  // mm between copies; below 1 mm it is stored as 0
    int32_t spacingXSteps = 0, spacingYSteps = 0;
};

// Stores `spacing` and its equivalents in X and Y steps.
void SetRepeatSpacing(VectorJobRepeat& repeat, float spacing, const MachineSettings& settings);

// The passes of one layer. Pass k (from 1) reaches min(k * passDepth,
// depth) below the surface, rounded to Z steps, so the last pass always ends
// at the layer's rounded depth, however the rounding of the passes falls. A
// pass depth below one Z step would leave passes at the depth of the one
// before: then every pass goes one step deeper.
struct LayerPasses {
    int64_t count = 0;
    int32_t finalDepth = 0;  // Z steps
    double passDepth = 0, mmPerStep = 0;
    // The pass depth is below one step and each pass is raised to one.
    bool raised() const { return passDepth < mmPerStep; }
    // Z steps below the surface after pass `k`, 1 <= k <= count.
    int32_t depthAfter(int64_t k) const;
};
LayerPasses PassesOf(const PenLayer& layer, const MachineSettings& settings);

// The whole job `countX` x `countY` times; one-way when the first layer
// record's `oneWay` is set. Returns the count (countOnly 1) or the number of
// commands appended; 0 and a report when no relative origin is set or,
// appending, when the job's levels do not fit the Z travel.
int64_t generateVectorJob(Machine& m, const VectorModel& model, const VectorJobRepeat& repeat,
                          int countOnly);

// Layer by layer in cut order; each pass cuts every object of the layer
// before the next, deeper pass. The tool stays down between objects that
// meet end to start.
int64_t generateLayersByPass(Machine& m, const VectorModel& model, int countOnly);

// Object by object: each is cut to its full depth, pass after pass, before
// the tool moves on. Each object is cut from the surface down.
int64_t generateObjectsOneWay(Machine& m, const VectorModel& model, int countOnly);

}  // namespace korvex
