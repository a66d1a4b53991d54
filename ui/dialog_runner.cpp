#include "ui/dialog_runner.h"

#include "log/event_log.h"

namespace korvex {

namespace {

const char* DialogName(DialogKind kind, int language) {
    static const char* const kNames[][2] = {{"Nulová pozice", "Null position"},
                                            {"Nastavení HPGL", "HPGL job"},
                                            {"3D modelování", "3D modelling"},
                                            {"Oddělit materiál", "Separate material"},
                                            {"Přerovnat výšku materiálu", "Back planing"},
                                            {"Vrtání otvorů", "Drill holes"},
                                            {"Test časovače", "Test of counter"},
                                            {"Nastavení stroje", "Setup machine"},
                                            {"Nastavení G-kódu", "Set and cut G-code"}};
    return kNames[static_cast<int>(kind)][language == 0 ? 0 : 1];
}

}  // namespace

int RunDialog(DialogLauncher& dialogs, EventLog& log, DialogKind kind) {
    const int result = dialogs.run(kind);
    if (result == kNotBuilt)
        SayFormatted(log,
                     {"Okno \"%s\" v této verzi ještě není",
                      "The window \"%s\" is not in this "
                      "version yet"},
                     true, false, DialogName(kind, log.language()));
    return result;
}

}  // namespace korvex
