#pragma once
// What a machine reports, kept for the tests: boxes by the scripted host,
// list lines in `list`, in English; and a machine at factory settings that
// reports so.

#include <array>
#include <string>
#include <vector>

#include "motion/machine.h"
#include "platform/headless.h"

namespace korvex::test {

using Steps3 = std::array<int32_t, 3>;

// The executed and the planned position, X Y Z.
inline Steps3 Executed(const Machine& m) {
    return {m.position.absX.load(), m.position.absY.load(), m.position.absZ.load()};
}
inline Steps3 Planned(const Machine& m) {
    return {m.position.plannedX.load(), m.position.plannedY.load(), m.position.plannedZ.load()};
}

// Declare it before anything that runs an executor on the machine it is
// attached to: the executor may report until it stops.
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
    std::vector<std::string> boxTexts() const {
        std::vector<std::string> texts;
        for (const auto& box : host.boxes) texts.push_back(box.text);
        return texts;
    }
};

struct ReportingMachine : Reports {
    Machine m;

    ReportingMachine() {
        LoadFactoryDefaults(m.settings);
        attach(m);
    }
    // Every queued command, in order.
    std::vector<MotionCommand> queued() const {
        std::vector<MotionCommand> out;
        for (int i = 0; i <= m.buffer.lastIndex(); ++i) out.push_back(m.buffer.entry(i));
        return out;
    }
    // The distances of every queued command, as "dx,dy,dz" in order, space apart.
    std::string queuedMoves() const {
        std::string out;
        for (const MotionCommand& c : queued())
            out += (out.empty() ? "" : " ") + std::to_string(c.dx) + "," + std::to_string(c.dy) +
                   "," + std::to_string(c.dz);
        return out;
    }
};

}  // namespace korvex::test
