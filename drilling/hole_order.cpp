#include "drilling/hole_order.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <numeric>

namespace korvex {

namespace {

// A hole's place with Y in X steps, so that squared distances compare as
// mm do and stay whole numbers when both step sizes are equal, which keeps
// equal distances equal for the tie-break.
struct Place {
    double x = 0, y = 0;
};

std::vector<Place> Places(const std::vector<DrillHole>& holes, double mmPerStepX,
                          double mmPerStepY) {
    double yScale = mmPerStepY / mmPerStepX;
    if (!std::isfinite(yScale) || yScale <= 0) yScale = 1;
    std::vector<Place> places(holes.size());
    for (size_t i = 0; i < holes.size(); ++i)
        places[i] = {double(holes[i].x), double(holes[i].y) * yScale};
    return places;
}

double Squared(Place a, Place b) {
    const double dx = a.x - b.x, dy = a.y - b.y;
    return dx * dx + dy * dy;
}

// Whether (distance, file index) `d`, `i` comes before the best so far.
bool Before(double d, int i, double bestD, int bestI) {
    return d < bestD || (d == bestD && i < bestI);
}

// The holes not yet visited. Each node knows its box, how many of its holes
// are left and the earliest of them, so that a search skips what can
// neither be nearer nor win a tie; runs of equal places cost no more than
// one.
class HoleTree {
  public:
    explicit HoleTree(const std::vector<Place>& places)
        : places_(places),
          items_(places.size()),
          leafOf_(places.size()),
          removed_(places.size(), 0) {
        std::iota(items_.begin(), items_.end(), 0);
        build(0, static_cast<int>(items_.size()), -1);
    }

    int nearest(Place from) const {
        double bestD = INFINITY;
        int bestI = INT_MAX;
        search(0, from, bestD, bestI);
        return bestI;
    }

    void remove(int item) {
        removed_[item] = 1;
        for (int id = leafOf_[item]; id >= 0; id = nodes_[id].parent) {
            Node& n = nodes_[id];
            --n.alive;
            n.firstAlive = INT_MAX;
            if (n.children[0] < 0) {
                for (int k = n.begin; k < n.end; ++k)
                    if (!removed_[items_[k]]) n.firstAlive = std::min(n.firstAlive, items_[k]);
            } else {
                for (int c : n.children)
                    n.firstAlive = std::min(n.firstAlive, nodes_[c].firstAlive);
            }
        }
    }

  private:
    static constexpr int kLeafSize = 8;

    struct Node {
        int begin, end;
        int children[2];
        int parent;
        double minX, maxX, minY, maxY;
        int alive;
        int firstAlive;  // INT_MAX when none is left
    };

    int build(int begin, int end, int parent) {
        const int id = static_cast<int>(nodes_.size());
        Node n{begin,     end,      {-1, -1},  parent,      INFINITY,
               -INFINITY, INFINITY, -INFINITY, end - begin, INT_MAX};
        for (int k = begin; k < end; ++k) {
            const Place& p = places_[items_[k]];
            n.minX = std::min(n.minX, p.x), n.maxX = std::max(n.maxX, p.x);
            n.minY = std::min(n.minY, p.y), n.maxY = std::max(n.maxY, p.y);
            n.firstAlive = std::min(n.firstAlive, items_[k]);
        }
        nodes_.push_back(n);
        if (end - begin <= kLeafSize) {
            for (int k = begin; k < end; ++k) leafOf_[items_[k]] = id;
            return id;
        }
        const bool alongX = n.maxX - n.minX >= n.maxY - n.minY;
        const int middle = begin + (end - begin) / 2;
        std::nth_element(items_.begin() + begin, items_.begin() + middle, items_.begin() + end,
                         [&](int a, int b) {
                             return alongX ? places_[a].x < places_[b].x
                                           : places_[a].y < places_[b].y;
                         });
        const int left = build(begin, middle, id);
        const int right = build(middle, end, id);
        nodes_[id].children[0] = left;
        nodes_[id].children[1] = right;
        return id;
    }

    static double BoxDistance(const Node& n, Place p) {
        const double dx = p.x < n.minX ? n.minX - p.x : p.x > n.maxX ? p.x - n.maxX : 0;
        const double dy = p.y < n.minY ? n.minY - p.y : p.y > n.maxY ? p.y - n.maxY : 0;
        return dx * dx + dy * dy;
    }

