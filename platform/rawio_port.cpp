#include "platform/rawio_port.h"

#include <cerrno>
#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <sys/io.h>
#define KORVEX_HAS_RAWIO 1
#endif

namespace korvex {

#ifdef KORVEX_HAS_RAWIO

bool RawIoPort::load() {
    if (ioperm(base_, 3, 1) != 0) {
        denied_ = errno == EPERM;
        error_ = std::string("ioperm: ") + std::strerror(errno);
        return false;
    }
    permitted_ = true;
    return true;
}

// Only the three permitted registers: any other address would fault.
uint8_t RawIoPort::in(uint16_t address) {
    if (!permitted_ || static_cast<unsigned>(address - base_) > 2u) return 0xFF;
    return inb(address);
}

void RawIoPort::out(uint16_t address, uint8_t value) {
    if (permitted_ && static_cast<unsigned>(address - base_) <= 2u) outb(value, address);
}

#else

bool RawIoPort::load() {
    error_ = "raw port access needs an x86 processor";
    return false;
}
uint8_t RawIoPort::in(uint16_t) {
    return 0xFF;
}
void RawIoPort::out(uint16_t, uint8_t) {}

#endif

}  // namespace korvex
