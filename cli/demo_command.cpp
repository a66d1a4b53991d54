#include <CLI/CLI.hpp>

#include "cli/cli_context.h"
#include "cli/commands.h"
#include "cli/job_output.h"
#include "motion/rounding.h"

namespace korvex::cli {

// A small square at the travel speed: the first thing to try on a new setup.
void AddDemoCommand(CLI::App& app, CliContext& ctx) {
    auto* sub = app.add_subcommand("demo", "queue a 10 mm square and print the summary");
    auto output = std::make_shared<JobOutput>();
    output->addOptions(*sub);
    sub->callback([&ctx, output] {
        ctx.command = [&ctx, output]() -> int {
            Machine& m = ctx.machine;
            const MachineSettings& s = m.settings;
            if (!output->begin(ctx)) return int{kExitRefused};
            const int x = MmToSteps(10, s.mmPerStepX), y = MmToSteps(10, s.mmPerStepY);
            const int px = PeriodUs(s.moveSpeedX, s.mmPerStepX);
            const int py = PeriodUs(s.moveSpeedY, s.mmPerStepY);
            AppendCommand(m, x, 0, 0, px, 0, 0, 0, 0, 0);
            AppendCommand(m, 0, y, 0, py, 0, 0, 0, 0, 0);
            AppendCommand(m, -x, 0, 0, px, 0, 0, 0, 0, 0);
            AppendCommand(m, 0, -y, 0, py, 0, 0, 0, 0, 0);
            output->json = true;
            return output->finish(ctx);
        };
    });
}

}  // namespace korvex::cli
