#pragma once
// A machine of 0.01 mm steps on every axis, 200 x 100 x 50 mm of travel, with
// its list and boxes recorded and the relative origin at (50, 50, 10) mm.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "motion/machine.h"
#include "platform/headless.h"
#include "tests/testkit/temp_dir.h"

namespace korvex::test {

struct GcodeFixture : ::testing::Test {
    Machine m;
    ScriptedHost host;
    std::vector<std::string> list;
    TempDir dir;

    GcodeFixture() {
        LoadFactoryDefaults(m.settings);
        m.settings.language = 1;
        m.settings.mmPerStepX = m.settings.mmPerStepY = m.settings.mmPerStepZ = 0.01f;
        m.settings.travelX = 200;
        m.settings.travelY = 100;
        m.settings.travelZ = 50;
        m.log.start(dir.path());
        m.log.setHost(&host);
        m.log.setListSink([this](const std::string& line) { list.push_back(line); });
        m.buffer.allocate(10000);
        setOrigin(5000, 5000, 1000);
    }

    void setOrigin(int32_t x, int32_t y, int32_t z) {
        m.position.relOriginX = x;
        m.position.relOriginY = y;
        m.position.relOriginZ = z;
        m.position.relOriginSet = 1;
        m.position.plannedX = x;
        m.position.plannedY = y;
        m.position.plannedZ = z;
    }

    // Every queued command, in order.
    std::vector<MotionCommand> queued() const {
        std::vector<MotionCommand> out;
        for (int i = 0; i <= m.buffer.lastIndex(); ++i) out.push_back(m.buffer.entry(i));
        return out;
    }
};

}  // namespace korvex::test
