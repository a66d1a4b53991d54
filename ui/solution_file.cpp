#include "ui/solution_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "log/event_log.h"
#include "platform/host.h"

namespace korvex {

namespace {

// Names are cut to what the file dialogs' 260-character buffer holds.
constexpr size_t kMaxPath = 259;

std::string PathOf(const std::string& name, bool inModuleDir, const std::string& moduleDir) {
    std::string path = inModuleDir ? moduleDir + "/" + name : name;
    return path.substr(0, kMaxPath);
}

std::vector<FileFilter> SolutionFilter(int language) {
    return {{Caption(language, {"Soubor Solution (práce) (*.sol)", "File of Solution (*.sol)"}),
             "*.sol"}};
}

// Opens `path` in `mode`; on failure a box with the system's reason.
std::FILE* Open(EventLog& log, const std::string& path, const char* mode, Text failure) {
    std::FILE* f = std::fopen(path.c_str(), mode);
    if (!f) {
        const std::string reason = std::strerror(errno);
        SayFormatted(log, failure, true, true, reason.c_str());
    }
    return f;
}

}  // namespace

int WriteSolutionFile(EventLog& log, const std::string& name, bool inModuleDir,
                      const std::string& moduleDir) {
    std::FILE* f = Open(log, PathOf(name, inModuleDir, moduleDir), "w",
                        {"chyba pri zapisu prace \n %s ", "error with writing solution \n %s "});
    if (!f) return 0;
    const bool failed = std::ferror(f) != 0;
    // A close that fails to flush is a failed write too.
    const bool closeFailed = std::fclose(f) != 0;
    if (failed || closeFailed) {
        log.say({"problem se zapsanim hodnot do souboru prace",
                 "write error with some value of solution (to file)"},
                true, true);
        return 0;
    }
    log.say({"zapsani hodnot de souboru prace OK", "writing all values of solution (to file) OK"},
            false, false);
    return 1;
}

int ReadSolutionFile(EventLog& log, const std::string& name, bool inModuleDir,
                     const std::string& moduleDir) {
    std::FILE* f = Open(log, PathOf(name, inModuleDir, moduleDir), "r",
                        {"chyba pri nactení prace \n %s ", "error with loading colution \n %s "});
    if (!f) return 0;
    const bool failed = std::ferror(f) != 0;
    std::fclose(f);
    if (failed) {
        log.say({"problem s nactenim hodnot ze souboru nastaveni",
                 "read error with some value of settings (from file)"},
                true, true);
        return 0;
    }
    log.say(
        {"nacteni hodnot ze souboru nastaveni OK", "reading all values of settings (from file) OK"},
        false, false);
    return 1;
}

int SaveSolution(EventLog& log, Host& host) {
    FileChoice f = host.saveFile(SolutionFilter(log.language()), 1);
    if (!f.chosen) return 0;
    if (f.path.find(".sol") == std::string::npos && f.path.size() + 4 <= kMaxPath) f.path += ".sol";
    return WriteSolutionFile(log, f.path, false, {});
}

int LoadSolution(EventLog& log, Host& host) {
    const FileChoice f = host.openFile(SolutionFilter(log.language()), 1);
    if (!f.chosen) return 0;
    return ReadSolutionFile(log, f.path, false, {});
}

}  // namespace korvex
