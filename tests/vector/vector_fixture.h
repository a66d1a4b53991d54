#pragma once
// A reporting machine with a log file, and helpers to load HPGL text. One
// plotter unit is one step on every axis.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/testkit/reporting_machine.h"
#include "tests/testkit/temp_dir.h"
#include "vector/hpgl_reader.h"
#include "vector/vector_model.h"

namespace korvex::test {

struct VectorFixture : ::testing::Test, ReportingMachine {
    TempDir dir;
    VectorModel model;

    VectorFixture() {
        m.settings.hpglUnitsPerInch = 1016;  // 40 units per mm
        m.settings.mmPerStepX = m.settings.mmPerStepY = m.settings.mmPerStepZ = 0.025f;
        m.log.start(dir.path());
        m.buffer.allocate(100000);
    }

    int load(const std::string& hpgl, int32_t kind = kHpglCorel) {
        return LoadVectorFile(model, dir.write("drawing.plt", hpgl), kind, m.settings, m.log, host);
    }

    // The lines of listbox.txt, without their numbers.
    std::vector<std::string> logFile() const {
        std::vector<std::string> lines;
        const std::string text = TempDir::readFile(m.log.filePath());
        for (size_t start = 0; start < text.size();) {
            size_t end = text.find(" \n", start);
            if (end == std::string::npos) break;
            lines.push_back(text.substr(start + 6, end - start - 6));
            start = end + 2;
        }
        return lines;
    }

    std::vector<VectorPoint> points(int object) const { return model.objects[object].points; }

    // The drawing as text: each object "pen: x,y x,y", a point's z added when
    // not 0, objects apart by " | "; then each layer "pen: its objects".
    std::string drawing() const {
        std::string text;
        for (const VectorObject& o : model.objects) {
            text += (text.empty() ? "" : " | ") + std::to_string(o.pen) + ":";
            for (const VectorPoint& p : o.points)
                text += " " + std::to_string(p.x) + "," + std::to_string(p.y) +
                        (p.z ? "," + std::to_string(p.z) : "");
        }
        for (int i = 0; i < model.penCount; ++i) {
            text += " / " + std::to_string(model.pens[i].pen) + ":";
            for (int32_t object : model.pens[i].objectOrder) text += " " + std::to_string(object);
        }
        return text;
    }
};

}  // namespace korvex::test
