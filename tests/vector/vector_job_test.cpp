#include "vector/vector_job.h"
#include "motion/job_frame.h"

#include <algorithm>
#include <random>

#include "motion/rounding.h"
#include "tests/vector/vector_fixture.h"

namespace korvex::test {
namespace {

struct JobTest : VectorFixture {
    VectorJobRepeat repeat;

    JobTest() { SetOriginOverMaterial(m); }

    // Loads `hpgl` with one layer cut at `depth` in passes of `pass` mm.
    void layer(const std::string& hpgl, float depth, float pass, bool oneWay = false) {
        ASSERT_EQ(load(hpgl), 1);
        model.pens[0].depth = depth;
        model.pens[0].passDepth = pass;
        model.pens[0].oneWay = oneWay;
        model.cutOrder.slots[0] = 0;
        model.cutOrder.count = 1;
    }
};

TEST_F(JobTest, EveryStrategyEndsAtTheRoundedDepthWhateverThePasses) {
    // Measured wrong at 0.1 mm steps: 1.0 in passes of 0.15 ended at 1.3 mm,
    // in passes of 0.25 at 0.9 mm, and 0.3 in passes of 0.04 never cut.
    struct Case {
        float depth, pass, step;
    };
    std::vector<Case> cases{{1.0f, 0.15f, 0.1f}, {1.0f, 0.25f, 0.1f}, {0.3f, 0.04f, 0.1f}};
    std::mt19937 random(18);
    const float steps[] = {0.1f, 0.05f, 0.025f, 0.02f, 0.0125f, 0.01f, 0.00625f, 0.2f};
    for (int i = 0; i < 600; ++i)
        cases.push_back({0.01f * (1 + random() % 300), 0.01f * (1 + random() % 80),
                         steps[random() % std::size(steps)]});
    const std::string open = "SP1;PU0,0;PD40,0;PD40,40;";
    const std::string closed = "SP1;PU0,0;PD40,0;PD40,40;PD0,0;";
    for (const auto& [hpgl, oneWay] : {std::pair{open, false}, {open, true}, {closed, true}}) {
        layer(hpgl, 0, 0, oneWay);
        const size_t cutsPerPass = model.objects[0].points.size() - 1;
        for (const Case& c : cases) {
            m.settings.mmPerStepZ = c.step;
            m.position.plannedZ = 0;
            SetOriginOverMaterial(m);  // safe height in this step size
            model.pens[0].depth = c.depth;
            model.pens[0].passDepth = c.pass;
            m.buffer.reset();
            list.clear();
            const int64_t counted = generateVectorJob(m, model, repeat, 1);
            generateVectorJob(m, model, repeat, 0);
            const std::vector<MotionCommand> moves = queued();
            ASSERT_EQ(static_cast<int64_t>(moves.size()), counted);
            // Each pass as the depth below the surface of its first cut: the
            // job starts at the safe height above the surface.
            const int safe = MmToSteps(m.settings.safeHeight, c.step);
            std::vector<int> passes;
            int z = 0;
            size_t cuts = 0;
            for (const MotionCommand& move : moves) {
                z += move.dz;
                if (move.spindleOn && cuts++ % cutsPerPass == 0) passes.push_back(z - safe);
            }
            const int finalDepth = MmToSteps(c.depth, c.step);
            const int mostPerPass = std::max(MmToSteps(c.pass, c.step), 1) + 1;
            SCOPED_TRACE(::testing::Message() << "depth " << c.depth << " pass " << c.pass
                                              << " step " << c.step << " one-way " << oneWay);
            ASSERT_FALSE(passes.empty());
            EXPECT_EQ(passes.back(), finalDepth);
            EXPECT_EQ(*std::max_element(passes.begin(), passes.end()), finalDepth);
            for (size_t k = 0; k < passes.size(); ++k) {
                const int before = k == 0 ? 0 : passes[k - 1];
                EXPECT_LE(passes[k] - before, mostPerPass) << "pass " << k + 1;
                if (finalDepth > 0) {
                    EXPECT_GE(passes[k] - before, 1) << "pass " << k + 1;
                }
            }
            // A pass depth below one step is said once per job.
            const bool raised = c.pass < c.step && finalDepth > 0;
            EXPECT_EQ(list.size(), raised ? 1u : 0u);
        }
    }
}

TEST_F(JobTest, ToolStaysDownWhereTheNextObjectStarts) {
    layer("SP1;PU0,0;PD40,0;PU40,0;PD40,40;", 0.4f, 0.4f);
    // The empty travel between the objects is neither queued nor counted.
    EXPECT_EQ(generateLayersByPass(m, model, 1), 7);
    EXPECT_EQ(generateLayersByPass(m, model, 0), 7);
    // Safe height is 200 steps; the moves' periods and flags are the CLI's golden outputs.
    EXPECT_EQ(queuedMoves(), "0,40,0 0,0,200 0,0,16 40,0,0 0,-40,0 0,0,-216 -40,0,0");
}

// 1.2 over 0.4 is three passes whatever the floats' noise; no pass depth, none.
TEST_F(JobTest, PassCountsWithoutNoiseOrMillionsOfSteps) {
    layer("SP1;PU0,0;PD40,0;", 1.2f, 0.4f);
    EXPECT_EQ(PassesOf(model.pens[0], m.settings).count, 3);
    model.pens[0].passDepth = 0;
    EXPECT_EQ(PassesOf(model.pens[0], m.settings).count, 0);
    layer("SP1;PU0,0;PD40,0;", 100000, 0.025f);
    const int64_t passes = PassesOf(model.pens[0], m.settings).count;
    EXPECT_EQ(passes, 4'000'000);
    EXPECT_EQ(generateLayersByPass(m, model, 1), 5 * passes);
    EXPECT_EQ(generateObjectsOneWay(m, model, 1), 1 + 3 * passes + 2 * (passes - 1) + 1);
}

}  // namespace
}  // namespace korvex::test
