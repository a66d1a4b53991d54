#include "settings/config_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <locale.h>
#include <stdlib.h>
#include <algorithm>
#include <cerrno>
#include <charconv>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <limits>
#include <variant>

#include "log/event_log.h"
#include "log/text.h"

namespace korvex {
namespace {

enum class Kind { Int, Hex, Float, String };

struct Field {
    const char* name;
    int line;  // 1-based line in config.dat
    Kind kind;
    std::variant<int MachineSettings::*, float MachineSettings::*, std::string MachineSettings::*>
        member;
};

using S = MachineSettings;

// Record order; `line` gives the file order.
const Field kFields[] = {
    {"language", 1, Kind::Int, &S::language},
    {"mmPerStepX", 2, Kind::Float, &S::mmPerStepX},
    {"mmPerStepY", 3, Kind::Float, &S::mmPerStepY},
    {"mmPerStepZ", 4, Kind::Float, &S::mmPerStepZ},
    {"cuttingSpeed", 5, Kind::Float, &S::cuttingSpeed},
    {"plungeSpeed", 43, Kind::Float, &S::plungeSpeed},
    {"moveSpeedX", 34, Kind::Float, &S::moveSpeedX},
    {"moveSpeedY", 35, Kind::Float, &S::moveSpeedY},
    {"moveSpeedZ", 36, Kind::Float, &S::moveSpeedZ},
    {"accelSpeedX", 37, Kind::Float, &S::accelSpeedX},
    {"accelSpeedY", 38, Kind::Float, &S::accelSpeedY},
    {"accelSpeedZ", 39, Kind::Float, &S::accelSpeedZ},
    {"cutDepth", 6, Kind::Float, &S::cutDepth},
    {"safeHeight", 7, Kind::Float, &S::safeHeight},
    {"dwellSeconds", 8, Kind::Float, &S::dwellSeconds},
    {"travelX", 9, Kind::Float, &S::travelX},
    {"travelY", 10, Kind::Float, &S::travelY},
    {"travelZ", 11, Kind::Float, &S::travelZ},
    {"sensorDepth", 12, Kind::Float, &S::sensorDepth},
    {"showMillimetres", 13, Kind::Int, &S::showMillimetres},
    {"spareFlag", 14, Kind::Int, &S::spareFlag},
    {"originMiddle", 15, Kind::Int, &S::originMiddle},
    {"hpglUnitsPerInch", 16, Kind::Int, &S::hpglUnitsPerInch},
    {"useSerial", 17, Kind::Int, &S::useSerial},
    {"lptAddress", 18, Kind::Hex, &S::lptAddress},
    {"comAddress", 19, Kind::Hex, &S::comAddress},
    {"driveMode", 20, Kind::Int, &S::driveMode},
    {"refreshMs", 21, Kind::Int, &S::refreshMs},
    {"spareInt", 22, Kind::Int, &S::spareInt},
    {"linearRampX", 40, Kind::Int, &S::linearRampX},
    {"linearRampY", 41, Kind::Int, &S::linearRampY},
    {"linearRampZ", 42, Kind::Int, &S::linearRampZ},
    {"commandCapacity", 23, Kind::Int, &S::commandCapacity},
    {"switchMachine", 24, Kind::Int, &S::switchMachine},
    {"switchSpindle", 25, Kind::Int, &S::switchSpindle},
    {"stepPulseUs", 26, Kind::Int, &S::stepPulseUs},
    {"dirSetupUs", 27, Kind::Int, &S::dirSetupUs},
    {"invertStep", 28, Kind::Int, &S::invertStep},
    {"executorPriority", 29, Kind::Int, &S::executorPriority},
    {"invertDirX", 30, Kind::Int, &S::invertDirX},
    {"invertDirY", 31, Kind::Int, &S::invertDirY},
    {"invertDirZ", 32, Kind::Int, &S::invertDirZ},
    {"softLimits", 33, Kind::Int, &S::softLimits},
    {"rampSteps", 44, Kind::Int, &S::rampSteps},
    {"drawByRefresh", 46, Kind::Int, &S::drawByRefresh},
    {"oldTimer", 47, Kind::Int, &S::oldTimer},
    {"invertPin1", 49, Kind::Int, &S::invertPin1},
    {"invertPin14", 50, Kind::Int, &S::invertPin14},
    {"invertPin16", 51, Kind::Int, &S::invertPin16},
    {"invertPin17", 52, Kind::Int, &S::invertPin17},
    {"invertSwitches", 45, Kind::Int, &S::invertSwitches},
    {"invertEmergency", 48, Kind::Int, &S::invertEmergency},
    {"pinStepX", 53, Kind::Int, &S::pinStepX},
    {"pinDirX", 54, Kind::Int, &S::pinDirX},
    {"pinStepY", 55, Kind::Int, &S::pinStepY},
    {"pinDirY", 56, Kind::Int, &S::pinDirY},
    {"pinStepZ", 57, Kind::Int, &S::pinStepZ},
    {"pinDirZ", 58, Kind::Int, &S::pinDirZ},
    {"pinStepS4", 59, Kind::Int, &S::pinStepS4},
    {"pinDirS4", 60, Kind::Int, &S::pinDirS4},
    {"pinLimitX", 61, Kind::Int, &S::pinLimitX},
    {"pinLimitY", 62, Kind::Int, &S::pinLimitY},
    {"pinLimitZ", 63, Kind::Int, &S::pinLimitZ},
    {"pinZSensor", 64, Kind::Int, &S::pinZSensor},
    {"pinEmergency", 65, Kind::Int, &S::pinEmergency},
    {"setupName", 66, Kind::String, &S::setupName},
    {"setupVersion", 67, Kind::String, &S::setupVersion},
    {"laserPenMode", 68, Kind::Int, &S::laserPenMode},
};
static_assert(std::size(kFields) == 68);

std::vector<const Field*> FileOrder() {
    std::vector<const Field*> order;
    for (const Field& f : kFields) order.push_back(&f);
    std::sort(order.begin(), order.end(),
              [](const Field* a, const Field* b) { return a->line < b->line; });
    return order;
}

std::string FormatValue(const MachineSettings& s, const Field& f) {
    switch (f.kind) {
        case Kind::Int:
            return std::to_string(s.*std::get<int S::*>(f.member));
        case Kind::Hex:
            return Format("%X", static_cast<unsigned>(s.*std::get<int S::*>(f.member)));
        case Kind::Float:
            return Format("%f", static_cast<double>(s.*std::get<float S::*>(f.member)));
        case Kind::String:
            return s.*std::get<std::string S::*>(f.member);
    }
    return {};
}

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Whitespace-separated scanning of the file text. A numeric field takes the
// next word only when the whole word is a number of its kind; otherwise the
// field keeps its default and the position stays put, so every later numeric
// field fails on the same word while string fields still take words.
class Scanner {
  public:
    explicit Scanner(const std::string& text) : text_(text) {}

