#include "cli/job_output.h"

#include <CLI/CLI.hpp>
#include <cerrno>
#include <cstring>
#include <nlohmann/json.hpp>

#include "ui/text.h"

namespace korvex::cli {

std::string EmitLine(const MotionCommand& c) {
    return Format("%d,%d,%d,%d,%d,%d,%d,%d,%d", c.dx, c.dy, c.dz, c.periodUs, c.accelerated,
                  c.dwellAfter, c.checkSwitches, c.spindleOn, c.stopAfter);
}

void JobOutput::addOptions(CLI::App& command) {
    command.add_option("--emit", emitPath, "write every appended command as a CSV line (- for stdout)");
    command.add_flag("--run", run, "execute the job on the port backend");
    command.add_flag("--json", json, "print the JSON summary");
}

bool JobOutput::begin(CliContext& ctx) {
    if (!emitPath.empty()) {
        emit_ = emitPath == "-" ? stdout : std::fopen(emitPath.c_str(), "w");
        if (!emit_) {
            std::fprintf(stderr, "%s: %s\n", emitPath.c_str(), std::strerror(errno));
            return false;
        }
    }
    ctx.machine.buffer.setAppendObserver([this](const MotionCommand& c) {
        ++commands;
        if (emit_) std::fprintf(emit_, "%s\n", EmitLine(c).c_str());
    });
    return true;
}

int JobOutput::finish(CliContext& ctx) {
    estimatedSeconds = ctx.machine.buffer.remainingTimeS();
    if (emit_) std::fflush(emit_);
    if (json || run) {
        nlohmann::json summary = {{"commands", commands}, {"estimatedSeconds", estimatedSeconds}};
        std::printf("%s\n", summary.dump().c_str());
    }
    return kExitOk;
}

JobOutput::~JobOutput() {
    if (emit_ && emit_ != stdout) std::fclose(emit_);
}

}  // namespace korvex::cli
