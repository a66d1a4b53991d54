#include "platform/ppdev_port.h"

#include <fcntl.h>
#include <linux/ppdev.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace korvex {

PpdevPort::~PpdevPort() {
    if (fd_ < 0) return;
    ioctl(fd_, PPRELEASE);
    close(fd_);
}

bool PpdevPort::load() {
    if (fd_ >= 0) return true;
    fd_ = open(device_.c_str(), O_RDWR);
    if (fd_ < 0) {
        error_ = device_ + ": " + std::strerror(errno);
        return false;
    }
    if (ioctl(fd_, PPCLAIM) != 0) {
        error_ = device_ + ": PPCLAIM: " + std::strerror(errno);
        close(fd_);
        fd_ = -1;
        return false;
    }
    return true;
}

uint8_t PpdevPort::in(uint16_t address) {
    unsigned char value = 0xFF;
    if (fd_ < 0) return value;
    switch (address - base_) {
        case 0:
            ioctl(fd_, PPRDATA, &value);
            break;
        case 1:
            ioctl(fd_, PPRSTATUS, &value);
            break;
        case 2:
            ioctl(fd_, PPRCONTROL, &value);
            break;
        default:
            break;
    }
    return value;
}

void PpdevPort::out(uint16_t address, uint8_t value) {
    if (fd_ < 0) return;
    unsigned char v = value;
    switch (address - base_) {
        case 0:
            ioctl(fd_, PPWDATA, &v);
            break;
        case 2:
            ioctl(fd_, PPWCONTROL, &v);
            break;
        default:
            break;
    }
}

}  // namespace korvex
