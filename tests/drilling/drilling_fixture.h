#pragma once
// A reporting machine at factory settings (0.1 mm per step), an empty drill
// set and a folder for made-up files.

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "drilling/drill_readers.h"
#include "tests/testkit/reporting_machine.h"
#include "tests/testkit/temp_dir.h"

namespace korvex {

class DrillingTest : public ::testing::Test, public test::ReportingMachine {
  protected:
    DrillingTest() { m.buffer.allocate(1000); }

    int load(const std::string& content, const DrillFormat& format = kExcellonFormat) {
        return LoadDrillFile(m, set, dir.write("file", content), format);
    }
    static std::string data(const std::string& name) {
        return std::string(KORVEX_TEST_DATA) + "/drilling/" + name;
    }
    // Each hole as {tool, x, y}.
    std::vector<std::array<int, 3>> holes() const {
        std::vector<std::array<int, 3>> all;
        for (const DrillHole& h : set.holes) all.push_back({h.tool, h.x, h.y});
        return all;
    }
    std::string lastBox() const { return host.boxes.empty() ? "" : host.boxes.back().text; }

    DrillSet set;
    test::TempDir dir;
};

}  // namespace korvex
