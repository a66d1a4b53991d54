#pragma once
// "ppdev:/dev/parportN": the Linux parport driver's user-space interface.
// Needs read/write access to the device (the lp group), no I/O privilege.
// Each access is one ioctl (about a microsecond).

#include <string>

#include "platform/port_io.h"

namespace korvex {

class PpdevPort final : public PortIo {
  public:
    // `base`: the address the program calls the data register (lptAddress);
    // base + 1 and base + 2 are status and control, anything else reads 0xFF.
    PpdevPort(std::string device, uint16_t base) : device_(std::move(device)), base_(base) {}
    ~PpdevPort() override;
    bool load() override;
    uint8_t in(uint16_t address) override;
    void out(uint16_t address, uint8_t value) override;
    std::string name() const override { return "ppdev:" + device_; }
    std::string lastError() const override { return error_; }

  private:
    std::string device_;
    uint16_t base_;
    int fd_ = -1;
    std::string error_;
};

}  // namespace korvex
