// korvex: the window program. The port backend comes from --port or
// KORVEX_PORT (sim, none, rawio, ppdev:DEV, auto; default auto: the
// parallel port when one opens, else the simulated machine).

#include <QApplication>
#include <QCommandLineParser>
#include <QLocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/korvex_window.h"
#include "app/qt_host.h"
#include "platform/port_select.h"
#include "platform/version.h"
#include "settings/config_file.h"
#include "settings/file_places.h"
#include "ui/controller.h"

int main(int argc, char** argv) {
    // Answered before the window system is asked for: works without a display.
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("korvex %s\n", korvex::ProgramVersion());
            return 0;
        }
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName("korvex");
    QApplication::setApplicationVersion(korvex::ProgramVersion());
    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addVersionOption();
    QCommandLineOption port("port", "Port backend: sim, none, rawio, ppdev:DEV or auto.",
                            "backend");
    parser.addOption(port);
    QCommandLineOption configDir("config-dir",
                                 "Folder for config.dat, the log and the solution files.", "DIR");
    parser.addOption(configDir);
    parser.process(app);

    const std::string backend = korvex::ChoosePortSpec(parser.value(port).toStdString(),
                                                       std::getenv("KORVEX_PORT"), "auto");
    if (!korvex::IsPortBackend(backend)) {
        std::fprintf(stderr, "%s: unknown port backend (sim, none, rawio, ppdev:DEV, auto)\n",
                     backend.c_str());
        return 2;
    }
    const korvex::FilePlaces places =
        korvex::ChooseFilePlaces(korvex::ProgramDirectory(), parser.value(configDir).toStdString());
    if (std::string error; !korvex::CreateFilePlaces(places, error))
        std::fprintf(stderr, "korvex: cannot create %s\n", error.c_str());
    korvex::Controller controller(places, {backend, false});
    // The build tree keeps the documented start-up; a per-user or chosen
    // folder starts from the factory settings without an error box.
    if (places.kind != korvex::PlaceKind::ProgramFolder)
        korvex::SeedConfigFile(controller.machine.log, places.configDir);
    controller.country = korvex::CountryOfLocale(QLocale::system().name().toStdString());
    korvex::QtHost host;
    korvex::KorvexWindow window(controller, host);
    window.show();
    window.start();
    if (window.view().ended()) return 0;
    return QApplication::exec();
}
