#pragma once
// The options every job command shares (--emit, --emit-gcode, --run, --json)
// and what they produce: the appended commands as CSV lines or as a G-code
// program, the run and its summary.

#include <cstdio>
#include <functional>
#include <nlohmann/json_fwd.hpp>
#include <optional>
#include <string>
#include <vector>

#include "cli/cli_context.h"
#include "gcode/gcode_writer.h"

namespace CLI {
class App;
}

namespace korvex::cli {

struct JobOutput {
    std::string emitPath;   // "-" for stdout
    std::string gcodePath;  // "-" for stdout
    bool run = false;
    bool json = false;

    // Adds --emit, --emit-gcode, --run and --json to a job command.
    void addOptions(CLI::App& command);
    // Before the job appends: opens the emit target and observes the buffer.
    // False (after a message) when the target cannot be written.
    bool begin(CliContext& ctx);
    // After the job has appended: with --run starts the machine
    // (ctx.startMotion) and runs everything queued, with a progress bar on
    // stderr; prints the summary.
    int finish(CliContext& ctx);
    // Closes the G-code program, if one is written; false (after a message)
    // when it could not be written. finish() does it; a job that ends
    // without finish() calls it itself.
    bool endGcode();
    // Counts one command and writes it to the emit targets, if any: what the
    // buffer observer does, for jobs that move without the buffer.
    void emitCommand(const MotionCommand& c);
    ~JobOutput();

    int commands = 0;
    double estimatedSeconds = 0;
    // Adds the job's own fields to the summary, after the common ones.
    std::function<void(nlohmann::ordered_json&)> jobFields;

    // What a job fed into the buffer as the machine drains it (a G-code
    // program longer than the buffer) has not queued yet, and the feed that
    // queues its next moves; none for a job queued whole.
    struct Unqueued {
        size_t moves = 0;
        double seconds = 0;
    };
    Unqueued unqueued;
    std::function<Unqueued()> feed;

  private:
    // The commands sharing these options; the one parsed names the job in
    // the G-code header.
    std::vector<const CLI::App*> commands_;
    std::FILE* emit_ = nullptr;
    std::FILE* gcode_ = nullptr;
    std::optional<GcodeWriter> writer_;
};

// One emitted command:
// "dx,dy,dz,periodUs,accelerated,dwellAfter,checkSwitches,spindleOn,stopAfter".
std::string EmitLine(const MotionCommand& c);

}  // namespace korvex::cli
