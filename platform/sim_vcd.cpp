// The simulated machine's pin timeline as a VCD file (any waveform viewer).

#include <ostream>
#include <string>
#include <vector>

#include "platform/sim_machine.h"

namespace korvex {

namespace {

struct Signal {
    std::string name;
    int reg;  // 0 data, 1 status pins, 2 control
    int bit;
    bool inverted;  // the pin shows the register bit inverted
};

std::vector<Signal> Signals(const SimConfig& c) {
    static const char* const kAxes = "XYZA";
    std::vector<Signal> signals;
    for (int bit = 0; bit < 8; ++bit) {
        std::string name = "d" + std::to_string(bit);
        for (int a = 0; a < 4; ++a) {
            if (c.axes[a].stepMask == 1 << bit) name = std::string("step") + kAxes[a];
            if (c.axes[a].dirMask == 1 << bit) name = std::string("dir") + kAxes[a];
        }
        signals.push_back({name, 0, bit, false});
    }
    static const char* const kStatusPins[] = {"pin15", "pin13", "pin12", "pin10", "pin11"};
    for (int bit = 3; bit < 8; ++bit) {
        std::string name = kStatusPins[bit - 3];
        const uint8_t mask = static_cast<uint8_t>(1 << bit);
        for (int a = 0; a < 3; ++a)
            if (c.limit[a].statusMask == mask) name = std::string("limit") + kAxes[a];
        if (c.probe.statusMask == mask) name = "probe";
        if (c.emergency.statusMask == mask) name = "emergency";
        signals.push_back({name, 1, bit, false});
    }
    signals.push_back({"pin1_machine", 2, 0, true});
    signals.push_back({"pin14_spindle", 2, 1, true});
    signals.push_back({"pin16_estop", 2, 2, false});
    signals.push_back({"pin17_x2", 2, 3, true});
    return signals;
}

}  // namespace

void SimulatedMachine::writeVcd(std::ostream& out) const {
    std::lock_guard lock(recordMutex_);
    const std::vector<Signal> signals = Signals(config_);
    auto id = [](size_t i) { return std::string(1, static_cast<char>('!' + i)); };
    auto level = [](const Signal& s, const Edge& e) {
        const uint8_t reg = s.reg == 0 ? e.data : s.reg == 1 ? e.status : e.control;
        return (((reg >> s.bit) & 1) != 0) != s.inverted ? '1' : '0';
    };

    out << "$timescale 1ns $end\n$scope module korvex $end\n";
    for (size_t i = 0; i < signals.size(); ++i)
        out << "$var wire 1 " << id(i) << ' ' << signals[i].name << " $end\n";
    out << "$upscope $end\n$enddefinitions $end\n";
    for (size_t k = 0; k < timeline_.size(); ++k) {
        const Edge& e = timeline_[k];
        if (k == 0 || e.time != timeline_[k - 1].time) out << '#' << e.time << '\n';
        if (k == 0) out << "$dumpvars\n";
        for (size_t i = 0; i < signals.size(); ++i)
            if (k == 0 || level(signals[i], e) != level(signals[i], timeline_[k - 1]))
                out << level(signals[i], e) << id(i) << '\n';
        if (k == 0) out << "$end\n";
    }
}

}  // namespace korvex
