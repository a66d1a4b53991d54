#include <CLI/CLI.hpp>

#include "cli/cli_context.h"
#include "cli/commands.h"
#include "cli/job_output.h"
#include "motion/homing.h"
#include "motion/probing.h"
#include "motion/rounding.h"

namespace korvex::cli {

namespace {

// The first thing to try on a new setup: zero every axis on its switch,
// cut a 10 mm square 1 cutting depth deep at the cutting feed, and measure
// the tool on the probe.
void QueueDemo(CliContext& ctx) {
    Machine& m = ctx.machine;
    const MachineSettings& s = m.settings;
    HomeAllAxes(m);
    const int corner = MmToSteps(20, s.mmPerStepX);
    const int side = MmToSteps(10, s.mmPerStepX);
    const int lower = MmToSteps(30, s.mmPerStepZ), cut = MmToSteps(s.cutDepth, s.mmPerStepZ);
    const int travel = PeriodUs(s.moveSpeedX, s.mmPerStepX);
    const int feed = PeriodUs(s.cuttingSpeed, s.mmPerStepX);
    AppendCommand(m, corner, MmToSteps(20, s.mmPerStepY), 0, travel, 1, 0, 0, 0, 0);
    AppendCommand(m, 0, 0, lower, PeriodUs(s.moveSpeedZ, s.mmPerStepZ), 1, 0, 0, 0, 0);
    AppendCommand(m, 0, 0, cut, PeriodUs(s.plungeSpeed, s.mmPerStepZ), 0, 1, 0, 1, 0);
    AppendCommand(m, side, 0, 0, feed, 0, 0, 0, 1, 0);
    AppendCommand(m, 0, side, 0, feed, 0, 0, 0, 1, 0);
    AppendCommand(m, -side, 0, 0, feed, 0, 0, 0, 1, 0);
    AppendCommand(m, 0, -side, 0, feed, 0, 0, 0, 1, 0);
    AppendCommand(m, 0, 0, -(lower + cut), PeriodUs(s.moveSpeedZ, s.mmPerStepZ), 1, 0, 0, 0, 0);
    ProbeToolLength(m, ctx.host);
}

}  // namespace

void AddDemoCommand(CLI::App& app, CliContext& ctx) {
    auto* sub = app.add_subcommand(
        "demo", "home all axes, cut a 10 mm square and probe the tool; print the summary");
    auto output = std::make_shared<JobOutput>();
    output->addOptions(*sub);
    sub->callback([&ctx, output] {
        ctx.command = [&ctx, output]() -> int {
            if (!output->begin(ctx)) return int{kExitRefused};
            QueueDemo(ctx);
            output->json = true;
            return output->finish(ctx);
        };
    });
}

}  // namespace korvex::cli
