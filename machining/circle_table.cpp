#include "machining/circle_table.h"

#include <cmath>
#include <cstdlib>
#include <new>
#include <stdexcept>

#include "motion/rounding.h"

namespace korvex {

namespace {

constexpr double kFullTurn = 6.283185307179586;

int64_t WholeDistance(StepPoint a, StepPoint b) {
    const double dx = static_cast<double>(a.x) - b.x, dy = static_cast<double>(a.y) - b.y,
                 dz = static_cast<double>(a.z) - b.z;
    return static_cast<int64_t>(std::sqrt(dx * dx + dy * dy + dz * dz));
}

// Whether the point (x, y) from the centre is `p`.
bool At(StepPoint centre, int32_t x, int32_t y, StepPoint p) {
    return int64_t{centre.x} + x == p.x && int64_t{centre.y} + y == p.y;
}

}  // namespace

std::span<const CircleMove> CircleTable::lap() const {
    if (first < 0 || last < first || last >= count()) return {};
    const auto from = static_cast<size_t>(first), to = static_cast<size_t>(last);
    return std::span<const CircleMove>(moves).subspan(from, to - from + 1);
}

int BuildCircleTable(CircleTable& table, StepPoint start, StepPoint centre, StepPoint end,
                     Text& failure) {
    table = CircleTable{};
    const int64_t r = WholeDistance(centre, start);
    if (r != WholeDistance(centre, end)) {
        failure = {"Střed zadané kruhové interpolace byl špatně zadán, iterpolace selhala",
                   "Middle of circle interpolation was wrong set,iterpolation failed"};
        return 0;
    }
    // x runs from r to -r and back, and y likewise, one step at most per move.
    try {
        table.moves.reserve(static_cast<size_t>(8 * r + 8));
    } catch (const std::exception&) {
        failure = {"Nebylo možné vytvořit tabulku pro kruhovou interpolaci",
                   "Creating table for cirlce interpolation failed"};
        return 0;
    }
    // Below one step of radius there is no angle under which a step is seen.
    if (r >= 1) {
        // A third of the angle under which one step is seen from the centre:
        // the point moves about a third of a step per increment, so
        // consecutive rounded points are neighbours.
        const double delta = std::asin(1.0 / static_cast<double>(r)) / 3;
        const double radius = static_cast<double>(r);
        int32_t px = 0, py = 0;
        for (int64_t k = 0;; ++k) {
            const double theta = static_cast<double>(k - 1) * delta;
            if (theta > kFullTurn) break;
            const int32_t x = RoundHalfAway(radius * std::cos(theta));
            const int32_t y = RoundHalfAway(radius * std::sin(theta));
            const int32_t dx = x - px, dy = y - py;
            px = x;
            py = y;
            if (k == 0 || std::abs(dx) > 1 || std::abs(dy) > 1 || (dx == 0 && dy == 0)) continue;
            table.moves.push_back({dx, dy, 0});
            const int32_t index = table.count() - 1;
            if (At(centre, x, y, start)) table.first = index;
            if (At(centre, x, y, end)) table.last = index;
        }
    }
    if (table.first < 0 || table.last < 0) {
        failure = {"Nebyly nalezeny body v tabulce kruhové interpolace pro které byla zpočítána",
                   "Finding of main points failed (circle interpolation calculated failed"};
        return 0;
    }
    if (table.first == table.last) {
        table.first = 0;
        table.last = table.count() - 1;
    }
    return 1;
}

}  // namespace korvex
