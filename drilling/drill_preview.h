#pragma once
// The drilling dialog's preview: the hole field scaled into a 545 x 410
// pixel area at (335, 35), each hole a small cross, those of the displayed
// drill in red and all others in blue. Y grows downward, as stored.

#include "drilling/drill_set.h"

namespace korvex {

class Canvas;

// Draws nothing while the field has no width or no height.
void DrawDrillPreview(Canvas& canvas, const DrillSet& set, int displayedDrill);

}  // namespace korvex
