#pragma once
// The set-up the motion tests share: a machine with factory settings in
// English whose reports are kept (boxes by the host, list lines in `list`),
// and on request a recording port on the virtual clock, past the port test.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake_port.h"
#include "motion/machine.h"
#include "motion/port.h"
#include "platform/headless.h"

namespace korvex {

// Keeps what a machine reports. Declare it before anything that runs an
// executor on that machine: the executor may report until it stops.
struct Reports {
    ScriptedHost host;
    std::vector<std::string> list;  // read only while no executor runs

    void attach(Machine& m) {
        m.settings.language = 1;
        m.log.setHost(&host);
        m.log.setListSink([this](const std::string& line) { list.push_back(line); });
    }
    // List lines that contain `text`.
    int listed(const std::string& text) const {
        int n = 0;
        for (const std::string& line : list) n += line.find(text) != std::string::npos;
        return n;
    }
};

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
