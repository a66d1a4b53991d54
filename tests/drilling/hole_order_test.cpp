#include "drilling/hole_order.h"

#include <gtest/gtest.h>

#include <random>

namespace korvex {
namespace {

std::vector<DrillHole> At(std::vector<std::pair<int, int>> places, int tool = 0) {
    std::vector<DrillHole> holes;
    for (auto [x, y] : places) holes.push_back({tool, x, y});
    return holes;
}

TEST(HoleOrder, NearestFirstFromTheOriginEarlierOnATie) {
    // (3, 4) and (5, 0) are both 5 from the origin: the earlier one first,
    // and of two holes in one place the earlier one first too.
    const auto holes = At({{10, 0}, {3, 4}, {5, 0}, {10, 0}, {1, 20}});
    EXPECT_EQ(NearestHoleChain(holes, 0.1, 0.1), (std::vector<int>{1, 2, 0, 3, 4}));
    // With Y steps twice as long as X steps, (3, 4) is 8.5 away and (5, 0) 5.
    EXPECT_EQ(NearestHoleChain(holes, 0.1, 0.2), (std::vector<int>{2, 0, 3, 1, 4}));
    // Origin, (3, 4), (5, 0), (10, 0) twice, (1, 20) and back: 5 + sqrt(20) +
    // 5 + 0 + sqrt(481) + sqrt(401), in 0.1 mm steps.
    EXPECT_NEAR(HoleTravelMm(holes, {1, 2, 0, 3, 4}, 0.1, 0.1),
                0.1 * (10 + std::sqrt(20.0) + std::sqrt(481.0) + std::sqrt(401.0)), 1e-12);
    EXPECT_TRUE(NearestHoleChain({}, 0.1, 0.1).empty());
}

TEST(HoleOrder, TheTreeFindsTheSameChainAsTheScan) {
    std::mt19937 random(3);
    for (int round = 0; round < 40; ++round) {
        const int n = 1 + static_cast<int>(random() % 600);
        // Small spans make many equal distances and equal places.
        const int span = round % 3 == 0 ? 5 : round % 3 == 1 ? 200 : 100'000;
        std::vector<DrillHole> holes;
        for (int i = 0; i < n; ++i) {
            const int cluster = round % 2 ? static_cast<int>(random() % 3) * span * 4 : 0;
            holes.push_back({0, cluster + static_cast<int>(random() % span),
                             static_cast<int>(random() % span)});
        }
        const double stepY = round % 4 == 0 ? 0.0125 : 0.01;
        SCOPED_TRACE(testing::Message() << "round " << round << ", " << n << " holes");
        EXPECT_EQ(NearestHoleChain(holes, 0.01, stepY), NearestHoleChainByScan(holes, 0.01, stepY));
    }
}

TEST(HoleOrder, EachDrillIsOrderedInItsOwnPlaces) {
    DrillSet set;
    set.toolCount = 2;
    // Drill 0 at x 9, 0, 8 (in file order), drill 1 and a hole of no drill
    // in between.
    set.holes = {{0, 9, 0}, {1, 50, 0}, {-1, 7, 7}, {0, 0, 0}, {0, 8, 0}};
    const HoleTravel travel = OrderHolesForTravel(set, 1, 1);
    EXPECT_EQ(set.holes[0].x, 0);
    EXPECT_EQ(set.holes[3].x, 8);
    EXPECT_EQ(set.holes[4].x, 9);
    EXPECT_EQ(set.holes[1].x, 50);
    EXPECT_EQ(set.holes[2].tool, -1);
    EXPECT_DOUBLE_EQ(travel.fileOrderMm, (9 + 9 + 8 + 8) + 100);
    EXPECT_DOUBLE_EQ(travel.orderedMm, (0 + 8 + 1 + 9) + 100);

    // A chain longer than the file order is not taken: the file goes out to
    // 4 and back (12), the chain takes 1, -1, -2 and then 4 (14).
    set.toolCount = 1;
    set.holes = At({{4, 0}, {1, 0}, {-1, 0}, {-2, 0}});
    const HoleTravel kept = OrderHolesForTravel(set, 1, 1);
    EXPECT_EQ(set.holes[0].x, 4);
    EXPECT_DOUBLE_EQ(kept.orderedMm, 12);
    EXPECT_DOUBLE_EQ(kept.fileOrderMm, 12);
}

}  // namespace
}  // namespace korvex
