#include "vector/arc_flattening.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace korvex {

namespace {
// 3600 chords a turn keep within one step of the curve up to a radius of 2.6
// million steps, beyond any table, and bound what a hostile file can ask for.
constexpr double kMaxChordsPerTurn = 3600;
}  // namespace

int32_t ArcChordCount(double radius, double sweepRad, double tolerance) {
    constexpr double kTurn = 2 * std::numbers::pi;
    const double sweep = std::abs(sweepRad);
    if (!std::isfinite(sweep)) return static_cast<int32_t>(kMaxChordsPerTurn);
    const double turns = std::min(sweep / kTurn, 1.0);
    const double most = std::max(1.0, std::ceil(turns * kMaxChordsPerTurn));
    const double least = turns >= 1 ? 4 : 1;
    radius = std::abs(radius);
    double chords = most;
    if (std::isfinite(radius) && tolerance > 0 && std::isfinite(tolerance)) {
        // A chord spanning angle a strays r (1 - cos(a/2)) from the arc.
        const double ratio = 1 - tolerance / radius;
        const double step = ratio <= 0 ? std::numbers::pi / 2 : 2 * std::acos(ratio);
        if (step > 0) chords = std::ceil(std::min(sweep, kTurn) / step);
    }
    return static_cast<int32_t>(std::clamp(chords, least, std::max(least, most)));
}

}  // namespace korvex
