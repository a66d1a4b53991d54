// korvex: the window program. The port backend comes from --port or
// KORVEX_PORT (sim, none, rawio, ppdev:DEV, auto; default auto: the
// parallel port when one opens, else the simulated machine).

#include <QApplication>
#include <QCommandLineParser>
#include <QLocale>
#include <cstdio>
#include <cstdlib>

#include "app/korvex_window.h"
#include "app/qt_host.h"
#include "platform/port_select.h"
#include "ui/controller.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("korvex");
    QCommandLineParser parser;
    parser.addHelpOption();
    QCommandLineOption port("port", "Port backend: sim, none, rawio, ppdev:DEV or auto.",
                            "backend");
    parser.addOption(port);
    parser.process(app);

    const std::string backend = korvex::ChoosePortSpec(parser.value(port).toStdString(),
                                                       std::getenv("KORVEX_PORT"), "auto");
    if (!korvex::IsPortBackend(backend)) {
        std::fprintf(stderr, "%s: unknown port backend (sim, none, rawio, ppdev:DEV, auto)\n",
                     backend.c_str());
        return 2;
    }
    korvex::Controller controller(QCoreApplication::applicationDirPath().toStdString(),
                                  {backend, false});
    controller.country = korvex::CountryOfLocale(QLocale::system().name().toStdString());
    korvex::QtHost host;
    korvex::KorvexWindow window(controller, host);
    window.show();
    window.start();
    if (window.view().ended()) return 0;
    return QApplication::exec();
}
