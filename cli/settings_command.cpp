#include <CLI/CLI.hpp>

#include "cli/cli_context.h"
#include "cli/commands.h"
#include "settings/config_file.h"

namespace korvex::cli {

void AddSettingsCommand(CLI::App& app, CliContext& ctx) {
    struct Options {
        std::string write;
        bool show = false;
    };
    auto o = std::make_shared<Options>();
    auto* sub = app.add_subcommand("settings", "save or show the settings in force");
    auto* write = sub->add_option("--write", o->write, "save them as a config.dat file");
    auto* show =
        sub->add_flag("--show", o->show, "print field=value, one per line, in record order");
    sub->require_option(1);
    write->excludes(show);
    sub->callback([&ctx, o] {
        ctx.command = [&ctx, o]() -> int {
            Machine& m = ctx.machine;
            if (o->show) {
                for (const std::string& line : SettingsFieldLines(m.settings))
                    std::printf("%s\n", line.c_str());
                return kExitOk;
            }
            return SaveSettings(m.settings, m.log, o->write, 0, ctx.places.configDir)
                       ? kExitOk
                       : kExitRefused;
        };
    });
}

}  // namespace korvex::cli
