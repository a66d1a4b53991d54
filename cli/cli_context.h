#pragma once
// What every korvex-cli command works with: the machine, the program's
// directory and the options given before the command.

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "motion/machine.h"
#include "motion/motion_rig.h"
#include "platform/headless.h"
#include "settings/file_places.h"

namespace korvex::cli {

// Exit codes of korvex-cli. kExitStopped: a job stop waited for an operator
// and the job ended there (no terminal to answer, or the answer q).
enum ExitCode { kExitOk = 0, kExitRefused = 1, kExitUsage = 2, kExitStopped = 3 };

struct GlobalOptions {
    std::string settingsFile;
    bool factory = false;
    std::string lang;  // "", "cz" or "en"
    // sim | none | ppdev:DEV | rawio | auto; after prepare() always set:
    // --port, else KORVEX_PORT, else sim.
    std::string port;
    std::string clock = "virtual";
    std::string logFile;    // the event log; empty: listbox.txt in the log folder
    std::string configDir;  // --config-dir; empty: the folders ChooseFilePlaces picks
    // --sim-surface TX, TY, BOW (mm); empty: the simulated material is flat.
    std::vector<double> simSurface;
};

// Boxes go to stderr and are answered Yes/Ok.
class ConsoleHost final : public DesktopFreeHost {
  public:
    Answer messageBox(const std::string& title, const std::string& text, Buttons buttons,
                      Icon icon) override;
};

struct CliContext {
    GlobalOptions options;
    // Where config.dat and the log live; set by prepare().
    FilePlaces places;
    ConsoleHost host;
    Machine machine;
    // The chosen command, run by main() once the settings are loaded.
    std::function<int()> command;
    // The started machine (port, clock, executor), once startMotion() ran.
    std::unique_ptr<MotionRig> motion;
    // Where the operator answers a job's stops on a real port: the
    // terminal, null when there is none.
    std::FILE* operatorInput = nullptr;

    // Chooses and creates the file folders, starts the event log's file and
    // wires the log to stderr, then loads the settings the global options ask
    // for. Returns false (after a message) when --settings cannot be read.
    bool prepare();
    // Before a job that runs queues anything: opens the port --port names
    // (rawio, ppdev:DEV). False, after the message, when it cannot be
    // opened. sim, none and auto are opened by startMotion (auto falls back
    // to sim, saying so).
    bool openNamedPort();
    // Starts the machine on the port and clock the options ask for; the
    // commands queued so far start running at once, unless the port --port
    // names failed its test (namedPortFailed): then nothing runs.
    MotionRig& startMotion();
    bool namedPortFailed() const { return namedPortFailed_; }

  private:
    void applyLanguage();
    bool portNamed() const;

    std::unique_ptr<PortIo> namedPort_;
    bool namedPortFailed_ = false;
};

}  // namespace korvex::cli
