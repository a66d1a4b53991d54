#include <CLI/CLI.hpp>
#include <sstream>

#include "cli/cli_context.h"
#include "cli/commands.h"
#include "motion/executor.h"

namespace korvex::cli {

namespace {

// "dx,dy,dz,periodUs,accelerated[,checkSwitches]"
bool ParseMove(const std::string& text, MotionCommand& move) {
    std::vector<int> v;
    std::stringstream in(text);
    for (std::string field; std::getline(in, field, ',');) {
        try {
            size_t used = 0;
            v.push_back(std::stoi(field, &used));
            if (used != field.size()) return false;
        } catch (const std::exception&) {
            return false;
        }
    }
    if (v.size() != 5 && v.size() != 6) return false;
    move = {v[0], v[1], v[2], v[3], v[4], 0, 0, v.size() == 6 ? v[5] : 0, 0, 0};
    return true;
}

int Trace(CliContext& ctx, const std::vector<std::string>& texts) {
    std::vector<MotionCommand> moves(texts.size());
    for (size_t i = 0; i < texts.size(); ++i) {
        if (!ParseMove(texts[i], moves[i])) {
            std::fprintf(stderr,
                         "--move %s: expected dx,dy,dz,periodUs,accelerated[,checkSwitches]\n",
                         texts[i].c_str());
            return kExitUsage;
        }
    }
    Machine& m = ctx.machine;
    ctx.options.port = "sim";
    ctx.options.clock = "virtual";
    MotionRig& rig = ctx.startMotion();
    rig.executor().setTickObserver(
        [](const Tick& t) { std::printf("%d %d %d %d\n", t.stepX, t.stepY, t.stepZ, t.periodUs); });
    for (const MotionCommand& c : moves)
        AppendCommand(m, c.dx, c.dy, c.dz, c.periodUs, c.accelerated, 0, c.checkSwitches, 0, 0);
    WaitUntilDrained(m);
    std::printf("final %d %d %d\n", m.position.absX.load(), m.position.absY.load(),
                m.position.absZ.load());
    return kExitOk;
}

}  // namespace

void AddTraceCommand(CLI::App& app, CliContext& ctx) {
    auto moves = std::make_shared<std::vector<std::string>>();
    auto* sub = app.add_subcommand(
        "trace", "run moves on the simulated machine and print every tick: sx sy sz periodUs");
    sub->add_option("--move", *moves, "dx,dy,dz,periodUs,accelerated[,checkSwitches]")
        ->required()
        ->allow_extra_args(false);
    sub->callback([&ctx, moves] { ctx.command = [&ctx, moves] { return Trace(ctx, *moves); }; });
}

}  // namespace korvex::cli
