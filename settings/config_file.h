#pragma once
// config.dat: the settings as 68 lines of text, one value per line, no keys.
//
// Reals are written with six decimals, the two addresses as upper-case hex
// digits without prefix, always with '.' whatever the process locale. A value
// that is missing or not a number leaves its field at the factory default,
// and so does every later numeric field (the scan stops at that word).

#include <string>
#include <vector>

#include "settings/machine_settings.h"

namespace korvex {

class EventLog;

inline constexpr const char* kConfigFileName = "config.dat";

// Loads `name` (inside `moduleDir` when `inProgramDir` is non-zero, else
// `name` is the whole path). Starts from factory defaults. 1 on success, 0
// when the file cannot be opened or read (reported with a box).
int LoadSettings(MachineSettings& s, EventLog& log, const std::string& name, int inProgramDir,
                 const std::string& moduleDir);

// Saves with the same path rule. The file is replaced atomically: a failed
// write leaves the previous file whole. 1 on success, 0 on failure.
int SaveSettings(const MachineSettings& s, EventLog& log, const std::string& name, int inProgramDir,
                 const std::string& moduleDir);

// A folder's first start: writes the factory settings as its config.dat when
// it has none (nothing at that name, not even a dangling link), so a new
// user is not greeted by a load error. 1 when written.
int SeedConfigFile(EventLog& log, const std::string& dir);

// The 68 lines exactly as written to config.dat.
std::string SettingsFileText(const MachineSettings& s);

// Reads the text of a config.dat into `s` (after factory defaults).
void ParseSettingsText(MachineSettings& s, const std::string& text);

// "field=value" for every field, in record order; values as in the file.
std::vector<std::string> SettingsFieldLines(const MachineSettings& s);

}  // namespace korvex
