#pragma once
// "rawio": direct inb/outb at the given addresses after ioperm (x86, root).
// The exact equivalent of a raw I/O port library.

#include <string>

#include "platform/port_io.h"

namespace korvex {

class RawIoPort final : public PortIo {
  public:
    explicit RawIoPort(uint16_t base) : base_(base) {}
    bool load() override;
    uint8_t in(uint16_t address) override;
    void out(uint16_t address, uint8_t value) override;
    std::string name() const override { return "rawio"; }
    std::string lastError() const override { return error_; }
    bool accessDenied() const override { return denied_; }

  private:
    uint16_t base_;
    bool permitted_ = false;
    bool denied_ = false;
    std::string error_;
};

}  // namespace korvex