    void search(int id, Place from, double& bestD, int& bestI) const {
        const Node& n = nodes_[id];
        if (n.alive == 0 || !Before(BoxDistance(n, from), n.firstAlive, bestD, bestI)) return;
        if (n.children[0] < 0) {
            for (int k = n.begin; k < n.end; ++k) {
                const int item = items_[k];
                if (removed_[item]) continue;
                const double d = Squared(places_[item], from);
                if (Before(d, item, bestD, bestI)) bestD = d, bestI = item;
            }
            return;
        }
        // The more promising child first, so the other is more often skipped.
        int first = n.children[0], second = n.children[1];
        if (Before(BoxDistance(nodes_[second], from), nodes_[second].firstAlive,
                   BoxDistance(nodes_[first], from), nodes_[first].firstAlive))
            std::swap(first, second);
        search(first, from, bestD, bestI);
        search(second, from, bestD, bestI);
    }

    const std::vector<Place>& places_;
    std::vector<int> items_;
    std::vector<Node> nodes_;
    std::vector<int> leafOf_;
    std::vector<char> removed_;
};

}  // namespace

double HoleTravelMm(const std::vector<DrillHole>& holes, const std::vector<int>& order,
                    double mmPerStepX, double mmPerStepY) {
    double travel = 0;
    double x = 0, y = 0;
    auto to = [&](double nextX, double nextY) {
        travel += std::hypot((nextX - x) * mmPerStepX, (nextY - y) * mmPerStepY);
        x = nextX, y = nextY;
    };
    for (int i : order) to(holes[i].x, holes[i].y);
    to(0, 0);
    return travel;
}

std::vector<int> NearestHoleChain(const std::vector<DrillHole>& holes, double mmPerStepX,
                                  double mmPerStepY) {
    if (holes.empty()) return {};
    const std::vector<Place> places = Places(holes, mmPerStepX, mmPerStepY);
    HoleTree left(places);
    std::vector<int> order;
    order.reserve(holes.size());
    Place at;
    for (size_t k = 0; k < holes.size(); ++k) {
        const int next = left.nearest(at);
        left.remove(next);
        order.push_back(next);
        at = places[next];
    }
    return order;
}

std::vector<int> NearestHoleChainByScan(const std::vector<DrillHole>& holes, double mmPerStepX,
                                        double mmPerStepY) {
    const std::vector<Place> places = Places(holes, mmPerStepX, mmPerStepY);
    std::vector<char> visited(holes.size(), 0);
    std::vector<int> order;
    Place at;
    for (size_t k = 0; k < holes.size(); ++k) {
        double bestD = INFINITY;
        int bestI = INT_MAX;
        for (int i = 0; i < static_cast<int>(places.size()); ++i) {
            if (visited[i]) continue;
            const double d = Squared(places[i], at);
            if (Before(d, i, bestD, bestI)) bestD = d, bestI = i;
        }
        visited[bestI] = 1;
        order.push_back(bestI);
        at = places[bestI];
    }
    return order;
}

HoleTravel OrderHolesForTravel(DrillSet& set, double mmPerStepX, double mmPerStepY) {
    const int drills = std::clamp(set.toolCount, 0, kMaxDrillTools);
    std::vector<std::vector<int>> slotsOf(drills);  // each drill's places in `holes`
    for (size_t i = 0; i < set.holes.size(); ++i) {
        const int tool = set.holes[i].tool;
        if (tool >= 0 && tool < drills) slotsOf[tool].push_back(static_cast<int>(i));
    }
    HoleTravel total;
    for (const std::vector<int>& slots : slotsOf) {
        std::vector<DrillHole> holes;
        holes.reserve(slots.size());
        for (int i : slots) holes.push_back(set.holes[i]);
        std::vector<int> fileOrder(holes.size());
        std::iota(fileOrder.begin(), fileOrder.end(), 0);
        const double before = HoleTravelMm(holes, fileOrder, mmPerStepX, mmPerStepY);
        const std::vector<int> chain = NearestHoleChain(holes, mmPerStepX, mmPerStepY);
        const double after = HoleTravelMm(holes, chain, mmPerStepX, mmPerStepY);
        total.fileOrderMm += before;
        total.orderedMm += std::min(before, after);
        if (after >= before) continue;
        for (size_t k = 0; k < slots.size(); ++k) set.holes[slots[k]] = holes[chain[k]];
    }
    return total;
}

}  // namespace korvex
