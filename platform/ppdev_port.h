#pragma once
// "ppdev:/dev/parportN": the Linux parport driver's user-space interface.
// Needs read/write access to the device (the lp group), no I/O privilege.
// Each access is one ioctl (about a microsecond).
//
// Opening claims the port exclusively where the driver allows it (another
// driver such as lp may share it otherwise), gives up on a claim another
// program holds after kPpdevClaimTimeoutMs, and sets the data lines to
// output. Every ioctl is checked: the first that fails makes the port
// unhealthy for good, names itself in lastError(), and reads then return
// the register's last good value rather than 0xFF.

#include <atomic>
#include <mutex>
#include <string>

#include "platform/port_io.h"

namespace korvex {

inline constexpr int kPpdevClaimTimeoutMs = 2000;

// The system calls the backend makes; tests put a fake in their place.
class PpdevSystem {
  public:
    virtual ~PpdevSystem() = default;
    virtual int open(const char* path, int flags) = 0;
    virtual int ioctl(int fd, unsigned long request, void* argument) = 0;
    // PPCLAIM, abandoned after `timeoutMs`: -1 with errno ETIMEDOUT.
    virtual int claim(int fd, int timeoutMs) = 0;
    virtual int close(int fd) = 0;
};

// The real calls.
PpdevSystem& SystemPpdev();

class PpdevPort final : public PortIo {
  public:
    // `base`: the address the program calls the data register (lptAddress);
    // base + 1 and base + 2 are status and control, anything else reads 0xFF.
    PpdevPort(std::string device, uint16_t base, PpdevSystem& system = SystemPpdev())
        : device_(std::move(device)), base_(base), system_(system) {}
    ~PpdevPort() override;
    bool load() override;
    uint8_t in(uint16_t address) override;
    void out(uint16_t address, uint8_t value) override;
    std::string name() const override { return "ppdev:" + device_; }
    std::string lastError() const override;
    bool accessDenied() const override { return accessDenied_; }
    bool healthy() const override { return healthy_.load(std::memory_order_acquire); }

  private:
    bool openAndClaim(bool exclusive);
    void closeDevice();
    // Records the first failed access; the port stays unhealthy.
    void fail(const char* call, int error);

    std::string device_;
    uint16_t base_;
    PpdevSystem& system_;
    int fd_ = -1;
    bool claimed_ = false;
    bool accessDenied_ = false;
    std::atomic<bool> healthy_{true};
    std::atomic<uint8_t> lastRead_[3] = {0xFF, 0xFF, 0xFF};
    mutable std::mutex errorMutex_;
    std::string error_;
};

}  // namespace korvex
