#pragma once
// A machine at factory settings (0.1 mm per step, English) with a scripted
// host for the boxes, an empty drill set and a folder for made-up files.

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "drilling/drill_readers.h"
#include "motion/machine.h"
#include "platform/headless.h"
#include "tests/testkit/temp_dir.h"

namespace korvex {

class DrillingTest : public ::testing::Test {
  protected:
    DrillingTest() {
        LoadFactoryDefaults(m.settings);
        m.settings.language = 1;
        m.buffer.allocate(1000);
        m.log.setHost(&host);
    }

    int load(const std::string& content, const DrillFormat& format = kExcellonFormat) {
        return LoadDrillFile(m, set, dir.write("file", content), format);
    }
    static std::string data(const std::string& name) {
        return std::string(KORVEX_TEST_DATA) + "/drilling/" + name;
    }
    std::vector<MotionCommand> queued() const {
        std::vector<MotionCommand> commands;
        for (int i = 0; i <= m.buffer.lastIndex(); ++i) commands.push_back(m.buffer.entry(i));
        return commands;
    }
    // Each hole as {tool, x, y}.
    std::vector<std::array<int, 3>> holes() const {
        std::vector<std::array<int, 3>> all;
        for (const DrillHole& h : set.holes) all.push_back({h.tool, h.x, h.y});
        return all;
    }
    std::string lastBox() const { return host.boxes.empty() ? "" : host.boxes.back().text; }

    Machine m;
    ScriptedHost host;
    DrillSet set;
    test::TempDir dir;
};

}  // namespace korvex
