#include "gcode/gcode_dialog.h"

#include <array>

#include "motion/machine.h"
#include "platform/dialog_view.h"
#include "platform/host.h"

namespace korvex {

using namespace gcode_dialog;

namespace {

std::vector<FileFilter> ProgramFilters(int language) {
    return {
        {Caption(language, {"Program G-kódu", "G-code program"}), "*.nc;*.ngc;*.gcode;*.tap;*.cnc"},
        {Caption(language, {"Všechny soubory", "All files"}), "*"}};
}

}  // namespace

GcodeDialog::GcodeDialog(Machine& m, GcodeImport& import, DialogView& view, Host& host,
                         CanvasFactory factory)
    : machine_(m), view_(view), host_(host), factory_(std::move(factory)), import_(import) {}

std::string GcodeDialog::title() const {
    return Caption(machine_.settings.language, gcode_dialog::kTitle);
}

void GcodeDialog::onInit() {
    if (import_.loaded()) import_.reread();
    show();
}

void GcodeDialog::onCommand(int id) {
    switch (id) {
        case kFile:
            choose();
            break;
        case kStart:
            start();
            break;
        case kClose:
            view_.end(kResultCancel);
            break;
        default:
            break;
    }
}

void GcodeDialog::onPaint() {
    Canvas& area = view_.canvas(0);
    if (picture_)
        area.blit(kPreviewX, kPreviewY, *picture_, 0, 0, kPreviewSize, kPreviewSize);
    else
        area.fillRect(kPreviewX, kPreviewY, kPreviewSize, kPreviewSize, 0xFFFFFFFF);
}

void GcodeDialog::onClose() {
    view_.end(kResultCancel);
}

// A refused file leaves the dialog empty: its box has said why.
void GcodeDialog::choose() {
    const FileChoice file = host_.openFile(ProgramFilters(machine_.settings.language), 1);
    if (!file.chosen) return;
    import_.load(file.path);
    show();
}

void GcodeDialog::show() {
    const int language = machine_.settings.language;
    const bool loaded = import_.loaded();
    view_.setText(
        kPath, loaded ? import_.path() : Caption(language, {"žádný program", "no program loaded"}));
    const std::vector<std::string> lines = import_.summaryLines();
    for (int i = 0; i <= kTime - kUnits; ++i)
        view_.setText(kUnits + i, i < int(lines.size()) ? lines[i] : "");
    std::string notes;
    for (size_t i = kTime - kUnits + 1; i < lines.size(); ++i)
        notes += (notes.empty() ? "" : "\n") + lines[i];
    view_.setText(kNotes, notes);
    std::string table;
    if (loaded && !machine_.position.relOriginSet.load()) {
        table = Caption(language, {"nebyl definován relativní začátek",
                                   "no relative point (startpoint) defined"});
    } else if (loaded) {
        const std::array<double, 3> d = import_.travelExcess();
        table = d[0] == 0 && d[1] == 0 && d[2] == 0
                    ? Caption(language, {"program je v rozsahu stroje",
                                         "the program stays within the machine's travel"})
                    : FormatCaption(language,
                                    {"přesahuje rozsah stroje o dX:%3.2f dY:%3.2f dZ:%3.2f",
                                     "leaves the machine's travel by dX:%3.2f dY:%3.2f dZ:%3.2f"},
                                    d[0], d[1], d[2]);
    }
    view_.setText(kTable, table);
    view_.enable(kStart, loaded);
    picture_.reset();
    if (loaded && factory_) {
        picture_ = factory_(kPreviewSize, kPreviewSize);
        DrawGcodePreview(import_.program(), *picture_);
    }
    view_.invalidate();
}

// The import checks the origin and the table and says why it refuses; the
// dialog stays open then. The main window's timer feeds what the buffer
// does not take at once.
void GcodeDialog::start() {
    if (import_.loaded() && import_.start()) view_.end(kResultOk);
}

}  // namespace korvex
