#pragma once
// --heightmap FILE on the jobs that follow the surface (cut, gcode).

#include <string>

#include "cli/cli_context.h"

namespace CLI {
class App;
}

namespace korvex::cli {

void AddHeightmapOption(CLI::App& command, std::string& path);
// Loads the map and makes it the one jobs follow; false, after the message,
// when it cannot be loaded. Nothing to do without a path.
bool UseHeightmap(CliContext& ctx, const std::string& path);

}  // namespace korvex::cli
