#pragma once
// The commands of korvex-cli. Each adds its subcommand to the application;
// when chosen, its callback stores the work in ctx.command, which main() runs
// once the global options have been applied.

namespace CLI {
class App;
}

namespace korvex::cli {

struct CliContext;

void AddSettingsCommand(CLI::App& app, CliContext& ctx);
void AddDemoCommand(CLI::App& app, CliContext& ctx);
void AddInspectCommand(CLI::App& app, CliContext& ctx);
void AddTraceCommand(CLI::App& app, CliContext& ctx);
void AddAccelCommand(CLI::App& app, CliContext& ctx);
void AddCutCommand(CLI::App& app, CliContext& ctx);
void AddSurfaceCommand(CLI::App& app, CliContext& ctx);
void AddSeparateCommand(CLI::App& app, CliContext& ctx);
void AddDrillCommand(CLI::App& app, CliContext& ctx);
void AddReliefCommand(CLI::App& app, CliContext& ctx);
void AddGcodeCommand(CLI::App& app, CliContext& ctx);
void AddHeightmapCommand(CLI::App& app, CliContext& ctx);

}  // namespace korvex::cli
