#pragma once
// A reporting machine at factory settings (0.1 mm per step), an empty drill
// set and a folder for made-up files.

#include <gtest/gtest.h>

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
    // The set as text: each drill's diameter (mm) and holes, each hole as
    // "drill:x,y", then the field.
    std::string summary() const {
        std::string text;
        for (int t = 0; t < set.toolCount; ++t)
            text +=
                Format(t ? " %.4fx%d" : "%.4fx%d", set.tools[t].diameter, set.tools[t].holeCount);
        text += ";";
        for (const DrillHole& h : set.holes) text += Format(" %d:%d,%d", h.tool, h.x, h.y);
        return text + Format("; %dx%d", set.fieldWidth, set.fieldHeight);
    }
    std::string lastBox() const { return host.boxes.empty() ? "" : host.boxes.back().text; }

    DrillSet set;
    test::TempDir dir;
};

}  // namespace korvex
