#pragma once
// The machine's connection to its port backend.

#include <atomic>
#include <cstdint>

#include "platform/port_io.h"

namespace korvex {

struct PortLink {
    // Not owned; null until a backend is attached (LoadPortLibrary).
    PortIo* io = nullptr;
    // What the control register holds. Both threads change it through
    // SetControlOutputs, which serialises their read-modify-writes on this
    // value without a lock.
    std::atomic<uint8_t> control{0x0B};
    // Set once a failing backend has been reported.
    std::atomic<bool> faultReported{false};
};

}  // namespace korvex
