#pragma once
// Choosing the port backend: --port, else KORVEX_PORT, else the front end's
// default ("auto": ppdev:/dev/parport0 when it opens, else the simulated
// machine).

#include <memory>
#include <string>

#include "platform/port_io.h"

namespace korvex {

inline constexpr const char* kDefaultPpdevDevice = "/dev/parport0";

// The backend in force: `option` when given, else `environment` (may be null),
// else `fallback`.
std::string ChoosePortSpec(const std::string& option, const char* environment,
                           const std::string& fallback);

// True for "sim", "none", "rawio", "auto" and "ppdev:DEV".
bool IsPortBackend(const std::string& backend);

// The hardware and "none" backends; null for "sim" and "auto" (the motion
// layer builds those) and for an unknown backend.
std::unique_ptr<PortIo> MakeHardwarePort(const std::string& backend, uint16_t base);

}  // namespace korvex
