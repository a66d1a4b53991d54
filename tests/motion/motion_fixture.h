#pragma once
// The set-up the motion tests share: a machine with factory settings in
// English whose reports are kept (boxes by the host, list lines in `list`),
// and on request a recording port on the virtual clock, past the port test.

#include <gtest/gtest.h>

#include "fake_port.h"
#include "motion/machine.h"
#include "motion/port.h"
#include "platform/headless.h"
#include "tests/testkit/reporting_machine.h"

namespace korvex {

using test::Executed;
using test::Planned;
using test::Reports;
using test::Steps3;

struct MotionTest : ::testing::Test, Reports {
    FakePort port;
    VirtualClock clock;
    Machine m;

    MotionTest() {
        LoadFactoryDefaults(m.settings);
        attach(m);
    }
    // Attaches the recording port on the virtual clock and passes the port
    // test; the writes it made are forgotten.
    void openPort() {
        m.timing.clock = &clock;
        LoadPortLibrary(m, port);
        TestPort(m);
        port.writes.clear();
    }
};

}  // namespace korvex
