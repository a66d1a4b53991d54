// korvex-cli: the controller's logic without a display.

#include <unistd.h>

#include <CLI/CLI.hpp>
#include <filesystem>

#include "cli/cli_context.h"
#include "cli/commands.h"
#include "platform/port_select.h"

using namespace korvex::cli;

static std::string ExecutableDirectory(const char* argv0) {
    std::error_code error;
    auto self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) self = std::filesystem::absolute(argv0, error);
    return self.parent_path().string();
}

int main(int argc, char** argv) {
    auto ctx = std::make_unique<CliContext>();
    ctx->moduleDir = ExecutableDirectory(argv[0]);
    GlobalOptions& o = ctx->options;

    CLI::App app{"korvex-cli: the Korvex CNC controller without a display"};
    app.require_subcommand(1);
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
    app.add_option("--log", o.logFile, "event log file (default: listbox.txt beside the program)");

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

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
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
