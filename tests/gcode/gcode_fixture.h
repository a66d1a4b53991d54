#pragma once
// A reporting machine of 0.01 mm steps on every axis, 200 x 100 x 50 mm of
// travel, with a log file and the relative origin at (50, 50, 10) mm.

#include <gtest/gtest.h>

#include "tests/testkit/reporting_machine.h"
#include "tests/testkit/temp_dir.h"

namespace korvex::test {

struct GcodeFixture : ::testing::Test, ReportingMachine {
    TempDir dir;

    GcodeFixture() {
        m.settings.mmPerStepX = m.settings.mmPerStepY = m.settings.mmPerStepZ = 0.01f;
        m.settings.travelX = 200;
        m.settings.travelY = 100;
        m.settings.travelZ = 50;
        m.log.start(dir.path());
        m.buffer.allocate(10000);
        setOrigin(5000, 5000, 1000);
    }

    void setOrigin(int32_t x, int32_t y, int32_t z) {
        MachinePosition& p = m.position;
        p.relOriginX = p.plannedX = x;
        p.relOriginY = p.plannedY = y;
        p.relOriginZ = p.plannedZ = z;
        p.relOriginSet = 1;
    }
};

}  // namespace korvex::test
