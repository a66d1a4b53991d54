#pragma once
// Filling a job dialog's edits headlessly, as an operator types: the text
// goes into the view and the dialog re-reads it.

#include <string>

#include "log/text.h"
#include "platform/headless.h"

namespace korvex::cli {

template <class Dialog>
void TypeNumber(RecordingView& view, Dialog& dialog, int id, double value) {
    view.setText(id, Format("%.10g", value));
    dialog.onEditChange(id);
}

}  // namespace korvex::cli
