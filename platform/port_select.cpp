#include "platform/port_select.h"

#include "platform/null_port.h"
#include "platform/ppdev_port.h"
#include "platform/rawio_port.h"

namespace korvex {

namespace {
constexpr const char kPpdevPrefix[] = "ppdev:";
bool IsPpdev(const std::string& spec) {
    return spec.rfind(kPpdevPrefix, 0) == 0 && spec.size() > sizeof kPpdevPrefix - 1;
}
}  // namespace

std::string ChoosePortSpec(const std::string& option, const char* environment,
                           const std::string& fallback) {
    if (!option.empty()) return option;
    if (environment && *environment) return environment;
    return fallback;
}

bool IsPortSpec(const std::string& spec) {
    return spec == "sim" || spec == "none" || spec == "rawio" || spec == "auto" || IsPpdev(spec);
}

std::unique_ptr<PortIo> MakeHardwarePort(const std::string& spec, uint16_t base) {
    if (spec == "none") return std::make_unique<NullPort>();
    if (spec == "rawio") return std::make_unique<RawIoPort>(base);
    if (IsPpdev(spec))
        return std::make_unique<PpdevPort>(spec.substr(sizeof kPpdevPrefix - 1), base);
    return nullptr;
}

}  // namespace korvex
