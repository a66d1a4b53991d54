// `cut`: an HPGL job through the real job dialog, as an operator would set it.

#include <CLI/CLI.hpp>
#include <charconv>
#include <filesystem>
#include <optional>

#include "cli/cli_context.h"
#include "cli/commands.h"
#include "cli/dialog_typing.h"
#include "cli/heightmap_option.h"
#include "cli/hpgl_kind.h"
#include "cli/job_output.h"
#include "motion/job_frame.h"
#include "platform/headless.h"
#include "vector/hpgl_job_dialog.h"
#include "vector/hpgl_reader.h"
#include "vector/model_geometry.h"

namespace korvex::cli {

namespace {

// One --layer PEN:depth=MM[,pass=MM][,feed=MMS][,ccw].
struct LayerRequest {
    int32_t pen = 0;
    std::optional<double> depth, pass, feed;
    bool counterClockwise = false;
};

std::optional<double> Number(const std::string& text) {
    double value;
    const char* end = text.data() + text.size();
    auto [ptr, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || ptr != end) return std::nullopt;
    return value;
}

// Returns an error text, empty when `option` is well formed.
std::string ParseLayer(const std::string& option, LayerRequest& layer) {
    const size_t colon = option.find(':');
    const std::string pen = option.substr(0, colon);
    auto [ptr, error] = std::from_chars(pen.data(), pen.data() + pen.size(), layer.pen);
    if (pen.empty() || error != std::errc() || ptr != pen.data() + pen.size())
        return "expected PEN:depth=MM[,pass=MM][,feed=MMS][,ccw]";
    std::string rest = colon == std::string::npos ? "" : option.substr(colon + 1);
    while (!rest.empty()) {
        const size_t comma = rest.find(',');
        const std::string item = rest.substr(0, comma);
        rest = comma == std::string::npos ? "" : rest.substr(comma + 1);
        if (item == "ccw") {
            layer.counterClockwise = true;
            continue;
        }
        const size_t equals = item.find('=');
        const std::string key = item.substr(0, equals);
        const std::string value = equals == std::string::npos ? "" : item.substr(equals + 1);
        std::optional<double>* field = key == "depth"  ? &layer.depth
                                       : key == "pass" ? &layer.pass
                                       : key == "feed" ? &layer.feed
                                                       : nullptr;
        if (!field || !(*field = Number(value))) return "bad value '" + item + "'";
    }
    if (!layer.depth) return "depth=MM is required";
    return {};
}

// NX,NY[,SPACING]: the values for the three repeat edits.
bool ParseRepeat(const std::string& option, std::vector<double>& fields) {
    fields.clear();
    size_t start = 0;
    while (start <= option.size()) {
        const size_t comma = std::min(option.find(',', start), option.size());
        const auto value = Number(option.substr(start, comma - start));
        if (!value) return false;
        fields.push_back(*value);
        start = comma + 1;
    }
    return fields.size() == 2 || fields.size() == 3;
}

struct CutOptions {
    std::string file;
    std::string kind;
    std::vector<std::string> layers;
    bool oneWay = false;
    std::string repeat;
    std::string heightmap;
    JobOutput output;
};

int RunCut(CliContext& ctx, CutOptions& o) {
    using namespace hpgl_job;
    std::vector<LayerRequest> requests(o.layers.size());
    for (size_t i = 0; i < o.layers.size(); ++i) {
        if (std::string error = ParseLayer(o.layers[i], requests[i]); !error.empty()) {
            std::fprintf(stderr, "--layer %s: %s\n", o.layers[i].c_str(), error.c_str());
            return kExitUsage;
        }
    }
    std::vector<double> repeat;
    if (!o.repeat.empty() && !ParseRepeat(o.repeat, repeat)) {
        std::fprintf(stderr, "--repeat %s: expected NX,NY[,SPACING]\n", o.repeat.c_str());
        return kExitUsage;
    }
    std::string ext = std::filesystem::path(o.file).extension().string();
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const int32_t kind = HpglKindOfName(!o.kind.empty() ? o.kind
                                        : ext == ".art" ? "artcam"
                                                        : "corel");

    Machine& m = ctx.machine;
    VectorModel model;
    if (!LoadVectorFile(model, o.file, kind, m.settings, m.log, ctx.host)) return kExitRefused;
    for (const LayerRequest& r : requests) {
        if (PenIndex(model, r.pen) < 0) {
            std::fprintf(stderr, "--layer %d: the file has no pen %d\n", r.pen, r.pen);
            return kExitUsage;
        }
    }
    // The job's origin is where the tool stands, over the material.
    SetOriginOverMaterial(m);
    if (!UseHeightmap(ctx, o.heightmap) || !o.output.begin(ctx)) return kExitRefused;

    RecordingView view;
    VectorJobRepeat grid;
    HpglJobDialog dialog(model, grid, m, view, ctx.host, nullptr);
    dialog.onInit();
    for (const LayerRequest& r : requests) {
        const int index = PenIndex(model, r.pen);
        while (dialog.displayedLayer() < index) dialog.onCommand(kNextLayer);
        while (dialog.displayedLayer() > index) dialog.onCommand(kPreviousLayer);
        TypeNumber(view, dialog, kDepth, *r.depth);
        if (r.pass) TypeNumber(view, dialog, kPassDepth, *r.pass);
        if (r.feed) TypeNumber(view, dialog, kFeed, *r.feed);
        if (r.counterClockwise != (model.pens[index].counterClockwise != 0))
            dialog.onCommand(kCounterClockwise);
        if (!model.pens[index].enabled) dialog.onCommand(kEnabled);
    }
    if (o.oneWay && !model.pens[0].oneWay) dialog.onCommand(kOneWay);
    if (!repeat.empty()) {
        TypeNumber(view, dialog, kCountX, repeat[0]);
        TypeNumber(view, dialog, kCountY, repeat[1]);
        if (repeat.size() == 3) TypeNumber(view, dialog, kSpacing, repeat[2]);
    }
    if (!dialog.readyToCut()) {
        std::fprintf(stderr, "%s: no layer is ready to cut\n", o.file.c_str());
        return kExitRefused;
    }
    dialog.onCommand(kStart);
    if (!view.ended) return kExitRefused;  // the shortfall is on stderr
    return o.output.finish(ctx);
}

}  // namespace

void AddCutCommand(CLI::App& app, CliContext& ctx) {
    auto o = std::make_shared<CutOptions>();
    auto* sub = app.add_subcommand("cut", "cut layers of an HPGL drawing through the job dialog");
    sub->add_option("FILE", o->file, "the HPGL file")->required();
    sub->add_option("--kind", o->kind, "HPGL producer")
        ->check(CLI::IsMember({"corel", "artcam", "sprint", "generic"}));
    sub->add_option("--layer", o->layers, "PEN:depth=MM[,pass=MM][,feed=MMS][,ccw], in order")
        ->required()
        ->expected(1)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    sub->add_flag("--oneway", o->oneWay, "cut each object to its full depth before the next");
    sub->add_option("--repeat", o->repeat, "NX,NY[,SPACING]: a grid of copies");
    AddHeightmapOption(*sub, o->heightmap);
    o->output.addOptions(*sub);
    sub->callback([&ctx, o] { ctx.command = [&ctx, o] { return RunCut(ctx, *o); }; });
}

}  // namespace korvex::cli
