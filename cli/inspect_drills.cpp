// Placeholder until the drills reader lands: refuses every file.
#include <cstdio>

#include "cli/cli_context.h"
#include "cli/inspectors.h"

namespace korvex::cli {

int InspectDrills(CliContext&, const std::string& path, const std::string&) {
    std::fprintf(stderr, "%s: this file type cannot be read yet\n", path.c_str());
    return kExitRefused;
}

}  // namespace korvex::cli
