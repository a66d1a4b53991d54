#pragma once
// "Uložit aktuální práci / Save current solution" and "Nahrát práci / Load
// saved solution": a solution file (*.sol) carries no data yet, so saving
// writes an empty file and loading opens and closes it. A load leaves the
// settings alone. Window thread.

#include <string>

namespace korvex {

class EventLog;
class Host;

// The path is `name`, or `moduleDir` + "/" + `name` when `inModuleDir`.
// 1 on success; 0 after a box naming the system's reason.
int WriteSolutionFile(EventLog& log, const std::string& name, bool inModuleDir,
                      const std::string& moduleDir);
int ReadSolutionFile(EventLog& log, const std::string& name, bool inModuleDir,
                     const std::string& moduleDir);

// The file dialogs, then the file. A cancelled dialog does nothing and
// returns 0; a name without ".sol" in it is saved with ".sol" appended.
int SaveSolution(EventLog& log, Host& host);
int LoadSolution(EventLog& log, Host& host);

}  // namespace korvex
