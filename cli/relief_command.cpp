#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include "cli/cli_context.h"
#include "cli/commands.h"
#include "cli/dialog_typing.h"
#include "cli/job_output.h"
#include "machining/job_values.h"
#include "machining/raster_image.h"
#include "machining/relief_dialog.h"
#include "machining/relief_job.h"
#include "machining/relief_output.h"
#include "motion/move_time.h"
#include "platform/qimage_canvas.h"

namespace korvex::cli {

namespace {

struct ReliefOptions {
    std::string image;
    double depth = 0, pitch = 0, feed = 0, zOffset = 0;
    int multiple = 1;
    bool multipleZ = false, invert = false;
    std::string simulate;
    JobOutput output;
};

// The relief's steps merged into straight runs, each emitted as one move;
// with `drive` every step also goes to the port.
class EmittingOutput final : public ReliefOutput {
  public:
    EmittingOutput(const Machine& m, JobOutput& job, ReliefOutput& port, bool drive)
        : timer_(m), job_(job), port_(port), drive_(drive) {}

    void begin() override {
        if (drive_) port_.begin();
    }
    bool step(int sx, int sy, int sz, int periodUs) override {
        if (drive_ && !port_.step(sx, sy, sz, periodUs)) return false;
        ++ticks;
        motionUs += periodUs;
        machineSeconds += timer_.tickSeconds(periodUs);
        MotionCommand& r = run_;
        const bool continues = r.periodUs == periodUs && Along(r.dx, sx) && Along(r.dy, sy) &&
                               Along(r.dz, sz) && (r.dx || r.dy || r.dz);
        if (!continues) {
            flush();
            r.periodUs = periodUs;
        }
        r.dx += sx, r.dy += sy, r.dz += sz;
        return true;
    }
    void idle() override { port_.idle(); }
    void wait() override { port_.wait(); }

    // Emits the run in progress.
    void flush() {
        if (run_.dx || run_.dy || run_.dz) job_.emitCommand(run_);
        run_ = MotionCommand{};
    }

    int64_t ticks = 0;
    int64_t motionUs = 0;       // the sum of the step periods
    double machineSeconds = 0;  // what the steps take on a port

  private:
    // Whether a step goes the same way as the run so far (0 with 0).
    static bool Along(int total, int step) {
        return (total > 0) == (step > 0) && (total < 0) == (step < 0);
    }

    const MoveTimer timer_;
    JobOutput& job_;
    ReliefOutput& port_;
    bool drive_;
    MotionCommand run_;
};

int RunRelief(CliContext& ctx, ReliefOptions& o) {
    Machine& m = ctx.machine;
    JobOutput& output = o.output;
    if (!output.begin(ctx)) return kExitRefused;
    EnsureGuiApplication();  // the simulation picture and the problem report's text
    RasterImage raster;
    LoadRasterImage(raster, o.image, ctx.host, m.log);
    if (!raster.loaded) return kExitRefused;

    if (output.run) {
        ctx.startMotion();
        if (ctx.namedPortFailed()) return kExitRefused;
    }
    const int64_t startTicks = m.timing.clock->now();

    ReliefJob job = StartReliefJob(m.settings);
    JobValues values = StartJobValues(m.settings);
    ReliefSimulation simulation;
    int sourceKind = 0;
    PortReliefOutput port(m);
    EmittingOutput emitting(m, output, port, output.run);
    ReliefContext context{m,        raster,           job,       values, simulation,
                          emitting, MakeQImageCanvas, sourceKind};
    RecordingView view;
    ReliefDialog dialog(context, view, ctx.host);
    dialog.onInit();
    TypeNumber(view, dialog, kReliefDepth, o.depth);
    TypeNumber(view, dialog, kReliefPitch, o.pitch);
    TypeNumber(view, dialog, kReliefFeed, o.feed);
    TypeNumber(view, dialog, kReliefZOffset, o.zOffset);
    for (int i = 1; i < o.multiple; ++i) dialog.onCommand(kReliefPlus);
    if (o.multipleZ) dialog.onCommand(kReliefZMultiple);
    if (o.invert) dialog.onCommand(kReliefInvert);
    dialog.onCommand(o.simulate.empty() ? kReliefGo : kReliefSimulate);
    if (!dialog.lastRun()) return kExitRefused;
    emitting.flush();
    if (!output.endGcode()) return kExitRefused;

    if (!o.simulate.empty()) {
        const auto* picture = dynamic_cast<const QImageCanvas*>(simulation.picture.get());
        if (!picture || !picture->savePng(o.simulate)) {
            std::fprintf(stderr, "%s: the picture cannot be written\n", o.simulate.c_str());
            return kExitRefused;
        }
    }
    if (output.json || output.run) {
        nlohmann::ordered_json summary = {{"commands", output.commands}};
        const double motionSeconds = static_cast<double>(emitting.motionUs) / 1e6;
        if (output.run) {
            // Without an active port nothing is waited: the steps' periods tell.
            const PerformanceCounter& clock = *m.timing.clock;
            const bool timed =
                m.signals.portReady.load() && m.settings.driveMode == 3 && !m.settings.useSerial;
            summary["ticks"] = emitting.ticks;
            summary["machineSeconds"] = timed ? static_cast<double>(clock.now() - startTicks) /
                                                    static_cast<double>(clock.frequency())
                                              : motionSeconds;
            summary["final"] = {m.position.absX.load(), m.position.absY.load(),
                                m.position.absZ.load()};
        }
        // Timed as its steps were made: no status display estimates a
        // relief, which bypasses the buffer.
        summary["estimatedSeconds"] = emitting.machineSeconds;
        std::printf("%s\n", summary.dump().c_str());
    }
    return kExitOk;
}

}  // namespace

void AddReliefCommand(CLI::App& app, CliContext& ctx) {
    auto o = std::make_shared<ReliefOptions>();
    auto* sub = app.add_subcommand("relief", "carve a relief from a picture, or simulate it");
    sub->add_option("IMAGE", o->image, "the picture (.bmp, .jpg, .tif)")->required();
    sub->add_option("--depth", o->depth, "depth of black below white, mm")->required();
    sub->add_option("--pitch", o->pitch, "distance between carved rows, mm")->required();
    sub->add_option("--feed", o->feed, "cutting feed, mm/s")->required();
    sub->add_option("--zoffset", o->zOffset, "depth of white below the surface, mm");
    sub->add_option("--multiple", o->multiple, "steps per pixel, 1 to 1000")
        ->check(CLI::Range(1, 1000));
    sub->add_flag("--multiple-z", o->multipleZ, "scale the depth by the multiple too");
    sub->add_flag("--invert", o->invert, "invert the picture first");
    sub->add_option("--simulate", o->simulate,
                    "write the oblique simulation as PNG instead of moving");
    o->output.addOptions(*sub);
    sub->callback([&ctx, o] { ctx.command = [&ctx, o] { return RunRelief(ctx, *o); }; });
}

}  // namespace korvex::cli
