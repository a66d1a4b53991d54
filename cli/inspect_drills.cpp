#include <charconv>
#include <cmath>
#include <cstdio>
#include <nlohmann/json.hpp>

#include "cli/cli_context.h"
#include "cli/inspectors.h"
#include "drilling/drill_readers.h"
#include "drilling/excellon_full.h"

namespace korvex::cli {

namespace {
// The diameter as the file wrote it (0.8001, not the float's 0.800100028...).
double ShortestDecimal(float value) {
    char text[32];
    auto end = std::to_chars(text, text + sizeof text, value).ptr;
    double shortest = value;
    std::from_chars(text, end, shortest);
    return shortest;
}
}  // namespace

int InspectDrills(CliContext& ctx, const std::string& path, const std::string& kind) {
    DrillSet set;
    const bool full = kind == "excellon-full";
    ExcellonFullReport report;
    const DrillFormat& format = kind == "simple" ? kSimpleDrillFormat : kExcellonFormat;
    if (!(full ? LoadExcellonFullFile(ctx.machine, set, path, &report)
               : LoadDrillFile(ctx.machine, set, path, format)))
        return kExitRefused;
    nlohmann::ordered_json tools = nlohmann::ordered_json::array();
    for (int t = 0; t < set.toolCount; ++t)
        tools.push_back({{"diameter", ShortestDecimal(set.tools[t].diameter)},
                         {"holes", set.tools[t].holeCount}});
    nlohmann::ordered_json summary = {{"type", kind},
                                      {"tools", tools},
                                      {"holes", set.holeCount},
                                      {"fieldWidth", set.fieldWidth},
                                      {"fieldHeight", set.fieldHeight}};
    if (full) {
        summary["slots"] = report.slots;
        summary["unknownWords"] = report.unknownWords;
        summary["travelFileOrder"] = std::round(report.travel.fileOrderMm * 100) / 100;
        summary["travelOrdered"] = std::round(report.travel.orderedMm * 100) / 100;
    }
    std::printf("%s\n", summary.dump().c_str());
    return kExitOk;
}

}  // namespace korvex::cli
