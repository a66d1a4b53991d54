#pragma once
// Opening the main window's dialogs: a front end may lack some of them,
// and the log then says which. Window thread.

#include "ui/window_view.h"

namespace korvex {

class EventLog;

// Runs `kind` modally and returns its result; kNotBuilt after the log line
// naming the missing window.
int RunDialog(DialogLauncher& dialogs, EventLog& log, DialogKind kind);

}  // namespace korvex