    bool word(std::string_view& out) {
        while (pos_ < text_.size() && IsSpace(text_[pos_])) ++pos_;
        size_t end = pos_;
        while (end < text_.size() && !IsSpace(text_[end])) ++end;
        if (end == pos_) return false;
        out = std::string_view(text_).substr(pos_, end - pos_);
        return true;
    }
    void take(std::string_view w) { pos_ += w.size(); }

  private:
    const std::string& text_;
    size_t pos_ = 0;
};

// Decimal values saturate at int's range; hexadecimal ones are unsigned and
// wrap to 32 bits, so an address written as FFFFFFFF reads back as written.
bool ParseInt(std::string_view w, int base, int& out) {
    if (!w.empty() && w.front() == '+') w.remove_prefix(1);
    bool negative = !w.empty() && w.front() == '-';
    if (negative) w.remove_prefix(1);
    if (base == 16 && w.size() > 2 && w[0] == '0' && (w[1] == 'x' || w[1] == 'X'))
        w.remove_prefix(2);
    if (w.empty() || w.front() == '+' || w.front() == '-') return false;
    unsigned long long value = 0;
    auto [end, error] = std::from_chars(w.data(), w.data() + w.size(), value, base);
    if (end != w.data() + w.size()) return false;
    if (base == 16) {
        uint32_t bits = error == std::errc::result_out_of_range || value > UINT32_MAX
                            ? UINT32_MAX
                            : static_cast<uint32_t>(value);
        if (negative) bits = 0u - bits;
        out = static_cast<int>(bits);
        return true;
    }
    if (error == std::errc::result_out_of_range || value > uint64_t{1} << 32)
        value = uint64_t{1} << 32;
    const long long signedValue =
        negative ? -static_cast<long long>(value) : static_cast<long long>(value);
    out = static_cast<int>(std::clamp<long long>(signedValue, INT_MIN, INT_MAX));
    return true;
}

bool ParseFloat(std::string_view w, float& out) {
    static const locale_t c = newlocale(LC_ALL_MASK, "C", nullptr);
    const std::string word(w);
    char* end = nullptr;
    double value = strtod_l(word.c_str(), &end, c);
    if (end == word.c_str() || *end != '\0') return false;
    constexpr double kMax = std::numeric_limits<float>::max();
    out = value > kMax    ? std::numeric_limits<float>::infinity()
          : value < -kMax ? -std::numeric_limits<float>::infinity()
                          : static_cast<float>(value);
    return true;
}

constexpr size_t kMaxConfigBytes = 64 * 1024;

std::string PathOf(const std::string& name, int inProgramDir, const std::string& moduleDir) {
    return inProgramDir ? moduleDir + "/" + name : name;
}

// 0 when `path` (links followed) is missing or a regular file, else the
// error that names what it is.
int NotARegularFile(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || S_ISREG(info.st_mode)) return 0;
    return S_ISDIR(info.st_mode) ? EISDIR : ENODEV;
}

// Opens a regular file for reading without blocking on what is not one: a
// FIFO would wait for a writer forever, a device could act on the open.
std::FILE* OpenRegularForReading(const std::string& path) {
    if (const int error = NotARegularFile(path)) {
        errno = error;
        return nullptr;
    }
    // O_NONBLOCK: the path may have become a FIFO since the check.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return nullptr;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        errno = S_ISDIR(info.st_mode) ? EISDIR : ENODEV;
        return nullptr;
    }
    std::FILE* f = ::fdopen(fd, "rb");
    if (!f) ::close(fd);
    return f;
}

