// korvex-cli: the controller's logic without a display.

#include <CLI/CLI.hpp>

#include "cli/cli_context.h"
#include "cli/commands.h"
#include "platform/port_select.h"
#include "platform/version.h"

using namespace korvex::cli;

int main(int argc, char** argv) {
    auto ctx = std::make_unique<CliContext>();
    GlobalOptions& o = ctx->options;

    CLI::App app{"korvex-cli: the Korvex CNC controller without a display"};
    app.require_subcommand(1);
    app.set_version_flag("--version", std::string("korvex-cli ") + korvex::ProgramVersion());
    app.add_option("--settings", o.settingsFile, "load settings from FILE (config.dat format)");
    app.add_flag("--factory", o.factory, "use factory defaults, ignoring any config.dat");
    app.add_option("--lang", o.lang, "language of messages")->check(CLI::IsMember({"cz", "en"}));
    app.add_option("--port", o.port, "port backend: sim, none, ppdev:DEV, rawio or auto")
        ->check([](const std::string& backend) {
            return korvex::IsPortBackend(backend) ? std::string()
                                                  : "unknown port backend: " + backend;
        });
    app.add_option("--clock", o.clock, "virtual or real")
        ->check(CLI::IsMember({"virtual", "real"}));
    app.add_option("--sim-surface", o.simSurface,
                   "TX,TY,BOW mm: the simulated material's shape; its height at the absolute X, "
                   "Y (mm) is TX*X/100 + TY*Y/100 + BOW*4*(X/LX)*(1-X/LX), LX the X travel")
        ->delimiter(',')
        ->expected(3);
    app.add_option("--log", o.logFile, "event log file (default: listbox.txt in the log folder)");
    app.add_option("--config-dir", o.configDir,
                   "folder of config.dat and the log (default: beside the program when it may "
                   "write there, else ~/.config/korvex and ~/.local/state/korvex)");

    AddSettingsCommand(app, *ctx);
    AddDemoCommand(app, *ctx);
    AddInspectCommand(app, *ctx);
    AddTraceCommand(app, *ctx);
    AddAccelCommand(app, *ctx);
    AddCutCommand(app, *ctx);
    AddSurfaceCommand(app, *ctx);
    AddSeparateCommand(app, *ctx);
    AddDrillCommand(app, *ctx);
    AddReliefCommand(app, *ctx);
    AddGcodeCommand(app, *ctx);
    AddHeightmapCommand(app, *ctx);

    try {
        app.parse(argc, argv);
    } catch (const CLI::Success& e) {  // --help, --version
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        app.exit(e);
        return kExitUsage;
    }
    if (!ctx->prepare()) return kExitRefused;
    // A job's stops on a real port are answered by a person, on the terminal.
    if (isatty(STDIN_FILENO)) ctx->operatorInput = stdin;
    return ctx->command ? ctx->command() : kExitUsage;
}
