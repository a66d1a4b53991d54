// A relief on the simulated machine through the real step output: an
// emergency input in the middle halts it before the next pulse, and after
// the release it goes on with nothing lost or repeated.

#include <gtest/gtest.h>

#include "machining/relief_carve.h"
#include "machining/relief_output.h"
#include "motion/motion_rig.h"
#include "motion/port.h"
#include "relief_fixture.h"

namespace korvex::test {
namespace {

// Presses the machine's emergency input just before one step is handed to
// the port (so that step's own reading of the inputs sees it) and counts
// the steps made.
class PressingOutput final : public ReliefOutput {
  public:
    PressingOutput(ReliefOutput& port, SimulatedMachine& sim, long pressAt)
        : port_(port), sim_(sim), pressAt_(pressAt) {}
    void begin() override { port_.begin(); }
    bool step(int sx, int sy, int sz, int periodUs) override {
        if (steps + 1 == pressAt_ && !pressed) {
            pressed = true;
            sim_.pressEmergency(true);
            for (int axis = 0; axis < 3; ++axis) atPress[axis] = sim_.position(axis);
        }
        const bool made = port_.step(sx, sy, sz, periodUs);
        steps += made;
        return made;
    }
    void idle() override { port_.idle(); }
    void wait() override { port_.wait(); }
    long steps = 0;
    bool pressed = false;
    int32_t atPress[3] = {};

  private:
    ReliefOutput& port_;
    SimulatedMachine& sim_;
    long pressAt_;
};

TEST(ReliefOnTheSimulatedMachine, AnEmergencyInputHaltsItUntilReleased) {
    SimulatedRig rig;
    Machine& m = rig.machine;
    ScriptedHost host;
    m.log.setHost(&host);
    RasterImage raster = GrayPicture(3, {255, 128, 0, 0, 64, 255});
    ReliefJob job = StartReliefJob(m.settings);
    job.stepsPerLevel = StepsPerLevel(job, raster.levelCount);
    JobValues values = StartJobValues(m.settings);
    ReliefSimulation simulation;
    int sourceKind = 0;
    RecordingView view;

    // The operator waits a moment, then releases the input and the stop.
    // Until then the carriages stand where the input was pressed.
    int waits = 0;
    PressingOutput* pressing = nullptr;
    PortReliefOutput port(m, [&] {
        if (!m.signals.estopActive.load()) return;
        for (int axis = 0; axis < 3; ++axis)
            EXPECT_EQ(rig.sim().position(axis), pressing->atPress[axis])
                << "a pulse after the stop";
        if (++waits == 3) {
            rig.sim().pressEmergency(false);
            ReleaseEmergencyStop(m);
        }
    });
    PressingOutput output(port, rig.sim(), 30);
    pressing = &output;
    ReliefContext context{m, raster, job, values, simulation, output, {}, sourceKind};
    SimulatedMachine& sim = rig.sim();
    const int32_t start[3] = {sim.position(0), sim.position(1), sim.position(2)};
    const int64_t lost[3] = {sim.stepsLost(0), sim.stepsLost(1), sim.stepsLost(2)};
    CarveRelief(context, view, host, 0);

    EXPECT_TRUE(output.pressed);
    EXPECT_EQ(waits, 3);
    EXPECT_EQ(m.signals.estopActive, 0);
    for (int axis = 0; axis < 3; ++axis) {
        EXPECT_EQ(sim.position(axis), start[axis]) << axis;
        EXPECT_EQ(sim.stepsLost(axis), lost[axis]) << axis;
    }
    RecordingOutput uninterrupted;
    ReliefContext recorded{m, raster, job, values, simulation, uninterrupted, {}, sourceKind};
    CarveRelief(recorded, view, host, 0);
    EXPECT_EQ(output.steps, uninterrupted.steps);
    EXPECT_EQ(m.position.absX, 0);
    EXPECT_EQ(m.position.absZ, 0);
}

}  // namespace
}  // namespace korvex::test
