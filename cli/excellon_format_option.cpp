#include "cli/excellon_format_option.h"

#include <CLI/CLI.hpp>

#include "drilling/excellon_number_format.h"

namespace korvex::cli {

void AddNumberFormatOption(CLI::App& command, std::string& format) {
    command
        .add_option("--format", format,
                    "DIGITS (2.4, 2.3, 3.3, ...): the digits before and after the point of "
                    "coordinates written without one; with --kind excellon-full")
        ->check(CLI::Validator(
            [](const std::string& text) -> std::string {
                return ParseExcellonDigits(text) ? "" : "expected digits such as 2.4 or 3.3";
            },
            "DIGITS"));
}

void RequireFullExcellonFor(const std::string& format) {
    if (!format.empty()) throw CLI::ValidationError("--format", "only with --kind excellon-full");
}

}  // namespace korvex::cli
