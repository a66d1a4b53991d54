#pragma once
// The open dialog of the main window's HPGL command. Window thread.

#include "vector/vector_model.h"
#include "vector/vector_preview.h"

namespace korvex {

class EventLog;
class Host;

// The open dialog for an HPGL file (CorelDraw, ArtCam 2018, SprintLayout or
// the generic kind; the kind last loaded preselected); loads the chosen
// file, recomputes the preview's scale and drops the cached picture of a
// drawing that loaded. Returns 0 when the dialog was cancelled, else 1
// (whether or not the file loaded; `model.loaded` tells).
int openVectorFile(VectorModel& model, MainPreview& preview, const MachineSettings& settings,
                   EventLog& log, Host& host);

// Loads `path` as a drawing of `kind` without the dialog, as the dialog's
// choice is loaded.
void openVectorPath(VectorModel& model, MainPreview& preview, const std::string& path, int32_t kind,
                    const MachineSettings& settings, EventLog& log, Host& host);

}  // namespace korvex
