#include "ui/kind_guard.h"

#include <algorithm>

#include "log/event_log.h"

namespace korvex {

namespace {

// What a known kind is called ("a G-code program") and the dialog it
// opens in ("the G-code dialog").
struct KindWords {
    Text name, dialog;
};

KindWords WordsFor(FileKind kind) {
    switch (kind) {
        case FileKind::Hpgl:
            return {{"výkres HPGL", "an HPGL drawing"}, {"dialogu HPGL", "the HPGL dialog"}};
        case FileKind::Gcode:
            return {{"program G-kódu", "a G-code program"},
                    {"dialogu G-kódu", "the G-code dialog"}};
        case FileKind::Excellon:
        case FileKind::DrillList:
            return {{"vrtací soubor", "a drill file"}, {"dialogu vrtání", "the drilling dialog"}};
        case FileKind::Picture:
        case FileKind::Unknown:  // never named: such a file goes to its reader
            break;
    }
    return {{"obrázek", "a picture"}, {"dialogu reliéfu", "the relief dialog"}};
}

}  // namespace

KindGuard::KindGuard(Host& host, EventLog& log, std::initializer_list<FileKind> accepted,
                     bool redirect)
    : host_(host), log_(log), accepted_(accepted), redirect_(redirect) {}

FileChoice KindGuard::openFile(const std::vector<FileFilter>& filters, int filterIndex) {
    FileChoice choice = host_.openFile(filters, filterIndex);
    if (!choice.chosen) return choice;
    const FileKind kind = KindOfFile(choice.path);
    // An unknown file goes to the reader, which names its own fault.
    if (kind == FileKind::Unknown ||
        std::find(accepted_.begin(), accepted_.end(), kind) != accepted_.end())
        return choice;
    const int lang = log_.language();
    const KindWords words = WordsFor(kind);
    const std::string name = Caption(lang, words.name);
    const std::string dialog = Caption(lang, words.dialog);
    if (redirect_) {
        elsewhere_ = choice.path;
        SayFormatted(
            log_, {"Tento soubor vypadá jako %s: otevřen v %s", "This looks like %s: opened in %s"},
            true, false, name.c_str(), dialog.c_str());
    } else {
        SayFormatted(log_,
                     {"Tento soubor vypadá jako %s: otevřete ho v %s (v hlavním okně Otevřít…)",
                      "This looks like %s: open it in %s (Open… in the main window)"},
                     true, true, name.c_str(), dialog.c_str());
    }
    return {false, {}, choice.filterIndex};
}

}  // namespace korvex
