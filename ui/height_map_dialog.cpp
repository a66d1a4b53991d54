#include "ui/height_map_dialog.h"

#include <algorithm>

#include "gcode/gcode_bend.h"
#include "gcode/gcode_import.h"
#include "log/event_log.h"
#include "motion/executor.h"
#include "platform/canvas.h"
#include "platform/edit_number.h"
#include "platform/host.h"
#include "ui/window_view.h"
#include "vector/vector_model.h"

namespace korvex {

using namespace heightmap_dialog;

namespace {

std::vector<FileFilter> MapFilters(int language) {
    return {{Caption(language, {"Výšková mapa", "Height map"}), "*.hmap"},
            {Caption(language, {"Všechny soubory", "All files"}), "*"}};
}

// Blue for the lowest, red for the highest point.
uint32_t Colour(double h, double low, double high) {
    const double t = high > low ? (h - low) / (high - low) : 0.5;
    const auto red = static_cast<uint32_t>(255 * t), blue = 255 - red;
    return 0xFF000000u | red << 16 | 0x60u << 8 | blue;
}

}  // namespace

HeightMapDialog::HeightMapDialog(Machine& m, HeightMapWork& work, const HeightMapJobs& jobs,
                                 WindowView& view, Host& host)
    : m_(m), work_(work), jobs_(jobs), view_(view), host_(host), probe_(m) {}

std::string HeightMapDialog::caption(Text text) const {
    return Caption(m_.settings.language, text);
}

std::string HeightMapDialog::title() const {
    return caption(kTitle);
}

void HeightMapDialog::onInit() {
    showGrid();
    view_.enable(kFromDrawing, jobs_.drawing.hasHpgl());
    view_.enable(kFromGcode, jobs_.gcode.loaded());
    view_.setCheck(kApply, work_.apply);
    view_.setText(kNote, caption({"Mapu sleduje frézování HPGL a G-kódu; přerovnání povrchu, "
                                  "vrtání a reliéf se neohýbají.",
                                  "HPGL and G-code cutting follow the map; surface milling, "
                                  "drilling and the relief are not bent."}));
    showState();
}

void HeightMapDialog::showGrid() {
    const GridProbeSettings& g = work_.grid;
    const double values[] = {g.x0,           g.y0,   g.x1,        g.y1,   double(g.columns),
                             double(g.rows), g.feed, g.clearance, g.depth};
    for (int i = 0; i < 9; ++i) view_.setText(kX0 + i, Format("%g", values[i]));
}

void HeightMapDialog::takeArea(int64_t x0, int64_t y0, int64_t x1, int64_t y1) {
    const MachineSettings& s = m_.settings;
    GridProbeSettings& g = work_.grid;
    g.x0 = x0 * double{s.mmPerStepX} - kMarginMm, g.x1 = x1 * double{s.mmPerStepX} + kMarginMm;
    g.y0 = y0 * double{s.mmPerStepY} - kMarginMm, g.y1 = y1 * double{s.mmPerStepY} + kMarginMm;
    showGrid();
}

void HeightMapDialog::onEditChange(int id) {
    if (id < kX0 || id > kDepth) return;
    GridProbeSettings& g = work_.grid;
    const double v = ReadEditNumber(view_.text(id));
    double* fields[] = {&g.x0,   &g.y0,   &g.x1,        &g.y1,   nullptr,
                        nullptr, &g.feed, &g.clearance, &g.depth};
    if (id == kColumns || id == kRows)
        (id == kColumns ? g.columns : g.rows) = static_cast<int>(std::clamp(v, 0.0, 1e4));
    else
        *fields[id - kX0] = v;
}

void HeightMapDialog::onCommand(int id) {
    switch (id) {
        case kProbe:
            probe();
            break;
        case kLoad:
            load();
            break;
        case kSave:
            save();
            break;
        case kApply:
            work_.apply = !work_.apply && work_.map;
            view_.setCheck(kApply, work_.apply);
            m_.surfaceMap = work_.apply ? work_.map : nullptr;
            showState();
            break;
        case kFromDrawing:
            // The drawing is cut from where the tool stands: from the origin.
            if (jobs_.drawing.hasHpgl()) takeArea(0, 0, jobs_.drawing.width, jobs_.drawing.height);
            break;
        case kFromGcode:
            if (jobs_.gcode.loaded()) {
                const GcodeArea a = FeedArea(jobs_.gcode.program());
                takeArea(a.x0, a.y0, a.x1, a.y1);
            }
            break;
        case kClose:
            onClose();
            break;
        default:
            break;
    }
}

void HeightMapDialog::probe() {
    if (probe_.running() || !probe_.start(work_.grid)) return;
    for (int id : {kProbe, kLoad, kSave, kApply}) view_.enable(id, false);
    view_.startTimer(kTimer, std::max(m_.settings.refreshMs, 20));
    showState();
}

void HeightMapDialog::onTimer(int id) {
    if (id != kTimer) return;
    probe_.step();
    if (!probe_.running()) {
        view_.stopTimer(kTimer);
        for (int control : {kProbe, kLoad, kSave, kApply}) view_.enable(control, true);
        if (probe_.state() == GridProbe::State::kDone)
            use(std::make_shared<const HeightMap>(probe_.map()));
    }
    showState();
}

void HeightMapDialog::use(std::shared_ptr<const HeightMap> map) {
    work_.map = std::move(map);
    m_.surfaceMap = work_.apply ? work_.map : nullptr;
    view_.invalidate();
}

void HeightMapDialog::load() {
    const FileChoice file = host_.openFile(MapFilters(m_.settings.language), 1);
    if (!file.chosen) return;
    auto map = std::make_shared<HeightMap>();
    std::string message;
    if (!LoadHeightMap(file.path, *map, m_.settings.language, message))
        return m_.log.line(message, true, true);
    use(std::move(map));
    showState();
}

void HeightMapDialog::save() {
    if (!work_.map) return;
    const FileChoice file = host_.saveFile(MapFilters(m_.settings.language), 1);
    if (!file.chosen) return;
    std::string message;
    if (!SaveHeightMap(file.path, *work_.map, m_.settings.language, message))
        m_.log.line(message, true, true);
}

void HeightMapDialog::showState() {
    const int l = m_.settings.language;
    std::string state;
    if (probe_.running()) {
        state = FormatCaption(
            l, {"měří se bod %d z %d, zbývá %.0f s", "probing point %d of %d, %.0f s left"},
            probe_.pointsDone() + 1, probe_.pointsTotal(), probe_.secondsLeft());
    } else if (work_.map) {
        const HeightMap& map = *work_.map;
        const auto [low, high] = std::minmax_element(map.heights.begin(), map.heights.end());
        state = FormatCaption(
            l,
            {"mapa %d × %d, výšky %.3f až %.3f mm, %s", "map %d × %d, heights %.3f to %.3f mm, %s"},
            map.columns, map.rows, *low, *high,
            caption(m_.surfaceMap == work_.map ? Text{"úlohy ji sledují", "jobs follow it"}
                                               : Text{"nepoužívá se", "not in use"})
                .c_str());
    } else {
        state = caption({"žádná mapa", "no map"});
    }
    view_.setText(kState, state);
    view_.enable(kSave, work_.map != nullptr && !probe_.running());
}

void HeightMapDialog::onPaint() {
    Canvas& area = view_.canvas(0);
    area.fillRect(kMapX, kMapY, kMapWidth, kMapHeight, 0xFFFFFFFF);
    if (!work_.map) return;
    const HeightMap& map = *work_.map;
    const auto [low, high] = std::minmax_element(map.heights.begin(), map.heights.end());
    const int w = kMapWidth / map.columns, h = kMapHeight / map.rows;
    for (int r = 0; r < map.rows; ++r) {
        for (int c = 0; c < map.columns; ++c) {
            const int x = kMapX + c * w, y = kMapY + (map.rows - 1 - r) * h;  // Y up
            area.fillRect(x, y, w - 1, h - 1, Colour(map.at(c, r), *low, *high));
            if (w >= 36 && h >= 14)
                area.text(x + 2, y + h / 2 - 6, Format("%.2f", map.at(c, r)), 0xFFFFFFFF);
        }
    }
}

void HeightMapDialog::onClose() {
    // The run does not outlive its dialog.
    if (probe_.running()) {
        RequestBufferReset(m_);
        probe_.step();
        view_.stopTimer(kTimer);
    }
    view_.end(kResultCancel);
}

}  // namespace korvex
