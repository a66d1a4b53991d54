#include <CLI/CLI.hpp>

#include "cli/cli_context.h"
#include "cli/commands.h"
#include "motion/acceleration.h"

namespace korvex::cli {

void AddAccelCommand(CLI::App& app, CliContext& ctx) {
    auto* sub = app.add_subcommand("accel", "build the acceleration tables and print them");
    sub->callback([&ctx] {
        ctx.command = [&ctx]() -> int {
            Machine& m = ctx.machine;
            if (!BuildAccelerationTables(m)) return kExitRefused;
            for (int axis = 0; axis < 3; ++axis) {
                const AccelerationTable& t = m.accel.axis[axis];
                std::printf("%c K=%d ramp=%s", "XYZ"[axis], t.rampConstant,
                            t.constantAcceleration ? "constant" : "linear");
                for (int32_t period : t.periodsUs) std::printf(" %d", period);
                std::printf("\n");
            }
            for (int axis = 0; axis < 3; ++axis)
                std::printf("%s\n", RateLine(axis, m.accel.axis[axis]).c_str());
            return kExitOk;
        };
    });
}

}  // namespace korvex::cli
