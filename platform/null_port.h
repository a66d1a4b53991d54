#pragma once
// "none": no port library at all. load() fails, so the program runs without
// port output: moves only change the position counters.

#include "platform/port_io.h"

namespace korvex {

class NullPort final : public PortIo {
  public:
    bool load() override { return false; }
    uint8_t in(uint16_t) override { return 0xFF; }
    void out(uint16_t, uint8_t) override {}
    std::string name() const override { return "none"; }
    std::string lastError() const override { return "no port backend"; }
};

}  // namespace korvex
