#include "platform/sim_machine.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "motion/motion_rig.h"
#include "motion/port.h"
#include "tests/testkit/reporting_machine.h"
#include "tests/testkit/temp_dir.h"

namespace korvex {
namespace {

// The recorded pin timeline of a few moves must match the stored file.
// KORVEX_UPDATE_GOLDEN=1 rewrites the files after a deliberate change.
void ExpectGoldenTimeline(SimulatedRig& r, const std::string& name) {
    std::ostringstream vcd;
    r.sim().writeVcd(vcd);
    const std::string path = std::string(KORVEX_TEST_DATA) + "/motion/" + name;
    if (std::getenv("KORVEX_UPDATE_GOLDEN")) std::ofstream(path) << vcd.str();
    EXPECT_EQ(vcd.str(), test::TempDir::readFile(path)) << path;
}

TEST(SimulatedMachine, PulseStreamMatchesTheRecordedWaveforms) {
    SimulatedRig r;
    MachinePosition& at = r.machine.position;
    at.absX = at.absY = at.absZ = at.plannedX = at.plannedY = at.plannedZ = 10;
    r.sim().startRecording();
    AppendCommand(r.machine, 3, -1, 0, 200, 0, 0, 0, 0, 0);
    AppendCommand(r.machine, 0, 0, -3, 0, 1, 0, 0, 0, 0);
    ASSERT_TRUE(r.waitUntilDrained());
    ExpectGoldenTimeline(r, "interpolated_and_ramped.vcd");

    MachineSettings plain = FactorySettings();
    plain.invertStep = 0;
    plain.invertDirY = 1;
    plain.oldTimer = 0;
    SimulatedRig p(plain);
    p.machine.position.absY = p.machine.position.plannedY = 10;
    p.sim().startRecording();
    AppendCommand(p.machine, 2, -2, 1, 100, 0, 0, 0, 0, 0);
    ASSERT_TRUE(p.waitUntilDrained());
    ExpectGoldenTimeline(p, "plain_step_new_timer.vcd");
}

TEST(SimulatedMachine, TooShortPulsesLoseTheirSteps) {
    MachineSettings s = FactorySettings();
    s.stepPulseUs = 1;  // the driver needs 2 µs
    SimulatedRig r(s);
    AppendCommand(r.machine, 20, 0, 0, 100, 0, 0, 0, 0, 0);
    ASSERT_TRUE(r.waitUntilDrained());
    EXPECT_EQ(r.machine.position.absX, 20) << "the controller cannot know";
    EXPECT_EQ(r.sim().stepsReceived(0), 0);
    EXPECT_GE(r.sim().stepsLost(0), 20);
    EXPECT_EQ(r.sim().position(0), 500);
}

TEST(SimulatedMachine, CarriageStopsAtTheMechanicalEndAndReportsOnce) {
    MachineSettings s = FactorySettings();
    s.softLimits = 0;
    test::Reports reports;
    SimulatedRig r(s);
    reports.attach(r.machine);
    AppendCommand(r.machine, -600, 0, 0, 100, 0, 0, 0, 0, 0);
    ASSERT_TRUE(r.waitUntilDrained());
    EXPECT_EQ(r.sim().position(0), -20);
    EXPECT_EQ(r.sim().crashes(0), 1);
    EXPECT_EQ(r.machine.position.absX, -600);
    EXPECT_EQ(reports.list, std::vector<std::string>{
                                "Simulated machine: axis X ran into its mechanical end (-)"});
}

TEST(SimulatedMachine, AHeldLimitSwitchReadsClosedUntilReleased) {
    SimulatedRig r(FactorySettings());
    Machine& m = r.machine;
    ReadInputs(m);
    EXPECT_EQ(m.signals.limitY.load(), 0) << "the carriage stands mid-travel";
    r.sim().holdLimit(1, true);
    ReadInputs(m);
    EXPECT_EQ((std::vector<int>{m.signals.limitX, m.signals.limitY, m.signals.limitZ}),
              (std::vector<int>{0, 1, 0}));
    r.sim().holdLimit(1, false);
    ReadInputs(m);
    EXPECT_EQ(m.signals.limitY.load(), 0);
}

}  // namespace
}  // namespace korvex
