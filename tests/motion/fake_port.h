#pragma once
// A port that records every write and answers reads from settable
// registers, for checking exact register traffic; it can be made to fail as
// a ppdev port whose device went away.

#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include "platform/port_io.h"

namespace korvex {

struct FakePort final : PortIo {
    struct Write {
        uint16_t address;
        uint8_t value;
    };
    bool load() override {
        if (onLoad) onLoad();
        return loads;
    }
    uint8_t in(uint16_t address) override {
        if (address == base) return readBack ? *readBack : data;
        if (address == base + 1) return status;
        return control;
    }
    void out(uint16_t address, uint8_t value) override {
        if (broken) return;
        writes.push_back({address, value});
        if (address == base) data = value;
        if (address == base + 2) control = value;
    }
    std::string name() const override { return "fake"; }
    bool accessDenied() const override { return denied; }
    std::string lastError() const override { return "/dev/parport0: PPRSTATUS: I/O error"; }
    bool healthy() const override { return !broken; }

    // The values written to one register, in order.
    std::vector<int> written(uint16_t address) const {
        std::vector<int> values;
        for (const Write& w : writes)
            if (w.address == address) values.push_back(w.value);
        return values;
    }

    uint16_t base = 0x378;
    bool loads = true;
    bool denied = false;
    uint8_t data = 0, status = 0, control = 0;
    const uint8_t* readBack = nullptr;  // a data latch that does not read back
    std::vector<Write> writes;
    std::function<void()> onLoad;
    std::atomic<bool> broken{false};
};

}  // namespace korvex
