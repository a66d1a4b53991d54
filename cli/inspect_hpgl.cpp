#include <cstdio>
#include <nlohmann/json.hpp>

#include "cli/cli_context.h"
#include "cli/hpgl_kind.h"
#include "cli/inspectors.h"
#include "vector/hpgl_reader.h"
#include "vector/model_geometry.h"

namespace korvex::cli {

int InspectHpgl(CliContext& ctx, const std::string& path, const std::string& kind) {
    const int32_t code = HpglKindOfName(kind.empty() ? "corel" : kind);
    if (code == 0) {
        std::fprintf(stderr, "--kind %s: expected corel, artcam, sprint or generic\n",
                     kind.c_str());
        return kExitUsage;
    }
    Machine& m = ctx.machine;
    VectorModel model;
    LoadVectorFile(model, path, code, m.settings, m.log, ctx.host);

    nlohmann::ordered_json pens = nlohmann::ordered_json::array(),
                           penObjects = nlohmann::ordered_json::array();
    for (int i = 0; i < model.penCount; ++i) {
        pens.push_back(model.pens[i].pen);
        penObjects.push_back(model.pens[i].objectCount());
    }
    const nlohmann::ordered_json result = {{"type", "hpgl"},
                                           {"loaded", model.loaded == 1},
                                           {"objects", model.objectCount()},
                                           {"points", MeasureExtent(model).points},
                                           {"pens", pens},
                                           {"penObjects", penObjects},
                                           {"width", model.width},
                                           {"height", model.height}};
    std::printf("%s\n", result.dump().c_str());
    return model.loaded ? kExitOk : kExitRefused;
}

}  // namespace korvex::cli
