#include <CLI/CLI.hpp>
#include <algorithm>
#include <filesystem>

#include "cli/cli_context.h"
#include "cli/commands.h"
#include "cli/excellon_format_option.h"
#include "cli/inspectors.h"
#include "drilling/excellon_full.h"

namespace korvex::cli {

namespace {
std::string LowerExtension(const std::string& path) {
    std::string ext = std::filesystem::path(path).extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext;
}
}  // namespace

void AddInspectCommand(CLI::App& app, CliContext& ctx) {
    struct Options {
        std::string file;
        std::string kind;
        std::string format;
    };
    auto o = std::make_shared<Options>();
    auto* sub =
        app.add_subcommand("inspect", "load a file as the program does and describe it as JSON");
    sub->add_option("FILE", o->file, "the file")->required();
    sub->add_option("--kind", o->kind,
                    "HPGL producer: corel, artcam or sprint; excellon-full reads a drill file "
                    "(.drl .txt .cnc .exc .tap .xln) with the full Excellon reader");
    AddNumberFormatOption(*sub, o->format);
    sub->callback([&ctx, o] {
        if (o->kind != "excellon-full") RequireFullExcellonFor(o->format);
        ctx.command = [&ctx, o]() -> int {
            const std::string ext = LowerExtension(o->file);
            if (ext == ".plt" || ext == ".art" || ext == ".hpgl")
                return InspectHpgl(ctx, o->file,
                                   !o->kind.empty() ? o->kind
                                   : ext == ".art"  ? "artcam"
                                                    : "corel");
            if (o->kind == "excellon-full" && IsExcellonFullExtension(ext))
                return InspectDrills(ctx, o->file, o->kind, o->format);
            if (ext == ".drl") return InspectDrills(ctx, o->file, "excellon", "");
            if (ext == ".vrt") return InspectDrills(ctx, o->file, "simple", "");
            if (ext == ".bmp" || ext == ".jpg" || ext == ".jpeg" || ext == ".tif" || ext == ".tiff")
                return InspectRaster(ctx, o->file);
            std::fprintf(stderr,
                         "%s: unknown file type (expected .plt .art .drl .vrt .bmp .jpg .tif)\n",
                         o->file.c_str());
            return kExitUsage;
        };
    });
}

}  // namespace korvex::cli
