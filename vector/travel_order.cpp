#include "vector/travel_order.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "log/event_log.h"
#include "settings/machine_settings.h"
#include "vector/model_geometry.h"

namespace korvex {

namespace {

const VectorPoint& First(const VectorModel& m, int32_t object) {
    return m.objects[object].points.front();
}
const VectorPoint& Last(const VectorModel& m, int32_t object) {
    return m.objects[object].points.back();
}

// Moves the objects without points behind the others; returns how many have points.
int PointlessLast(const VectorModel& m, std::vector<int32_t>& order) {
    auto end = std::stable_partition(order.begin(), order.end(), [&](int32_t object) {
        return !m.objects[object].points.empty();
    });
    return static_cast<int>(end - order.begin());
}

// The start points of the objects still to be placed, bucketed in square
// cells of about one point each.
class StartGrid {
  public:
    // `starts[i]` for items 1..n-1; `ends` only widen the bounds so that
    // every query point lies inside.
    StartGrid(const std::vector<VectorPoint>& starts, const std::vector<VectorPoint>& ends)
        : starts_(starts) {
        const int n = static_cast<int>(starts.size());
        minX_ = maxX_ = ends[0].x;
        minY_ = maxY_ = ends[0].y;
        auto widen = [this](const VectorPoint& p) {
            minX_ = std::min<int64_t>(minX_, p.x), maxX_ = std::max<int64_t>(maxX_, p.x);
            minY_ = std::min<int64_t>(minY_, p.y), maxY_ = std::max<int64_t>(maxY_, p.y);
        };
        for (const VectorPoint& p : ends) widen(p);
        for (int i = 1; i < n; ++i) widen(starts[i]);
        const int64_t w = maxX_ - minX_ + 1, h = maxY_ - minY_ + 1, m = n - 1;
        cell_ = std::max<int64_t>(
            {1, static_cast<int64_t>(std::ceil(std::sqrt(double(w) * double(h) / double(m)))),
             (std::max(w, h) + m - 1) / m});
        columns_ = (w + cell_ - 1) / cell_;
        rows_ = (h + cell_ - 1) / cell_;

        cellOfItem_.assign(n, -1);
        start_.assign(columns_ * rows_ + 1, 0);
        for (int i = 1; i < n; ++i) ++start_[(cellOfItem_[i] = cellOf(starts[i])) + 1];
        for (size_t c = 1; c < start_.size(); ++c) start_[c] += start_[c - 1];
        count_.assign(start_.size() - 1, 0);
        items_.resize(m);
        slot_.assign(n, -1);
        for (int i = 1; i < n; ++i) {
            const int c = cellOfItem_[i];
            slot_[i] = start_[c] + count_[c]++;
            items_[slot_[i]] = i;
        }
    }

    // The remaining item nearest to `from`, the smaller `position` winning
    // among equal truncated distances.
    int nearest(const VectorPoint& from, const std::vector<int>& position) const {
        const int64_t cx = (from.x - minX_) / cell_, cy = (from.y - minY_) / cell_;
        const int64_t reach = std::max({cx, columns_ - 1 - cx, cy, rows_ - 1 - cy});
        int best = -1;
        int64_t bestDistance = std::numeric_limits<int64_t>::max();
        auto consider = [&](int64_t x, int64_t y) {
            const int64_t c = y * columns_ + x;
            for (int s = start_[c], end = s + count_[c]; s < end; ++s) {
                const int item = items_[s];
                const int64_t d = PlanarDistance(from, starts_[item]);
                if (d < bestDistance || (d == bestDistance && position[item] < position[best]))
                    best = item, bestDistance = d;
            }
        };
        for (int64_t r = 0; r <= reach; ++r) {
            // Cells r rings out are at least (r - 1) cells away: none of their
            // points can reach the best truncated distance any more.
            if (best >= 0 && (r - 1) * cell_ > bestDistance) break;
            const int64_t left = cx - r, right = cx + r;
            for (int64_t y = std::max<int64_t>(0, cy - r); y <= std::min(rows_ - 1, cy + r); ++y) {
                if (y == cy - r || y == cy + r) {
                    for (int64_t x = std::max<int64_t>(0, left); x <= std::min(columns_ - 1, right);
                         ++x)
                        consider(x, y);
                    continue;
                }
                if (left >= 0) consider(left, y);
                if (right < columns_) consider(right, y);
            }
        }
        return best;
    }

