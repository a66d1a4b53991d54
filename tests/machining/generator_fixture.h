#pragma once
// A machine at factory settings (0.1 mm steps, 5 mm over the material) with a
// relative origin and a large buffer, recording what a job queues and reports.

#include <gtest/gtest.h>

#include <vector>

#include "machining/job_values.h"
#include "motion/job_frame.h"
#include "tests/testkit/reporting_machine.h"

namespace korvex::test {

struct GeneratorTest : ::testing::Test, ReportingMachine {
    // Every command appended, in order.
    std::vector<MotionCommand> appended;
    JobValues values;

    GeneratorTest() {
        m.buffer.allocate(200'000);
        m.buffer.addAppendObserver([this](const MotionCommand& c) { appended.push_back(c); });
        SetOriginOverMaterial(m);
        values = StartJobValues(m.settings);
    }

    // The queued moves in the XY plane, in order.
    std::vector<std::pair<int, int>> planar() const {
        std::vector<std::pair<int, int>> moves;
        for (const MotionCommand& c : appended)
            if (c.dz == 0) moves.push_back({c.dx, c.dy});
        return moves;
    }
    // The plunges (descents with the dwell), of one period unless it is 0.
    std::vector<int> plunges(int32_t periodUs = 0) const {
        std::vector<int> depths;
        for (const MotionCommand& c : appended)
            if (c.dz > 0 && c.dwellAfter && (!periodUs || c.periodUs == periodUs))
                depths.push_back(c.dz);
        return depths;
    }
};

}  // namespace korvex::test
