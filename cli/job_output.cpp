#include "cli/job_output.h"

#include <CLI/CLI.hpp>
#include <cerrno>
#include <cstring>
#include <nlohmann/json.hpp>

#include "cli/progress_bar.h"
#include "cli/stop_operator.h"
#include "log/text.h"
#include "motion/acceleration.h"
#include "motion/executor.h"

namespace korvex::cli {

std::string EmitLine(const MotionCommand& c) {
    return Format("%d,%d,%d,%d,%d,%d,%d,%d,%d", c.dx, c.dy, c.dz, c.periodUs, c.accelerated,
                  c.dwellAfter, c.checkSwitches, c.spindleOn, c.stopAfter);
}

void JobOutput::addOptions(CLI::App& command) {
    commands_.push_back(&command);
    command.add_option("--emit", emitPath,
                       "write every appended command as a CSV line (- for stdout)");
    command.add_option("--emit-gcode", gcodePath,
                       "write the job as a G-code program (- for stdout)");
    command.add_flag("--run", run, "execute the job on the port backend");
    command.add_flag("--json", json, "print the JSON summary");
}

namespace {

// Opens an output named by an option; false after a message.
bool OpenOutput(const std::string& path, std::FILE*& file) {
    if (path.empty()) return true;
    file = path == "-" ? stdout : std::fopen(path.c_str(), "w");
    if (!file) std::fprintf(stderr, "%s: %s\n", path.c_str(), std::strerror(errno));
    return file != nullptr;
}

}  // namespace

bool JobOutput::begin(CliContext& ctx) {
    if (run && !ctx.openNamedPort()) return false;
    // Every append times its move, ramps over the tables the run will use.
    if (!ctx.machine.accel.ready.load()) BuildAccelerationTables(ctx.machine);
    if (!OpenOutput(emitPath, emit_) || !OpenOutput(gcodePath, gcode_)) return false;
    if (gcode_) {
        std::string job;
        for (const CLI::App* c : commands_) {
            if (!c->parsed()) continue;
            const CLI::App* parent = c->get_parent();
            job = (parent && parent->get_parent() ? parent->get_name() + " " : "") + c->get_name();
        }
        writer_.emplace(ctx.machine.settings);
        std::fputs(writer_->header(job).c_str(), gcode_);
    }
    ctx.machine.buffer.addAppendObserver([this](const MotionCommand& c) { emitCommand(c); });
    return true;
}

void JobOutput::emitCommand(const MotionCommand& c) {
    ++commands;
    if (emit_) std::fprintf(emit_, "%s\n", EmitLine(c).c_str());
    if (gcode_) std::fputs(writer_->move(c).c_str(), gcode_);
}

namespace {

struct RunTotals {
    int64_t ticks = 0;
    double machineSeconds = 0;
    int status = kExitOk;
};

// Runs everything queued on the machine the options ask for, with a
// progress bar on stderr; the job's stops go to the operator.
RunTotals RunQueued(CliContext& ctx, const JobOutput& output) {
    Machine& m = ctx.machine;
    const int64_t ticks = m.executor.ticks.load(), tickTimeUs = m.executor.tickTimeUs.load();
    MotionRig& rig = ctx.startMotion();
    RunTotals run;
    if (ctx.namedPortFailed()) {
        run.status = kExitRefused;
        return run;
    }
    JobOutput::Unqueued unqueued = output.unqueued;
    const double total = m.buffer.remainingTimeS() + unqueued.seconds;
    const int64_t all = output.commands + static_cast<int64_t>(unqueued.moves);
    ProgressBar bar(stderr);
    StopOperator stops(m, rig.portName(), rig.sim(), ctx.operatorInput);
    auto detail = [&] {
        return Format("%lld/%lld commands",
                      static_cast<long long>(all - unqueued.moves - m.buffer.queued()),
                      static_cast<long long>(all));
    };
    auto done = [&] {
        return total > 0 ? 1 - (m.buffer.remainingTimeS() + unqueued.seconds) / total : 0.0;
    };
    // A fed job's buffer may run dry between two feeds: drained means
    // nothing left to feed either.
    do {
        WaitUntilDrained(m, [&] {
            if (!stops.answer()) return true;
            if (output.feed) unqueued = output.feed();
            bar.update(done(), detail());
            return false;
        });
        if (output.feed && !stops.ended()) unqueued = output.feed();
    } while (unqueued.moves > 0 && !stops.ended() && !m.executor.executorExited.load());
    bar.finish(stops.ended() ? done() : 1, detail());
    if (stops.ended()) run.status = kExitStopped;

    run.ticks = m.executor.ticks.load() - ticks;
    const PerformanceCounter& clock = rig.clock();
    const bool timed =
        m.signals.portReady.load() && m.settings.driveMode == 3 && !m.settings.useSerial;
    run.machineSeconds = timed
                             ? static_cast<double>(clock.now() - rig.startedAt()) /
                                   static_cast<double>(clock.frequency())
                             : static_cast<double>(m.executor.tickTimeUs.load() - tickTimeUs) / 1e6;
    return run;
}

}  // namespace

bool JobOutput::endGcode() {
    if (!gcode_) return true;
    std::fputs(writer_->footer().c_str(), gcode_);
    if (std::fflush(gcode_) == 0 && !std::ferror(gcode_)) return true;
    std::fprintf(stderr, "%s: %s\n", gcodePath.c_str(), std::strerror(errno));
    return false;
}

int JobOutput::finish(CliContext& ctx) {
    Machine& m = ctx.machine;
    estimatedSeconds = m.buffer.remainingTimeS() + unqueued.seconds;
    if (emit_) std::fflush(emit_);
    if (!endGcode()) return kExitRefused;
    if (!json && !run) return kExitOk;
    nlohmann::ordered_json summary = {{"commands", commands}};
    int status = kExitOk;
    if (run) {
        const RunTotals totals = RunQueued(ctx, *this);
        if (totals.status == kExitRefused) return kExitRefused;
        status = totals.status;
        summary["commands"] = commands;  // a fed job queued more while it ran
        summary["ticks"] = totals.ticks;
        summary["machineSeconds"] = totals.machineSeconds;
        summary["final"] = {m.position.absX.load(), m.position.absY.load(), m.position.absZ.load()};
        summary["planned"] = {m.position.plannedX.load(), m.position.plannedY.load(),
                              m.position.plannedZ.load()};
    }
    summary["estimatedSeconds"] = estimatedSeconds;
    if (jobFields) jobFields(summary);
    std::printf("%s\n", summary.dump().c_str());
    return status;
}

JobOutput::~JobOutput() {
    if (emit_ && emit_ != stdout) std::fclose(emit_);
    if (gcode_ && gcode_ != stdout) std::fclose(gcode_);
}

}  // namespace korvex::cli
