#include <CLI/CLI.hpp>
#include <filesystem>
#include <vector>

#include "cli/cli_context.h"
#include "cli/commands.h"
#include "cli/excellon_format_option.h"
#include "cli/job_output.h"
#include "drilling/drill_readers.h"
#include "drilling/drilling_dialog.h"
#include "drilling/excellon_full.h"
#include "platform/headless.h"

namespace korvex::cli {

namespace {

struct ToolRequest {
    int drill = 0;      // 1-based, in file order
    std::string depth;  // as typed into the depth edit, mm
};

struct DrillOptions {
    std::string file;
    std::vector<std::string> tools;
    std::vector<ToolRequest> requests;
    std::string kind;                     // "" or "excellon-full"
    std::string format;                   // "" or digits such as "2.4", for excellon-full
    int loadButton = kDrillLoadExcellon;  // from the file's extension and the kind
    JobOutput output;
};

// The console host, except that the open-file dialog chooses the file given
// on the command line.
class ChosenFileHost final : public DesktopFreeHost {
  public:
    ChosenFileHost(Host& host, std::string path) : host_(host), path_(std::move(path)) {}
    Answer messageBox(const std::string& title, const std::string& text, Buttons buttons,
                      Icon icon) override {
        return host_.messageBox(title, text, buttons, icon);
    }
    FileChoice openFile(const std::vector<FileFilter>&, int index) override {
        return {true, path_, index};
    }

  private:
    Host& host_;
    std::string path_;
};

// "N:depth=MM".
ToolRequest ParseTool(const std::string& text) {
    const size_t colon = text.find(':');
    ToolRequest request;
    try {
        size_t used = 0;
        request.drill = std::stoi(text.substr(0, colon), &used);
        if (used != colon) throw std::invalid_argument(text);
    } catch (const std::exception&) {
        throw CLI::ValidationError("--tool", "expected N:depth=MM, got '" + text + "'");
    }
    const std::string key = "depth=";
    if (colon == std::string::npos || text.compare(colon + 1, key.size(), key) != 0 ||
        colon + 1 + key.size() == text.size() || request.drill < 1)
        throw CLI::ValidationError("--tool",
                                   "expected N:depth=MM with N from 1, got '" + text + "'");
    request.depth = text.substr(colon + 1 + key.size());
    return request;
}

// Presses through the drilling dialog as an operator would: load the file,
// then per request show the drill, type its depth, tick it and drill.
int RunDrill(CliContext& ctx, DrillOptions& o) {
    Machine& m = ctx.machine;
    ChosenFileHost host(ctx.host, o.file);
    RecordingView view;
    DrillSet set;
    DrillingDialog dialog(m, set, view, host);
    dialog.onInit();
    view.setText(kDrillNumberFormat, o.format);
    dialog.onCommand(o.loadButton);
    if (dialog.lastReadResult() != kDrillReadLoaded) return kExitRefused;
    for (const ToolRequest& r : o.requests) {
        if (r.drill > set.toolCount) {
            std::fprintf(stderr, "%s: drill %d: the file defines %d drills\n", o.file.c_str(),
                         r.drill, set.toolCount);
            return kExitRefused;
        }
    }
    if (!o.output.begin(ctx)) return kExitRefused;
    for (const ToolRequest& r : o.requests) {
        while (dialog.displayedDrill() < r.drill - 1) dialog.onCommand(kDrillNext);
        while (dialog.displayedDrill() > r.drill - 1) dialog.onCommand(kDrillPrevious);
        view.setText(kDrillDepth, r.depth);
        dialog.onEditChange(kDrillDepth);
        view.setCheck(kDrillEnable, true);
        dialog.onCommand(kDrillEnable);
        dialog.onCommand(kDrillTheseHoles);
        if (!dialog.lastDrillResult()) return kExitRefused;
    }
    return o.output.finish(ctx);
}

}  // namespace

void AddDrillCommand(CLI::App& app, CliContext& ctx) {
    auto o = std::make_shared<DrillOptions>();
    auto* sub =
        app.add_subcommand("drill", "drill the holes of an Excellon (.drl) or simple (.vrt) file");
    sub->add_option("FILE", o->file, "the drill file")->required();
    sub->add_option("--tool", o->tools,
                    "N:depth=MM: drill the holes of drill N (1-based, file order) MM deep "
                    "(whole millimetres, as the dialog's depth edit reads them); repeatable")
        ->required();
    sub->add_option("--kind", o->kind,
                    "excellon-full: load with the full Excellon reader (.drl .txt .cnc .exc .tap "
                    ".xln; holes of each drill in travel order, slots counted)")
        ->check(CLI::IsMember({"excellon-full"}));
    AddNumberFormatOption(*sub, o->format);
    o->output.addOptions(*sub);
    sub->callback([&ctx, o] {
        std::string extension = std::filesystem::path(o->file).extension().string();
        for (char& c : extension)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (o->kind == "excellon-full") {
            if (!IsExcellonFullExtension(extension))
                throw CLI::ValidationError("FILE",
                                           "expected a .drl .txt .cnc .exc .tap or .xln file");
            o->loadButton = kDrillLoadExcellonFull;
        } else {
            RequireFullExcellonFor(o->format);
            if (extension != ".drl" && extension != ".vrt")
                throw CLI::ValidationError("FILE", "expected a .drl or .vrt file");
            o->loadButton = extension == ".vrt" ? kDrillLoadSimple : kDrillLoadExcellon;
        }
        o->requests.clear();
        for (const std::string& t : o->tools) o->requests.push_back(ParseTool(t));
        ctx.command = [&ctx, o] { return RunDrill(ctx, *o); };
    });
}

}  // namespace korvex::cli