// A settings file reached through a symbolic link is saved into the link's
// target, so the link stays a link and the target does not go stale.
std::string SavedFilePath(const std::string& path) {
    std::error_code error;
    if (!std::filesystem::is_symlink(std::filesystem::symlink_status(path, error))) return path;
    const std::filesystem::path target = std::filesystem::weakly_canonical(path, error);
    return error ? path : target.string();
}

}  // namespace

std::string SettingsFileText(const MachineSettings& s) {
    std::string text;
    for (const Field* f : FileOrder()) text += FormatValue(s, *f) + "\n";
    return text;
}

void ParseSettingsText(MachineSettings& s, const std::string& text) {
    LoadFactoryDefaults(s);
    Scanner scan(text);
    for (const Field* f : FileOrder()) {
        std::string_view w;
        if (!scan.word(w)) return;  // end of file: the rest keep their defaults
        switch (f->kind) {
            case Kind::Int:
            case Kind::Hex:
                if (ParseInt(w, f->kind == Kind::Hex ? 16 : 10, s.*std::get<int S::*>(f->member)))
                    scan.take(w);
                break;
            case Kind::Float:
                if (ParseFloat(w, s.*std::get<float S::*>(f->member))) scan.take(w);
                break;
            case Kind::String:
                // Words longer than the record's buffer are cut, never overrun.
                s.*std::get<std::string S::*>(f->member) =
                    std::string(w.substr(0, kMaxSettingsString));
                scan.take(w);
                break;
        }
    }
}

