#pragma once
// What the "3D modelling" dialog draws on its client area: the picture view
// (the gray picture or the simulation), the progress bar and the report of a
// Z move deeper than the whole relief.

#include <cstdint>

namespace korvex {

class Canvas;
struct MachineSettings;
struct RasterImage;
struct ReliefJob;
struct ReliefSimulation;

// The picture view's place in the client area.
inline constexpr int kReliefViewX = 380, kReliefViewY = 15;
inline constexpr int kReliefViewWidth = 380, kReliefViewHeight = 400;

// Green for the `done` part of `total`, red for the rest, 360 pixels long.
void DrawReliefProgress(Canvas& canvas, int64_t done, int64_t total);

// "PROBLEM ON POSITION x,y: mm" on a white band; `mm` positive downward.
void DrawReliefProblem(Canvas& canvas, int x, int y, double mm);

// The simulation's visible part when the job shows it, else the gray picture
// scaled to the view in its physical proportions. Nothing without a picture.
void DrawReliefView(Canvas& canvas, const RasterImage& raster, const ReliefJob& job,
                    const ReliefSimulation& simulation, const MachineSettings& s);

// Clears the view to white.
void ClearReliefView(Canvas& canvas);

}  // namespace korvex
