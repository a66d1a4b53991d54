#pragma once
// Where the program keeps its files: config.dat and the solution files in
// one folder, the event log (listbox.txt) in another or the same.
//
// A program run from a folder it may write (a build tree, a copy in the
// operator's own folder) keeps them beside itself. An installed one, whose
// folder belongs to the system, uses the XDG per-user folders instead;
// --config-dir names one folder for everything.

#include <cstdlib>
#include <functional>
#include <string>

namespace korvex {

enum class PlaceKind { Chosen, ProgramFolder, UserFolders };

struct FilePlaces {
    std::string configDir;  // config.dat and the solution files
    std::string logDir;     // listbox.txt
    PlaceKind kind = PlaceKind::ProgramFolder;
};

// Reads an environment variable; null when it is not set.
using EnvLookup = std::function<const char*(const char*)>;

// `chosenDir` when not empty; else `programDir` when it is writable and not
// the folder the program is installed to; else $XDG_CONFIG_HOME/korvex and
// $XDG_STATE_HOME/korvex (a relative or empty variable counts as unset:
// ~/.config and ~/.local/state then).
FilePlaces ChooseFilePlaces(const std::string& programDir, const std::string& chosenDir,
                            const EnvLookup& env = std::getenv);

// The folder of the running executable.
std::string ProgramDirectory();

// Creates the folders with their parents. False, with `error` naming the
// folder and the reason, when one cannot be made.
bool CreateFilePlaces(const FilePlaces& places, std::string& error);

// The start-up log line: the folder and why it was chosen.
std::string DescribeFilePlaces(const FilePlaces& places, int language);

}  // namespace korvex
