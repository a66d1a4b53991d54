// `gcode`: a G-code program from any CAM through the import dialog's logic.

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include "cli/cli_context.h"
#include "cli/commands.h"
#include "cli/heightmap_option.h"
#include "cli/job_output.h"
#include "gcode/gcode_import.h"
#include "motion/rounding.h"

namespace korvex::cli {

namespace {

struct GcodeOptions {
    std::string file;
    std::vector<double> origin;  // X,Y,Z mm of the machine; empty: where the tool stands
    std::string heightmap;
    JobOutput output;
};

int RunGcode(CliContext& ctx, GcodeOptions& o) {
    Machine& m = ctx.machine;
    const MachineSettings& s = m.settings;
    MachinePosition& at = m.position;
    if (o.origin.empty()) {
        at.relOriginX = at.plannedX.load();
        at.relOriginY = at.plannedY.load();
        at.relOriginZ = at.plannedZ.load();
    } else {
        at.relOriginX = MmToSteps(o.origin[0], s.mmPerStepX);
        at.relOriginY = MmToSteps(o.origin[1], s.mmPerStepY);
        at.relOriginZ = MmToSteps(o.origin[2], s.mmPerStepZ);
    }
    at.relOriginSet = 1;
    if (!UseHeightmap(ctx, o.heightmap) || !o.output.begin(ctx)) return kExitRefused;
    GcodeImport gcode(m);
    if (!gcode.load(o.file)) return kExitRefused;
    std::fprintf(stderr, "%s\n", gcode.summary().c_str());
    if (!gcode.start()) return kExitRefused;
    // What the buffer did not take is fed as the machine drains it, or
    // written out at once when nothing runs.
    JobOutput& out = o.output;
    out.unqueued = {gcode.movesUnqueued(), gcode.secondsUnqueued()};
    if (out.run) {
        out.feed = [&gcode] {
            gcode.feed();
            return JobOutput::Unqueued{gcode.movesUnqueued(), gcode.secondsUnqueued()};
        };
    } else {
        gcode.takeUnqueued([&out](const MotionCommand& c) { out.emitCommand(c); });
    }
    out.jobFields = [&gcode](nlohmann::ordered_json& summary) {
        summary["stoppedSpindleFeed"] = gcode.program().stoppedSpindleFeed;
    };
    return out.finish(ctx);
}

}  // namespace

void AddGcodeCommand(CLI::App& app, CliContext& ctx) {
    auto o = std::make_shared<GcodeOptions>();
    auto* sub = app.add_subcommand("gcode", "run a G-code program through the import dialog");
    sub->add_option("FILE", o->file, "the G-code program")->required();
    sub->add_option("--origin", o->origin,
                    "X,Y,Z: the machine position in mm of the program's origin (Z 0 the "
                    "material surface); default where the tool stands")
        ->delimiter(',')
        ->expected(3);
    AddHeightmapOption(*sub, o->heightmap);
    o->output.addOptions(*sub);
    sub->callback([&ctx, o] { ctx.command = [&ctx, o] { return RunGcode(ctx, *o); }; });
}

}  // namespace korvex::cli
