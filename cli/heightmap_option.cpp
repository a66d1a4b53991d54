#include "cli/heightmap_option.h"

#include <CLI/CLI.hpp>

#include "motion/height_map.h"

namespace korvex::cli {

void AddHeightmapOption(CLI::App& command, std::string& path) {
    command.add_option("--heightmap", path,
                       "follow the surface probed into FILE (.hmap, korvex-cli heightmap)");
}

bool UseHeightmap(CliContext& ctx, const std::string& path) {
    if (path.empty()) return true;
    Machine& m = ctx.machine;
    auto map = std::make_shared<HeightMap>();
    std::string message;
    if (!LoadHeightMap(path, *map, m.settings.language, message)) {
        m.log.line(message, true, true);
        return false;
    }
    m.surfaceMap = std::move(map);
    return true;
}

}  // namespace korvex::cli
