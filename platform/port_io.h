#pragma once
// Raw access to the three LPT registers: data at the base address, status at
// base + 1, control at base + 2.
//
// Backends: "ppdev:/dev/parportN" (the Linux parport driver), "rawio"
// (ioperm + inb/outb, x86, root), "sim" (the built-in simulated machine) and
// "none" (no port library: the program runs without port output).

#include <cstdint>
#include <string>

namespace korvex {

class PortIo {
  public:
    virtual ~PortIo() = default;
    // Opens the backend; false when it cannot be used (see lastError()).
    virtual bool load() = 0;
    virtual uint8_t in(uint16_t address) = 0;
    virtual void out(uint16_t address, uint8_t value) = 0;
    // "ppdev:/dev/parport0", "rawio", "sim" or "none".
    virtual std::string name() const = 0;
    // The system's text for the last failure of load() or of an access.
    virtual std::string lastError() const { return {}; }
    // load() failed because the system denied this user the access (not
    // because the port is missing or busy).
    virtual bool accessDenied() const { return false; }
    // False once an access failed (lastError() names it): the port can no
    // longer be trusted with steps. Any thread.
    virtual bool healthy() const { return true; }
};

}  // namespace korvex
