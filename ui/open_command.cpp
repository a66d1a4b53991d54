#include "ui/open_command.h"

#include "drilling/drill_readers.h"
#include "drilling/excellon_full.h"
#include "machining/raster_image.h"
#include "platform/file_kind.h"
#include "platform/host.h"
#include "ui/controller.h"
#include "ui/main_ids.h"
#include "ui/main_menu.h"
#include "ui/model_commands.h"
#include "ui/window_view.h"
#include "vector/hpgl_reader.h"

namespace korvex {

using namespace mainwin;

OpenCommand::OpenCommand(Controller& c, WindowView& view, Host& host, ModelCommands& model,
                         std::function<void(DialogKind)> openDialog)
    : c_(c), view_(view), host_(host), model_(model), openDialog_(std::move(openDialog)) {}

void OpenCommand::start() {
    c_.recent.load(c_.moduleDir);
    showMenu();
}

void OpenCommand::showMenu() {
    view_.setMenu(MainMenu(c_.machine.log.language(), c_.recent.paths()));
    model_.updateControls();
}

void OpenCommand::choose() {
    const bool czech = c_.machine.log.language() == 0;
    const FileChoice choice = host_.openFile(
        {{czech ? "Soubory, které Korvex čte" : "Files Korvex reads",
          "*.plt;*.hpgl;*.hpg;*.art;*.nc;*.ngc;*.gcode;*.tap;*.cnc;*.drl;*.exc;*.xln;*.txt;*.vrt;"
          "*.bmp;*.jpg;*.jpeg;*.tif;*.tiff"},
         {czech ? "Všechny soubory" : "All files", "*"}},
        1);
    if (choice.chosen) open(choice.path);
}

void OpenCommand::recent(int index) {
    // A copy: opening moves the entry to the top of the list.
    if (index >= 0 && index < static_cast<int>(c_.recent.paths().size()))
        open(std::string(c_.recent.paths()[static_cast<size_t>(index)]));
}

void OpenCommand::open(const std::string& path) {
    Machine& m = c_.machine;
    EventLog& log = m.log;
    const FileKind kind = KindOfFile(path);
    if (kind == FileKind::Unknown) {
        SayFormatted(log,
                     {"Soubor %s není výkres HPGL, vrtací soubor, obrázek ani program G-kódu.",
                      "The file %s is not an HPGL drawing, a drill file, a picture or a G-code "
                      "program."},
                     true, true, path.c_str());
        return;
    }
    c_.recent.add(path);
    showMenu();
    switch (kind) {
        case FileKind::Hpgl:
            model_.load(path);
            break;
        case FileKind::Gcode:
            if (c_.gcode.load(path)) openDialog_(DialogKind::Gcode);
            break;
        case FileKind::Picture:
            if (LoadRasterImage(c_.raster, path, host_, log)) openDialog_(DialogKind::Relief);
            break;
        case FileKind::Excellon:
            if (LoadExcellonFullFile(m, c_.drills, path)) openDialog_(DialogKind::Drilling);
            break;
        case FileKind::DrillList:
            if (LoadDrillFile(m, c_.drills, path, kSimpleDrillFormat))
                openDialog_(DialogKind::Drilling);
            break;
        case FileKind::Unknown:
            break;
    }
}

}  // namespace korvex
