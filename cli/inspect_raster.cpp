#include <cstdio>
#include <nlohmann/json.hpp>

#include "cli/cli_context.h"
#include "cli/inspectors.h"
#include "machining/raster_image.h"

namespace korvex::cli {

int InspectRaster(CliContext& ctx, const std::string& path) {
    RasterImage image;
    LoadRasterImage(image, path, ctx.host, ctx.machine.log);
    // In the documented key order.
    const nlohmann::ordered_json result = {{"type", "raster"},
                                           {"loaded", image.loaded == 1},
                                           {"width", image.width},
                                           {"height", image.height},
                                           {"levelCount", image.levelCount}};
    std::printf("%s\n", result.dump().c_str());
    return image.loaded ? kExitOk : kExitRefused;
}

}  // namespace korvex::cli
