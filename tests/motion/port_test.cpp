#include "motion/port.h"

#include <gtest/gtest.h>

#include "motion/motion_rig.h"
#include "motion_fixture.h"
#include "platform/headless.h"

namespace korvex {
namespace {

struct PortTest : MotionTest {
    // The inputs as decoded: limits X Y Z, Z sensor, emergency input, stop.
    std::vector<int> inputs() const {
        const MachineSignals& s = m.signals;
        return {s.limitX, s.limitY, s.limitZ, s.zSensor, s.emergencyInput, s.estopActive};
    }
};

TEST_F(PortTest, BackendThatDoesNotOpenLeavesThePortAlone) {
    port.loads = false;
    openPort();
    EXPECT_EQ(m.signals.portReady, 0);
    EXPECT_EQ(boxTexts(), std::vector<std::string>{"The port could not be opened: fake"});
    EXPECT_EQ(listed("lp group"), 0) << "a missing port is no permission matter";
    ReadInputs(m);
    SetControlOutputs(m, 1, 1, 1);
    EXPECT_TRUE(port.writes.empty());

    port.denied = true;
    openPort();
    EXPECT_EQ(list.back(),
              "fake: access denied; join the lp group (sudo adduser $USER lp) and log in again");
}

TEST_F(PortTest, LatchThatDoesNotReadBackFailsTheTest) {
    const uint8_t wrong = 85;
    port.readBack = &wrong;
    openPort();
    EXPECT_EQ(m.signals.portReady, 0);
    EXPECT_EQ(boxTexts(), (std::vector<std::string>{"Test portu LPT - from port 0x378 read :85",
                                                    "Testing of LPT port failed"}));
    ReadInputs(m);
    EXPECT_TRUE(port.writes.empty()) << "no further port access";
}

// 170 drives every step line active with inverted steps: not while a stop
// holds, whether the input or the button raised it.
TEST_F(PortTest, PortTestWritesNothingWhileAnEmergencyStopHolds) {
    port.status = 0x80;  // the emergency input pressed at start-up
    openPort();
    EXPECT_TRUE(port.written(0x378).empty());
    EXPECT_EQ(m.signals.portReady, 1);
    EXPECT_EQ(listed("LPT port test skipped: the emergency stop is active"), 1);

    port.status = 0x00;
    ASSERT_EQ(ReleaseEmergencyStop(m), 1);
    ASSERT_TRUE(PressEmergencyStopButton(m));
    TestPort(m);
    EXPECT_TRUE(port.written(0x378).empty());
    EXPECT_EQ(listed("LPT port test skipped"), 2);
    ASSERT_TRUE(PressEmergencyStopButton(m));
    TestPort(m);
    EXPECT_EQ(port.written(0x378).front(), 170);
}

TEST_F(PortTest, OpeningLogsTheBackendAndInputsDecodeWithTheFactoryInversions) {
    openPort();
    EXPECT_EQ(m.signals.portReady, 1);
    EXPECT_EQ(list, (std::vector<std::string>{"Port: fake"}));
    EXPECT_EQ(port.control, 0x0B) << "all four control pins low";
    EXPECT_TRUE(host.boxes.empty());
    port.status = 0x78;  // every input pin high
    ReadInputs(m);
    EXPECT_EQ(inputs(), (std::vector<int>{1, 1, 1, 1, 0, 0}));

    m.settings.pinZSensor = 0;
    port.status = 0x00;
    ReadInputs(m);
    ReadInputs(m);
    EXPECT_EQ(inputs(), (std::vector<int>{0, 0, 0, 1, 0, 0}))
        << "an unwired input (the Z sensor) keeps its value";
}

TEST_F(PortTest, EmergencyInputRaisesTheStopOnce) {
    openPort();
    port.status = 0x80;
    ReadInputs(m);
    ReadInputs(m);
    EXPECT_EQ(inputs(), (std::vector<int>{0, 0, 0, 0, 1, 1}));
    EXPECT_EQ(m.gate.count(), 1) << "suspended once, released once";
    EXPECT_EQ(port.control & 4, 4) << "pin 16 shows the stop";

    EXPECT_EQ(ReleaseEmergencyStop(m), 0) << "the input still holds it";
    port.status = 0x00;
    EXPECT_EQ(ReleaseEmergencyStop(m), 1);
    EXPECT_EQ(m.signals.estopActive, 0);
    EXPECT_EQ(m.gate.count(), 0);
    EXPECT_EQ(port.control & 4, 0);
}

TEST_F(PortTest, ControlOutputsFollowTheSwitchSettings) {
    openPort();
    port.control = m.port.control = 0x00;
    SetControlOutputs(m, 1, 0, 1);
    EXPECT_EQ(port.control, 0x00) << "machine and spindle not switched; pin 17 high";
    EXPECT_EQ(list.size(), 1u) << "no log line";

    m.settings.switchMachine = 1;
    port.control = m.port.control = 0x0A;
    SetControlOutputs(m, 0, -1, -1);
    EXPECT_EQ(port.control, 0x0B) << "pin 1 low, bits 1 and 3 kept";
    EXPECT_EQ(list.back(), "Stroj (Machine) Off");
    EXPECT_EQ(m.signals.machineOnState, 0);
}

TEST(SimulatedPort, ConcurrentControlChangesAreNotLost) {
    SimulatedRig rig;
    Machine& m = rig.machine;
    m.settings.switchSpindle = 1;
    std::thread other([&m] {
        for (int i = 0; i <= 2000; ++i) SetControlOutputs(m, -1, i % 2, -1);
    });
    for (int i = 0; i <= 2000; ++i) SetControlOutputs(m, -1, -1, i % 2);
    other.join();
    EXPECT_EQ(m.port.control & 0x0A, 0x0A) << "both ended off";
    EXPECT_EQ(rig.sim().controlRegister(), m.port.control);
}

// I/O permission on x86 is per thread and copied only when a thread is
// created: the port must be open before the executor thread exists.
TEST_F(PortTest, PortOpensBeforeTheExecutorThreadStarts) {
    bool executorRunningAtLoad = true;
    port.onLoad = [&] { executorRunningAtLoad = m.timing.executorThreadId.load() != 0; };
    MotionRig rig(m, {"none", true, &port});
    EXPECT_FALSE(executorRunningAtLoad);
    EXPECT_EQ(m.signals.portReady, 1);
    EXPECT_TRUE(rig.executor().running());
}

// A port whose access fails stops the machine as the emergency input does,
// and keeps it stopped: no pulse is trusted to it any more.
TEST_F(PortTest, AFailingPortStopsTheExecutorWithOneLogLine) {
    int ticks = 0;
    MotionRig rig(m, {"none", true, &port});
    rig.executor().setTickObserver([&](const Tick&) {
        if (++ticks == 10) port.broken = true;
    });
    AppendCommand(m, 100, 0, 0, 200, 0, 0, 0, 0, 0);
    WaitUntilDrained(m, [&] { return m.gate.count() > 0; });
    EXPECT_EQ(m.signals.estopActive, 1);
    EXPECT_EQ(m.position.absX, 10);
    ASSERT_EQ(ReleaseEmergencyStop(m), 1);
    WaitUntilDrained(m, [&] { return m.gate.count() > 0; });
    EXPECT_EQ(m.position.absX, 10) << "still failing: stopped again before the pulse";
    EXPECT_EQ(listed("LPT port error: /dev/parport0: PPRSTATUS: I/O error"), 1);
}

}  // namespace
}  // namespace korvex
