#include "platform/ppdev_port.h"

#include <gtest/gtest.h>
#include <linux/ppdev.h>
#include <sys/ioctl.h>

#include <cerrno>
#include <map>
#include <vector>

namespace korvex {
namespace {

// The driver as the backend sees it: every request recorded, registers kept,
// any request made to fail.
struct FakePpdev final : PpdevSystem {
    struct Call {
        unsigned long request;
        int value;
    };
    int open(const char*, int) override { return openError ? (errno = openError, -1) : 7; }
    int ioctl(int fd, unsigned long request, void* argument) override {
        EXPECT_EQ(fd, 7);
        auto* byte = static_cast<unsigned char*>(argument);
        calls.push_back({request, request == PPDATADIR ? *static_cast<int*>(argument)
                                  : byte               ? *byte
                                                       : -1});
        if (auto failure = failing.find(request); failure != failing.end()) {
            errno = failure->second;
            return -1;
        }
        if (request == PPWDATA || request == PPWCONTROL) registers[request] = *byte;
        if (request == PPRDATA) *byte = registers[PPWDATA];
        if (request == PPRCONTROL) *byte = registers[PPWCONTROL];
        if (request == PPRSTATUS) *byte = status;
        return 0;
    }
    int claim(int, int timeoutMs) override {
        calls.push_back({PPCLAIM, timeoutMs});
        if (!claimError) return 0;
        errno = claimError;
        if (--claimFailures == 0) claimError = 0;
        return -1;
    }
    int close(int) override {
        ++closes;
        return 0;
    }
    std::vector<unsigned long> requests() const {
        std::vector<unsigned long> r;
        for (const Call& c : calls) r.push_back(c.request);
        return r;
    }

    std::vector<Call> calls;
    std::map<unsigned long, int> failing;
    std::map<unsigned long, unsigned char> registers;
    unsigned char status = 0x78;
    int openError = 0, claimError = 0, claimFailures = 0, closes = 0;
};

TEST(PpdevPort, ClaimsExclusivelySetsForwardAndMapsTheRegisters) {
    FakePpdev driver;
    PpdevPort port("/dev/parport0", 0x378, driver);
    ASSERT_TRUE(port.load()) << port.lastError();
    EXPECT_EQ(driver.requests(), (std::vector<unsigned long>{PPEXCL, PPCLAIM, PPDATADIR}));
    EXPECT_EQ(driver.calls[1].value, kPpdevClaimTimeoutMs);
    EXPECT_EQ(driver.calls[2].value, 0) << "data lines forward (output)";
    driver.calls.clear();
    port.out(0x378, 0xAA);
    port.out(0x37A, 0x0B);
    port.out(0x379, 0x12);  // status is read-only: no call
    EXPECT_EQ(port.in(0x378), 0xAA);
    EXPECT_EQ(port.in(0x379), 0x78);
    EXPECT_EQ(port.in(0x37A), 0x0B);
    EXPECT_EQ(port.in(0x37B), 0xFF);  // not a register of the port: no call
    EXPECT_EQ(driver.requests(),
              (std::vector<unsigned long>{PPWDATA, PPWCONTROL, PPRDATA, PPRSTATUS, PPRCONTROL}));
    EXPECT_TRUE(port.healthy());
}

TEST(PpdevPort, SharesThePortWhenAnotherDriverHoldsItAndGivesUpOnABusyClaim) {
    FakePpdev shared;
    shared.claimError = EBUSY, shared.claimFailures = 1;  // lp is registered on the port
    PpdevPort port("/dev/parport0", 0x378, shared);
    ASSERT_TRUE(port.load()) << port.lastError();
    EXPECT_EQ(shared.requests(), (std::vector<unsigned long>{PPEXCL, PPCLAIM, PPCLAIM, PPDATADIR}));

    FakePpdev held;
    held.claimError = ETIMEDOUT, held.claimFailures = 5;  // another program holds it
    PpdevPort blocked("/dev/parport0", 0x378, held);
    EXPECT_FALSE(blocked.load());
    EXPECT_EQ(blocked.lastError(), "/dev/parport0: PPCLAIM: the port is held by another program");
    EXPECT_EQ(held.closes, 1);
    EXPECT_EQ(held.requests(), (std::vector<unsigned long>{PPEXCL, PPCLAIM}));
}

TEST(PpdevPort, FailedAccessMakesThePortUnhealthyAndNamesTheCall) {
    FakePpdev driver;
    PpdevPort port("/dev/parport0", 0x378, driver);
    ASSERT_TRUE(port.load());
    EXPECT_EQ(port.in(0x379), 0x78);
    driver.failing[PPRSTATUS] = EIO;
    EXPECT_EQ(port.in(0x379), 0x78) << "the last good value, not 0xFF tripping every input";
    EXPECT_FALSE(port.healthy());
    driver.failing[PPWDATA] = ENODEV;
    port.out(0x378, 1);
    EXPECT_EQ(port.lastError(), "/dev/parport0: PPRSTATUS: Input/output error")
        << "the first failure is kept";

    for (const int error : {EACCES, ENOENT}) {
        FakePpdev refusing;
        refusing.openError = error;
        PpdevPort closed("/dev/parport0", 0x378, refusing);
        EXPECT_FALSE(closed.load());
        EXPECT_EQ(closed.accessDenied(), error == EACCES) << "only a refusal asks for the group";
    }

    FakePpdev noDirection;
    noDirection.failing[PPDATADIR] = EINVAL;
    PpdevPort bidirectionalOnly("/dev/parport0", 0x378, noDirection);
    EXPECT_FALSE(bidirectionalOnly.load());
    EXPECT_EQ(bidirectionalOnly.lastError(), "/dev/parport0: PPDATADIR: Invalid argument");
    EXPECT_EQ(noDirection.requests().back(), static_cast<unsigned long>(PPRELEASE));
}

}  // namespace
}  // namespace korvex
