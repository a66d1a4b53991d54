#include "platform/ppdev_port.h"

#include <fcntl.h>
#include <linux/ppdev.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace korvex {

namespace {

class RealPpdev final : public PpdevSystem {
  public:
    int open(const char* path, int flags) override { return ::open(path, flags); }
    int ioctl(int fd, unsigned long request, void* argument) override {
        return ::ioctl(fd, request, argument);
    }
    int close(int fd) override { return ::close(fd); }

    // PPCLAIM sleeps interruptibly while another program holds the port: a
    // timer signal aimed at this thread alone ends the wait.
    int claim(int fd, int timeoutMs) override {
        struct sigaction wake {
        }, previous{};
        wake.sa_handler = [](int) {};
        sigemptyset(&wake.sa_mask);  // no SA_RESTART: the ioctl returns EINTR
        sigaction(SIGALRM, &wake, &previous);
        sigevent event{};
        event.sigev_notify = SIGEV_THREAD_ID;
        event.sigev_signo = SIGALRM;
        event._sigev_un._tid = gettid();
        timer_t timer{};
        const bool timed = timer_create(CLOCK_MONOTONIC, &event, &timer) == 0;
        if (timed) {
            itimerspec after{};
            after.it_value = {timeoutMs / 1000, (timeoutMs % 1000) * 1'000'000L};
            timer_settime(timer, 0, &after, nullptr);
        }
        const int result = ::ioctl(fd, PPCLAIM);
        int error = errno;
        if (timed) timer_delete(timer);
        sigaction(SIGALRM, &previous, nullptr);
        if (result != 0 && error == EINTR) error = ETIMEDOUT;
        errno = error;
        return result;
    }
};

}  // namespace

PpdevSystem& SystemPpdev() {
    static RealPpdev system;
    return system;
}

PpdevPort::~PpdevPort() {
    closeDevice();
}

void PpdevPort::closeDevice() {
    if (fd_ < 0) return;
    if (claimed_) system_.ioctl(fd_, PPRELEASE, nullptr);
    system_.close(fd_);
    fd_ = -1;
    claimed_ = false;
}

bool PpdevPort::openAndClaim(bool exclusive) {
    fd_ = system_.open(device_.c_str(), O_RDWR | O_CLOEXEC);
    if (fd_ < 0) {
        accessDenied_ = errno == EACCES || errno == EPERM;
        fail("open", errno);
        return false;
    }
    if (exclusive && system_.ioctl(fd_, PPEXCL, nullptr) != 0) {
        closeDevice();
        return false;
    }
    if (system_.claim(fd_, kPpdevClaimTimeoutMs) != 0) {
        const int error = errno;
        closeDevice();
        if (error == ETIMEDOUT)
            fail("PPCLAIM: the port is held by another program", 0);
        else if (!exclusive || error != EBUSY)
            fail("PPCLAIM", error);
        return false;
    }
    claimed_ = true;
    return true;
}

bool PpdevPort::load() {
    if (fd_ >= 0) return healthy();
    healthy_.store(true);
    error_.clear();
    // Exclusive where no other driver shares the port; shared otherwise.
    if (!openAndClaim(true) && (!error_.empty() || !openAndClaim(false))) return false;
    int forward = 0;
    if (system_.ioctl(fd_, PPDATADIR, &forward) != 0) {
        fail("PPDATADIR", errno);
        closeDevice();
        return false;
    }
    return true;
}

void PpdevPort::fail(const char* call, int error) {
    std::lock_guard lock(errorMutex_);
    if (healthy_.exchange(false) || error_.empty()) {
        error_ = device_ + ": " + call;
        if (error) error_ += std::string(": ") + std::strerror(error);
    }
}

std::string PpdevPort::lastError() const {
    std::lock_guard lock(errorMutex_);
    return error_;
}

uint8_t PpdevPort::in(uint16_t address) {
    static constexpr unsigned long kRead[3] = {PPRDATA, PPRSTATUS, PPRCONTROL};
    static constexpr const char* kName[3] = {"PPRDATA", "PPRSTATUS", "PPRCONTROL"};
    const unsigned offset = static_cast<unsigned>(address - base_);
    if (fd_ < 0 || offset > 2) return 0xFF;
    unsigned char value = 0;
    if (system_.ioctl(fd_, kRead[offset], &value) != 0) [[unlikely]] {
        fail(kName[offset], errno);
        return lastRead_[offset].load(std::memory_order_relaxed);
    }
    lastRead_[offset].store(value, std::memory_order_relaxed);
    return value;
}

void PpdevPort::out(uint16_t address, uint8_t value) {
    const unsigned offset = static_cast<unsigned>(address - base_);
    if (fd_ < 0 || (offset != 0 && offset != 2)) return;
    unsigned char v = value;
    if (system_.ioctl(fd_, offset == 0 ? PPWDATA : PPWCONTROL, &v) != 0) [[unlikely]]
        fail(offset == 0 ? "PPWDATA" : "PPWCONTROL", errno);
}

}  // namespace korvex
