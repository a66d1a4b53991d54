#pragma once
// `--format 2.4`: the digits before and after the point of Excellon numbers
// written without one, which the full Excellon reader takes instead of the
// file's or its default ones. `drill` and `inspect` share it.

#include <string>

namespace CLI {
class App;
}

namespace korvex::cli {

// Adds `--format DIGITS` to `command`, checked as "a.b" or "a:b".
void AddNumberFormatOption(CLI::App& command, std::string& format);

// Throws CLI's validation error when `format` was given: only the full
// Excellon reader takes it.
void RequireFullExcellonFor(const std::string& format);

}  // namespace korvex::cli
