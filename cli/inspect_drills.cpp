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

int InspectDrills(CliContext& ctx, const std::string& path, const std::string& kind,
                  const std::string& format) {
    DrillSet set;
    const bool full = kind == "excellon-full";
    ExcellonFullReport report;
    const DrillFormat& reader = kind == "simple" ? kSimpleDrillFormat : kExcellonFormat;
    const ExcellonDigits digits = ParseExcellonDigits(format).value_or(ExcellonDigits{});
    if (!(full ? LoadExcellonFullFile(ctx.machine, set, path, &report, digits)
               : LoadDrillFile(ctx.machine, set, path, reader)))
        return kExitRefused;
    nlohmann::ordered_json tools = nlohmann::ordered_json::array();
    for (int t = 0; t < set.toolCount; ++t)
        tools.push_back({{"diameter", ShortestDecimal(set.tools[t].diameter)},
                         {"holes", set.tools[t].holeCount}});
    // The full reader reads the same format: the type stays "excellon".
    nlohmann::ordered_json summary = {{"type", full ? "excellon" : kind},
                                      {"tools", tools},
                                      {"holes", set.holeCount},
                                      {"fieldWidth", set.fieldWidth},
                                      {"fieldHeight", set.fieldHeight}};
    if (full) {
        summary["reader"] = "full";
        summary["slots"] = report.slots;
        summary["unknownWords"] = report.unknownWords;
        summary["travelFileOrder"] = std::round(report.travel.fileOrderMm * 100) / 100;
        summary["travelOrdered"] = std::round(report.travel.orderedMm * 100) / 100;
    }
    std::printf("%s\n", summary.dump().c_str());
    return kExitOk;
}

}  // namespace korvex::cli
