// `heightmap`: probe the material's surface on a grid and keep the map.

#include <CLI/CLI.hpp>
#include <chrono>
#include <nlohmann/json.hpp>
#include <thread>

#include "cli/cli_context.h"
#include "cli/commands.h"
#include "cli/heightmap_option.h"
#include "cli/progress_bar.h"
#include "motion/executor.h"
#include "motion/grid_probe.h"

namespace korvex::cli {

namespace {

struct HeightmapOptions {
    std::vector<double> area;
    std::string grid;
    double feed = 1, clearance = 2, depth = 2;
    bool run = false, json = false;
    std::string save;
};

// "CxR" into the probe's columns and rows; false when malformed.
bool ParseGrid(const std::string& text, GridProbeSettings& g) {
    char x = 0, extra = 0;
    return std::sscanf(text.c_str(), "%d%c%d%c", &g.columns, &x, &g.rows, &extra) == 3 &&
           (x == 'x' || x == 'X');
}

nlohmann::ordered_json MapJson(const HeightMap& map) {
    nlohmann::ordered_json rows = nlohmann::ordered_json::array();
    for (int r = 0; r < map.rows; ++r) {
        nlohmann::ordered_json row = nlohmann::ordered_json::array();
        for (int c = 0; c < map.columns; ++c) row.push_back(map.at(c, r));
        rows.push_back(row);
    }
    return {{"columns", map.columns},
            {"rows", map.rows},
            {"relativeOrigin", {map.relativeOriginX, map.relativeOriginY}},
            {"origin", {map.originX, map.originY}},
            {"spacing", {map.spacingX, map.spacingY}},
            {"heights", rows}};
}

int RunHeightmap(CliContext& ctx, HeightmapOptions& o) {
    GridProbeSettings g{o.area[0], o.area[1], o.area[2], o.area[3]};
    g.feed = o.feed, g.clearance = o.clearance, g.depth = o.depth;
    if (!ParseGrid(o.grid, g)) {
        std::fprintf(stderr, "--grid %s: expected CxR, e.g. 5x4\n", o.grid.c_str());
        return kExitUsage;
    }
    if (!o.run) {
        if (!o.save.empty()) {
            std::fprintf(stderr, "--save: a map is made only with --run\n");
            return kExitUsage;
        }
        // The plan alone: what a run would probe.
        nlohmann::ordered_json plan = {
            {"columns", g.columns}, {"rows", g.rows}, {"points", g.columns * g.rows + 1}};
        std::printf("%s\n", plan.dump().c_str());
        return kExitOk;
    }
    Machine& m = ctx.machine;
    if (!ctx.openNamedPort()) return kExitRefused;
    MotionRig& rig = ctx.startMotion();
    if (ctx.namedPortFailed()) return kExitRefused;
    GridProbe probe(m);
    if (!probe.start(g)) return kExitRefused;
    ProgressBar bar(stderr);
    auto detail = [&probe] {
        return Format("%d/%d points, %.0f s left", probe.pointsDone(), probe.pointsTotal(),
                      probe.secondsLeft());
    };
    while (probe.running() && !m.executor.executorExited.load()) {
        probe.step();
        bar.update(static_cast<double>(probe.pointsDone()) / probe.pointsTotal(), detail());
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    bar.finish(static_cast<double>(probe.pointsDone()) / probe.pointsTotal(), detail());
    WaitUntilDrained(m);
    if (probe.state() != GridProbe::State::kDone) return kExitRefused;
    if (!o.save.empty()) {
        std::string message;
        if (!SaveHeightMap(o.save, probe.map(), m.settings.language, message)) {
            m.log.line(message, true, true);
            return kExitRefused;
        }
    }
    if (o.json) {
        nlohmann::ordered_json summary = MapJson(probe.map());
        const PerformanceCounter& clock = rig.clock();
        summary["machineSeconds"] = static_cast<double>(clock.now() - rig.startedAt()) /
                                    static_cast<double>(clock.frequency());
        std::printf("%s\n", summary.dump().c_str());
    } else if (o.save.empty()) {
        std::fputs(FormatHeightMap(probe.map()).c_str(), stdout);
    }
    return kExitOk;
}

}  // namespace

void AddHeightmapCommand(CLI::App& app, CliContext& ctx) {
    auto o = std::make_shared<HeightmapOptions>();
    auto* sub = app.add_subcommand("heightmap", "probe the material's surface on a grid");
    sub->add_option("--area", o->area, "X0,Y0,X1,Y1: mm from the relative origin")
        ->delimiter(',')
        ->expected(4)
        ->required();
    sub->add_option("--grid", o->grid, "CxR: columns and rows of points, e.g. 5x4")->required();
    sub->add_option("--feed", o->feed, "probing feed, mm/s (default 1)");
    sub->add_option("--clearance", o->clearance,
                    "mm above the origin's surface between points (default 2)");
    sub->add_option("--depth", o->depth,
                    "mm below the origin's surface a point may lie at most (default 2)");
    sub->add_flag("--run", o->run, "probe on the port backend");
    sub->add_option("--save", o->save, "write the map to FILE (.hmap)");
    sub->add_flag("--json", o->json, "print the map as JSON");
    sub->callback([&ctx, o] { ctx.command = [&ctx, o] { return RunHeightmap(ctx, *o); }; });
}

}  // namespace korvex::cli