std::vector<std::string> SettingsFieldLines(const MachineSettings& s) {
    std::vector<std::string> lines;
    for (const Field& f : kFields) lines.push_back(std::string(f.name) + "=" + FormatValue(s, f));
    return lines;
}

int SeedConfigFile(EventLog& log, const std::string& dir) {
    std::error_code error;
    if (std::filesystem::symlink_status(PathOf(kConfigFileName, 1, dir), error).type() !=
        std::filesystem::file_type::not_found)
        return 0;
    MachineSettings factory;
    LoadFactoryDefaults(factory);
    return SaveSettings(factory, log, kConfigFileName, 1, dir);
}

int LoadSettings(MachineSettings& s, EventLog& log, const std::string& name, int inProgramDir,
                 const std::string& moduleDir) {
    LoadFactoryDefaults(s);
    const std::string path = PathOf(name, inProgramDir, moduleDir);
    // A device, FIFO or folder named as the settings file is never read.
    std::FILE* f = OpenRegularForReading(path);
    if (!f) {
        const char* reason = std::strerror(errno);
        if (auto form = Pick(s.language, {"chyba pri nactení nastavení \n %s ",
                                          "error with loading setup \n %s "}))
            log.line(Format(form->c_str(), reason), true, true);
        return 0;
    }
    // A real config.dat is under 4 kB: anything much longer is not one.
    std::string text(kMaxConfigBytes + 1, '\0');
    text.resize(std::fread(text.data(), 1, text.size(), f));
    bool failed = std::ferror(f) != 0 || text.size() > kMaxConfigBytes;
    std::fclose(f);
    if (failed) text.clear();
    ParseSettingsText(s, text);
    if (failed) {
        log.say(s.language,
                {"problem s nactenim hodnot ze souboru nastaveni",
                 "read error with some value of settings (from file)"},
                true, true);
        return 0;
    }
    log.say(
        s.language,
        {"nacteni hodnot ze souboru nastaveni OK", "reading all values of settings (from file) OK"},
        false, false);
    return 1;
}

int SaveSettings(const MachineSettings& s, EventLog& log, const std::string& name, int inProgramDir,
                 const std::string& moduleDir) {
    const std::string path = SavedFilePath(PathOf(name, inProgramDir, moduleDir));
    // Written beside the target and renamed over it, so the old file stays
    // whole until the new one is complete. The rename would replace a
    // device node or FIFO too: only a regular file is saved over. A stale
    // temporary file, or a link in its place, is removed, never followed.
    const std::string temporary = path + ".tmp";
    int fd = -1;
    if (const int error = NotARegularFile(path)) {
        errno = error;
    } else {
        ::unlink(temporary.c_str());
        fd = ::open(temporary.c_str(),
                    O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
    }
    struct stat old {};
    if (fd >= 0 && ::stat(path.c_str(), &old) == 0) ::fchmod(fd, old.st_mode & 07777);
    if (fd < 0) {
        const char* reason = std::strerror(errno);
        if (auto form = Pick(s.language, {"chyba pri zapisu nastaveni \n %s ",
                                          "error with writing setup \n %s "}))
            log.line(Format(form->c_str(), reason), true, true);
        return 0;
    }
    const std::string text = SettingsFileText(s);
    bool ok = true;
    for (size_t done = 0; ok && done < text.size();) {
        ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        ok = n > 0;
        if (ok) done += static_cast<size_t>(n);
    }
    ok = ::fsync(fd) == 0 && ok;
    ok = ::close(fd) == 0 && ok;
    ok = ok && std::rename(temporary.c_str(), path.c_str()) == 0;
    if (!ok) {
        std::remove(temporary.c_str());
        log.say(s.language,
                {"problem se zapsanim hodnot do souboru nastaveni",
                 "write error with some value of settings (to file)"},
                true, true);
        return 0;
    }
    log.say(
        s.language,
        {"zapsani hodnot de souboru nastaveni OK", "writing all values of settings (to file) OK"},
        false, false);
    return 1;
}

}  // namespace korvex
