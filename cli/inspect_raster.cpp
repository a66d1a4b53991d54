// Placeholder until the raster reader lands: refuses every file.
#include <cstdio>

#include "cli/cli_context.h"
#include "cli/inspectors.h"

namespace korvex::cli {

int InspectRaster(CliContext&, const std::string& path) {
    std::fprintf(stderr, "%s: this file type cannot be read yet\n", path.c_str());
    return kExitRefused;
}

}  // namespace korvex::cli
