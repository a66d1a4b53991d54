#include "platform/port_select.h"

#include "platform/null_port.h"
#include "platform/ppdev_port.h"
#include "platform/rawio_port.h"

namespace korvex {

namespace {
constexpr const char kPpdevPrefix[] = "ppdev:";
bool IsPpdev(const std::string& backend) {
    return backend.rfind(kPpdevPrefix, 0) == 0 && backend.size() > sizeof kPpdevPrefix - 1;
}
}  // namespace

std::string ChoosePortSpec(const std::string& option, const char* environment,
                           const std::string& fallback) {
    if (!option.empty()) return option;
    if (environment && *environment) return environment;
    return fallback;
}

bool IsPortBackend(const std::string& backend) {
    return backend == "sim" || backend == "none" || backend == "rawio" || backend == "auto" ||
           IsPpdev(backend);
}

std::unique_ptr<PortIo> MakeHardwarePort(const std::string& backend, uint16_t base) {
    if (backend == "none") return std::make_unique<NullPort>();
    if (backend == "rawio") return std::make_unique<RawIoPort>(base);
    if (IsPpdev(backend))
        return std::make_unique<PpdevPort>(backend.substr(sizeof kPpdevPrefix - 1), base);
    return nullptr;
}

}  // namespace korvex
