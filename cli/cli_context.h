#pragma once
// What every korvex-cli command works with: the machine, the program's
// directory and the options given before the command.

#include <cstdio>
#include <functional>
#include <memory>
#include <string>

#include "motion/machine.h"
#include "motion/motion_rig.h"
#include "platform/headless.h"
#include "settings/file_places.h"

namespace korvex::cli {

// Exit codes of korvex-cli.
enum ExitCode { kExitOk = 0, kExitRefused = 1, kExitUsage = 2 };

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

    // Chooses and creates the file folders, starts the event log's file and
    // wires the log to stderr, then loads the settings the global options ask
    // for. Returns false (after a message) when --settings cannot be read.
    bool prepare();
    // Starts the machine on the port and clock the options ask for; the
    // commands queued so far start running at once.
    MotionRig& startMotion();

  private:
    void applyLanguage();
};

}  // namespace korvex::cli
