#include <CLI/CLI.hpp>

#include "cli/cli_context.h"
#include "cli/commands.h"
#include "cli/dialog_typing.h"
#include "cli/job_output.h"
#include "machining/separation_dialog.h"

namespace korvex::cli {

namespace {

struct SeparateOptions {
    std::pair<double, double> size;  // rectangle
    double diameter = 0;             // circle
    double depth = 0, cut = 0, feed = 0;
    JobOutput output;
};

int RunSeparate(CliContext& ctx, SeparateOptions& o, SeparationShape shape) {
    Machine& m = ctx.machine;
    if (!o.output.begin(ctx)) return kExitRefused;
    JobValues values = StartJobValues(m.settings);
    RecordingView view;
    SeparationDialog dialog(m, values, view);
    dialog.onInit();
    dialog.onCommand(shape == SeparationShape::Circle ? kSeparationCircle : kSeparationRectangle);
    TypeNumber(view, dialog, kSeparationSizeX,
               shape == SeparationShape::Circle ? o.diameter : o.size.first);
    if (shape == SeparationShape::Rectangle)
        TypeNumber(view, dialog, kSeparationSizeY, o.size.second);
    TypeNumber(view, dialog, kSeparationDepth, o.depth);
    TypeNumber(view, dialog, kSeparationCut, o.cut);
    TypeNumber(view, dialog, kSeparationFeed, o.feed);
    dialog.onCommand(kSeparationOk);
    if (!view.ended || view.endResult != kResultOk) return kExitRefused;
    return o.output.finish(ctx);
}

// The options both shapes share.
void AddJobOptions(CLI::App& shape, SeparateOptions& o) {
    shape.add_option("--depth", o.depth, "depth to cut through, mm")->required();
    shape.add_option("--cut", o.cut, "depth of one pass, mm")->required();
    shape.add_option("--feed", o.feed, "cutting feed, mm/s")->required();
    o.output.addOptions(shape);
}

}  // namespace

void AddSeparateCommand(CLI::App& app, CliContext& ctx) {
    auto o = std::make_shared<SeparateOptions>();
    auto* sub = app.add_subcommand("separate", "cut a rectangle or a circle out of the material");
    sub->require_subcommand(1);

    auto* rect = sub->add_subcommand("rect", "a rectangle from the start corner");
    rect->add_option("--size", o->size, "X,Y in mm")->delimiter(',')->required();
    AddJobOptions(*rect, *o);
    rect->callback([&ctx, o] {
        ctx.command = [&ctx, o] { return RunSeparate(ctx, *o, SeparationShape::Rectangle); };
    });

    auto* circle = sub->add_subcommand("circle", "a circle touching the start corner's axes");
    circle->add_option("--diameter", o->diameter, "diameter, mm")->required();
    AddJobOptions(*circle, *o);
    circle->callback([&ctx, o] {
        ctx.command = [&ctx, o] { return RunSeparate(ctx, *o, SeparationShape::Circle); };
    });
}

}  // namespace korvex::cli
