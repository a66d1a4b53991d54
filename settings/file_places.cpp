#include "settings/file_places.h"

#include <pwd.h>
#include <unistd.h>

#include <filesystem>
#include <system_error>

#include "log/text.h"

namespace fs = std::filesystem;

namespace korvex {
namespace {

bool Writable(const std::string& dir) {
    std::error_code error;
    return fs::is_directory(dir, error) && access(dir.c_str(), W_OK) == 0;
}

bool SameFolder(const std::string& a, const std::string& b) {
    std::error_code error;
    return fs::weakly_canonical(a, error) == fs::weakly_canonical(b, error);
}

std::string Home(const EnvLookup& env) {
    if (const char* home = env("HOME"); home && *home) return home;
    const passwd* user = getpwuid(getuid());
    return user && user->pw_dir ? user->pw_dir : "/";
}

// The XDG rule: an absolute path in `variable`, else `fallback` under home.
std::string BaseFolder(const EnvLookup& env, const char* variable, const char* fallback) {
    if (const char* value = env(variable); value && value[0] == '/') return value;
    return Home(env) + fallback;
}

}  // namespace

FilePlaces ChooseFilePlaces(const std::string& programDir, const std::string& chosenDir,
                            const EnvLookup& env) {
    if (!chosenDir.empty()) return {chosenDir, chosenDir, PlaceKind::Chosen};
    // Even root, who may write there, must not leave files in /usr/bin.
    if (Writable(programDir) && !SameFolder(programDir, KORVEX_INSTALL_BINDIR))
        return {programDir, programDir, PlaceKind::ProgramFolder};
    return {BaseFolder(env, "XDG_CONFIG_HOME", "/.config") + "/korvex",
            BaseFolder(env, "XDG_STATE_HOME", "/.local/state") + "/korvex", PlaceKind::UserFolders};
}

std::string ProgramDirectory() {
    std::error_code error;
    return fs::read_symlink("/proc/self/exe", error).parent_path().string();
}

bool CreateFilePlaces(const FilePlaces& places, std::string& error) {
    for (const std::string& dir : {places.configDir, places.logDir}) {
        std::error_code failure;
        fs::create_directories(dir, failure);
        if (failure) {
            error = dir + ": " + failure.message();
            return false;
        }
    }
    return true;
}

std::string DescribeFilePlaces(const FilePlaces& places, int language) {
    switch (places.kind) {
        case PlaceKind::Chosen:
            return places.configDir +
                   Caption(language, {" (zvoleno --config-dir)", " (chosen by --config-dir)"});
        case PlaceKind::ProgramFolder:
            return places.configDir +
                   Caption(language, {" (složka programu)", " (program folder)"});
        case PlaceKind::UserFolders:
            break;
    }
    return FormatCaption(language,
                         {"%s (složky uživatele, záznam v %s)", "%s (user folders, log in %s)"},
                         places.configDir.c_str(), places.logDir.c_str());
}

}  // namespace korvex
