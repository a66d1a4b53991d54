#include "motion/surface_bend.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "log/event_log.h"
#include "motion/rounding.h"

namespace korvex {

SurfaceBend::SurfaceBend(const HeightMap& map, const MachineSettings& s)
    : map_(map),
      mmX_(s.mmPerStepX),
      mmY_(s.mmPerStepY),
      mmZ_(s.mmPerStepZ),
      longestMm_(std::hypot(map.spacingX, map.spacingY) / 2) {}

int64_t SurfaceBend::pieces(int64_t dx, int64_t dy, bool feed) const {
    if (!feed) return 1;
    const double length =
        std::hypot(static_cast<double>(dx) * mmX_, static_cast<double>(dy) * mmY_);
    const double n = std::ceil(length / longestMm_);
    // No piece shorter than a step: none of them is ever of length 0.
    const int64_t most = std::max<int64_t>(std::max(std::llabs(dx), std::llabs(dy)), 1);
    return n < static_cast<double>(most) ? std::max<int64_t>(static_cast<int64_t>(n), 1) : most;
}

int64_t SurfaceBend::raise(int64_t x, int64_t y, bool feed) const {
    const double h = map_.heightAt(static_cast<double>(x) * mmX_, static_cast<double>(y) * mmY_);
    const int64_t steps = RoundHalfAway(h / mmZ_);
    return feed ? steps : std::max<int64_t>(steps, 0);
}

SurfaceBend::Reach SurfaceBend::reach() const {
    double high = 0, low = 0;
    for (double h : map_.heights) high = std::max(high, h), low = std::min(low, h);
    return {RoundHalfAway(high / mmZ_), RoundHalfAway(-low / mmZ_)};
}

int64_t SurfaceBend::Share(int64_t d, int64_t k, int64_t n) {
    return std::llround(static_cast<double>(d) * static_cast<double>(k) / static_cast<double>(n));
}

bool SurfaceMapFits(Machine& m, int64_t x0, int64_t y0, int64_t x1, int64_t y1) {
    if (!m.surfaceMap) return true;
    const HeightMap& map = *m.surfaceMap;
    const MachineSettings& s = m.settings;
    const MachinePosition& p = m.position;
    const double originX = p.relOriginX.load() * double{s.mmPerStepX};
    const double originY = p.relOriginY.load() * double{s.mmPerStepY};
    if (std::abs(originX - map.relativeOriginX) > s.mmPerStepX / 2 ||
        std::abs(originY - map.relativeOriginY) > s.mmPerStepY / 2) {
        SayFormatted(m.log,
                     {"Výšková mapa byla změřena pro relativní začátek X %.3f Y %.3f mm, nyní je "
                      "X %.3f Y %.3f mm: úloha nebyla spuštěna",
                      "The height map was probed for the relative origin X %.3f Y %.3f mm, it is "
                      "now X %.3f Y %.3f mm: the job was not started"},
                     true, true, map.relativeOriginX, map.relativeOriginY, originX, originY);
        return false;
    }
    const double left = x0 * double{s.mmPerStepX}, right = x1 * double{s.mmPerStepX};
    const double bottom = y0 * double{s.mmPerStepY}, top = y1 * double{s.mmPerStepY};
    if (map.covers(left, bottom, right, top)) return true;
    SayFormatted(m.log,
                 {"Výšková mapa (X %.3f až %.3f, Y %.3f až %.3f mm) nepokrývá úlohu (X %.3f až "
                  "%.3f, Y %.3f až %.3f mm): úloha nebyla spuštěna",
                  "The height map (X %.3f to %.3f, Y %.3f to %.3f mm) does not cover the job (X "
                  "%.3f to %.3f, Y %.3f to %.3f mm): the job was not started"},
                 true, true, map.originX, map.pointX(map.columns - 1), map.originY,
                 map.pointY(map.rows - 1), left, right, bottom, top);
    return false;
}

}  // namespace korvex
