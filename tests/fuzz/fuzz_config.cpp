// config.dat: any bytes must load without crash or overrun, and what loads
// must save and load back to the same record.

#include <cstdint>
#include <string>

#include "settings/config_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    korvex::MachineSettings s;
    korvex::ParseSettingsText(s, std::string(reinterpret_cast<const char*>(data), size));
    if (s.setupName.size() > korvex::kMaxSettingsString) __builtin_trap();
    // Names with spaces or empty names cannot survive a save by design.
    if (s.setupName.find_first_of(" \t\r\n\v\f") == std::string::npos && !s.setupName.empty() &&
        s.setupVersion.find_first_of(" \t\r\n\v\f") == std::string::npos &&
        !s.setupVersion.empty()) {
        korvex::MachineSettings back;
        korvex::ParseSettingsText(back, korvex::SettingsFileText(s));
        if (korvex::SettingsFileText(back) != korvex::SettingsFileText(s)) __builtin_trap();
    }
    return 0;
}
