#include "vector/travel_order.h"

#include <random>

#include "tests/vector/vector_fixture.h"

namespace korvex::test {
namespace {

// A model of two-point objects from (start, end) pairs.
VectorModel Segments(const std::vector<std::pair<VectorPoint, VectorPoint>>& segments) {
    VectorModel model;
    for (const auto& [a, b] : segments) model.objects.push_back({1, 0, 0, {a, b}});
    return model;
}

std::vector<int32_t> Identity(int n) {
    std::vector<int32_t> order(n);
    for (int i = 0; i < n; ++i) order[i] = i;
    return order;
}

TEST(TravelOrderTest, TravelSkipsObjectsWithoutPointsAndPutsThemLast) {
    VectorModel model = Segments({{{0, 0}, {10, 0}}, {{50, 0}, {60, 0}}, {{13, 4}, {20, 0}}});
    model.objects.insert(model.objects.begin() + 1, VectorObject{1, 0, 0, {}});
    std::vector<int32_t> order = Identity(4);
    EXPECT_EQ(TravelSteps(model, order), 40 + 47);
    OrderForTravel(model, order);
    EXPECT_EQ(order, (std::vector<int32_t>{0, 3, 2, 1}));
    EXPECT_EQ(TravelSteps(model, order), 5 + 30);
}

// The grid search must give the scan's order exactly, ties included: small
// coordinate ranges make many equal distances, wide ones sparse grids.
TEST(TravelOrderTest, FastChainMatchesTheScanExactly) {
    std::mt19937 random(42);
    for (int round = 0; round < 60; ++round) {
        const int n = 2 + static_cast<int>(random() % 300);
        const int span = round % 3 == 0 ? 4 : round % 3 == 1 ? 1000 : 1 << 29;
        std::uniform_int_distribution<int> coordinate(0, span);
        std::vector<std::pair<VectorPoint, VectorPoint>> segments(n);
        for (auto& [a, b] : segments) {
            a = {coordinate(random), round % 5 == 0 ? 7 : coordinate(random)};
            b = {coordinate(random), coordinate(random)};
        }
        const VectorModel model = Segments(segments);
        std::vector<int32_t> fast = Identity(n), scan = Identity(n);
        std::shuffle(fast.begin() + 1, fast.end(), random);
        scan = fast;
        OrderForTravel(model, fast);
        OrderForTravelByScan(model, scan);
        ASSERT_EQ(fast, scan) << "round " << round;
    }
}

TEST_F(VectorFixture, LayerTravelIsStoredAndTheReductionLogged) {
    ASSERT_EQ(load("SP1;PU0,0;PD40,0;PU4000,0;PD4040,0;PU80,0;PD120,0;"), 1);
    PenLayer& layer = model.pens[0];
    OptimiseLayerTravel(model, layer, m.settings, m.log);
    EXPECT_EQ(layer.objectOrder, (std::vector<int32_t>{0, 2, 1}));
    // 40 + 3880 steps of 0.025 mm; before: 3960 + 3960.
    EXPECT_FLOAT_EQ(layer.travel, 98.0f);
    EXPECT_EQ(list.back(), "moving up to metrial reduced by 50.51%");

    ASSERT_EQ(load("SP1;PU0,0;PD40,0;"), 1);
    OptimiseLayerTravel(model, model.pens[0], m.settings, m.log);
    EXPECT_EQ(model.pens[0].travel, 0);
}

}  // namespace
}  // namespace korvex::test
