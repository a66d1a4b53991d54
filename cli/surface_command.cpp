#include <CLI/CLI.hpp>
#include <map>

#include "cli/cli_context.h"
#include "cli/commands.h"
#include "cli/dialog_typing.h"
#include "cli/job_output.h"
#include "machining/surface_dialog.h"
#include "motion/job_frame.h"

namespace korvex::cli {

namespace {

struct SurfaceOptions {
    std::pair<double, double> size;
    double depth = 0, cut = 0, pitch = 0, feed = 0;
    std::string style;
    JobOutput output;
};

const std::map<std::string, int> kStylePictures{
    {"x", kSurfaceStartX}, {"y", kSurfaceStartY}, {"spiral", kSurfaceStartSpiral}};

int RunSurface(CliContext& ctx, SurfaceOptions& o) {
    Machine& m = ctx.machine;
    if (!o.output.begin(ctx)) return kExitRefused;
    // The job starts where the tool stands, over the material.
    SetOriginOverMaterial(m);

    JobValues values = StartJobValues(m.settings);
    RecordingView view;
    SurfaceMillingDialog dialog(m, values, view);
    dialog.onInit();
    TypeNumber(view, dialog, kSurfaceSizeX, o.size.first);
    TypeNumber(view, dialog, kSurfaceSizeY, o.size.second);
    TypeNumber(view, dialog, kSurfaceDepth, o.depth);
    TypeNumber(view, dialog, kSurfaceCut, o.cut);
    TypeNumber(view, dialog, kSurfacePitch, o.pitch);
    TypeNumber(view, dialog, kSurfaceFeed, o.feed);
    dialog.onCommand(kStylePictures.at(o.style));
    if (!dialog.lastStart()) return kExitRefused;
    return o.output.finish(ctx);
}

}  // namespace

void AddSurfaceCommand(CLI::App& app, CliContext& ctx) {
    auto o = std::make_shared<SurfaceOptions>();
    auto* sub = app.add_subcommand("surface", "mill a rectangle of the material flat");
    sub->add_option("--size", o->size, "X,Y in mm from the start corner")
        ->delimiter(',')
        ->required();
    sub->add_option("--depth", o->depth, "depth below the surface, mm")->required();
    sub->add_option("--cut", o->cut, "depth of one pass, mm")->required();
    sub->add_option("--pitch", o->pitch, "step-over between strokes or laps, mm")->required();
    sub->add_option("--feed", o->feed, "cutting feed, mm/s")->required();
    sub->add_option("--style", o->style, "strokes along x, along y, or a spiral")
        ->check(CLI::IsMember({"x", "y", "spiral"}))
        ->required();
    o->output.addOptions(*sub);
    sub->callback([&ctx, o] { ctx.command = [&ctx, o] { return RunSurface(ctx, *o); }; });
}

}  // namespace korvex::cli
