#include "vector/vector_file_dialog.h"

#include "platform/host.h"
#include "settings/machine_settings.h"
#include "vector/hpgl_reader.h"

namespace korvex {

namespace {
constexpr int32_t kKindOfFilter[] = {kHpglCorel, kHpglArtCam, kHpglSprint, kHpglGeneric};
constexpr int kFilterCount = 4;

int FilterOfKind(int32_t kind) {
    for (int i = 0; i < kFilterCount; ++i)
        if (kKindOfFilter[i] == kind) return i + 1;
    return 1;
}
}  // namespace

int openVectorFile(VectorModel& model, MainPreview& preview, const MachineSettings& settings,
                   EventLog& log, Host& host) {
    const std::vector<FileFilter> filters =
        settings.language == 0
            ? std::vector<FileFilter>{{"Vektorový soubor HPGL CorelDraw (*.plt)", "*.plt"},
                                      {"Vektorový soubor HPGL ArtCam 2018(*.art)", "*.art"},
                                      {"Vektorový soubor HPGL SprintLayout(*.plt)", "*.plt"},
                                      {"Vektorový soubor HPGL obecný (*.plt;*.hpgl)",
                                       "*.plt;*.hpgl"}}
            : std::vector<FileFilter>{{"Vector file HPGL CorelDraw(*.plt)", "*.plt"},
                                      {"Vector file HPGL ArtCam 2018(*.art)", "*.art"},
                                      {"Vector file HPGL SprintLayout(*.plt)", "*.plt"},
                                      {"Vector file HPGL generic (*.plt;*.hpgl)", "*.plt;*.hpgl"}};
    const FileChoice choice = host.openFile(filters, FilterOfKind(model.sourceKind));
    if (!choice.chosen) return 0;
    const int32_t kind = choice.filterIndex >= 1 && choice.filterIndex <= kFilterCount
                             ? kKindOfFilter[choice.filterIndex - 1]
                             : kHpglCorel;
    openVectorPath(model, preview, choice.path, kind, settings, log, host);
    return 1;
}

void openVectorPath(VectorModel& model, MainPreview& preview, const std::string& path, int32_t kind,
                    const MachineSettings& settings, EventLog& log, Host& host) {
    if (!LoadVectorFile(model, path, kind, settings, log, host)) return;
    computeMainPreviewScale(preview, model, settings);
    preview.image.reset();
}

}  // namespace korvex