    void remove(int item) {
        const int c = cellOfItem_[item];
        const int lastSlot = start_[c] + --count_[c];
        const int moved = items_[lastSlot];
        items_[slot_[item]] = moved;
        slot_[moved] = slot_[item];
        items_[lastSlot] = item;
        slot_[item] = lastSlot;
    }

  private:
    int cellOf(const VectorPoint& p) const {
        return static_cast<int>(((p.y - minY_) / cell_) * columns_ + (p.x - minX_) / cell_);
    }

    const std::vector<VectorPoint>& starts_;
    int64_t minX_, maxX_, minY_, maxY_;
    int64_t cell_, columns_, rows_;
    std::vector<int> start_, count_, items_, slot_, cellOfItem_;
};

}  // namespace

int64_t TravelSteps(const VectorModel& model, const std::vector<int32_t>& order) {
    int64_t sum = 0;
    const VectorPoint* end = nullptr;
    for (int32_t object : order) {
        if (model.objects[object].points.empty()) continue;
        if (end) sum += PlanarDistance(*end, First(model, object));
        end = &Last(model, object);
    }
    return sum;
}

void OrderForTravelByScan(const VectorModel& model, std::vector<int32_t>& order) {
    const int n = PointlessLast(model, order);
    for (int p = 0; p + 1 < n; ++p) {
        const VectorPoint& end = Last(model, order[p]);
        int best = p + 1;
        int64_t bestDistance = PlanarDistance(end, First(model, order[best]));
        for (int q = p + 2; q < n; ++q) {
            const int64_t d = PlanarDistance(end, First(model, order[q]));
            if (d < bestDistance) best = q, bestDistance = d;
        }
        std::swap(order[p + 1], order[best]);
    }
}

void OrderForTravel(const VectorModel& model, std::vector<int32_t>& order) {
    const int n = PointlessLast(model, order);
    if (n < 3) return;  // with two objects the second has nowhere to go
    // Items are the places the objects start at; `at` and `position` follow
    // the same swaps as the scan, so ties resolve the same way.
    std::vector<VectorPoint> starts(n), ends(n);
    for (int i = 0; i < n; ++i) starts[i] = First(model, order[i]), ends[i] = Last(model, order[i]);
    std::vector<int> at(n), position(n);
    for (int i = 0; i < n; ++i) at[i] = position[i] = i;
    StartGrid grid(starts, ends);
    for (int p = 0; p + 1 < n; ++p) {
        const int chosen = grid.nearest(ends[at[p]], position);
        grid.remove(chosen);
        const int from = position[chosen];
        std::swap(at[p + 1], at[from]);
        position[at[p + 1]] = p + 1;
        position[at[from]] = from;
    }
    std::vector<int32_t> placed(order);
    for (int i = 0; i < n; ++i) placed[i] = order[at[i]];
    order = std::move(placed);
}

void OptimiseLayerTravel(const VectorModel& model, PenLayer& layer, const MachineSettings& settings,
                         EventLog& log) {
    const double step = StepLengthMm(settings);
    const double before = TravelSteps(model, layer.objectOrder) * step;
    OrderForTravel(model, layer.objectOrder);
    const double after = TravelSteps(model, layer.objectOrder) * step;
    if (before >= 1) {
        const double reduction = 100 - after / before * 100;
        if (reduction != 0)
            SayFormatted(
                log,
                {"prejezdy optimalizovany o %0.2f%%", "moving up to metrial reduced by %0.2f%%"},
                true, false, reduction);
    }
    layer.travel = static_cast<float>(after);
}

}  // namespace korvex
