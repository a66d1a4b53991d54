#include "cli/cli_context.h"

#include <cstdlib>
#include <filesystem>
#include <new>

#include "log/event_log.h"
#include "platform/port_select.h"
#include "settings/config_file.h"

namespace korvex::cli {

Answer ConsoleHost::messageBox(const std::string&, const std::string& text, Buttons buttons, Icon) {
    std::fprintf(stderr, "%s\n", text.c_str());
    return buttons == Buttons::YesNo || buttons == Buttons::YesNoCancel ? Answer::Yes : Answer::Ok;
}

void CliContext::applyLanguage() {
    if (options.lang == "cz") machine.settings.language = 0;
    if (options.lang == "en") machine.settings.language = 1;
}

bool CliContext::prepare() {
    Machine& m = machine;
    // No host for the log: its boxes join the list lines on stderr.
    m.log.setListSink([](const std::string& line) { std::fprintf(stderr, "%s\n", line.c_str()); });
    places = ChooseFilePlaces(ProgramDirectory(), options.configDir);
    if (std::string error; !CreateFilePlaces(places, error))
        std::fprintf(stderr, "korvex-cli: cannot create %s\n", error.c_str());
    if (options.logFile.empty())
        m.log.start(places.logDir);
    else
        m.log.startFile(options.logFile);
    MachineSettings& s = m.settings;
    LoadFactoryDefaults(s);
    applyLanguage();  // the load's own messages already in the language asked for
    m.log.line(DescribeFilePlaces(places, m.log.language()), false, false);
    if (!options.factory) {
        if (!options.settingsFile.empty()) {
            if (!LoadSettings(s, m.log, options.settingsFile, 0, places.configDir)) return false;
        } else if (std::filesystem::exists(places.configDir + "/" + kConfigFileName)) {
            LoadSettings(s, m.log, kConfigFileName, 1, places.configDir);
        }
    }
    applyLanguage();
    try {
        m.buffer.allocate(s.commandCapacity);
    } catch (const std::bad_alloc&) {
        // A capacity from a bad config.dat must not end the program with an abort.
        m.log.say(
            {"Nepodarilo se alokovat pamet pro zasobnik prikazu", "Alloc memory for buffer failed"},
            true, true);
        return false;
    }
    options.port = ChoosePortSpec(options.port, std::getenv("KORVEX_PORT"), "sim");
    if (!IsPortBackend(options.port)) {
        std::fprintf(stderr, "%s: unknown port backend (sim, none, rawio, ppdev:DEV, auto)\n",
                     options.port.c_str());
        return false;
    }
    return true;
}

bool CliContext::portNamed() const {
    return options.port != "sim" && options.port != "none" && options.port != "auto";
}

bool CliContext::openNamedPort() {
    if (!portNamed() || namedPort_) return true;
    auto port = MakeHardwarePort(options.port, static_cast<uint16_t>(machine.settings.lptAddress));
    if (!port || !port->load()) {
        SayFormatted(machine.log,
                     {"Port %s nelze otevřít: %s; nic se nezařadilo ani nepohnulo",
                      "The port %s cannot be opened: %s; nothing was queued or moved"},
                     true, false, options.port.c_str(), port ? port->lastError().c_str() : "");
        return false;
    }
    namedPort_ = std::move(port);
    return true;
}

MotionRig& CliContext::startMotion() {
    if (motion) return *motion;
    Machine& m = machine;
    // Nothing queued may run before the port asked for has passed its test.
    m.gate.suspend();
    SimSurface surface;
    if (options.simSurface.size() == 3)
        surface = {options.simSurface[0], options.simSurface[1], options.simSurface[2]};
    motion = std::make_unique<MotionRig>(
        m, RigOptions{options.port, options.clock != "real", namedPort_.get()}, surface);
    namedPortFailed_ = portNamed() && !m.settings.useSerial && !m.signals.portReady.load();
    if (namedPortFailed_)
        SayFormatted(m.log,
                     {"Port %s neprošel testem: nic se nepohnulo",
                      "The port %s did not pass its test: nothing moved"},
                     true, false, options.port.c_str());
    else
        m.gate.resume();
    return *motion;
}

}  // namespace korvex::cli
