#include <functional>
#include <new>
#include <optional>

#include "drilling/drill_limits.h"
#include "drilling/drill_readers.h"
#include "drilling/drill_words.h"
#include "motion/machine.h"
#include "platform/file_read.h"

namespace korvex {

namespace {

void Report(EventLog& log, Text text, std::string_view detail = {}) {
    auto picked = Pick(log.language(), text);
    if (!picked) return;
    if (!detail.empty()) *picked += ": " + std::string(detail);
    LogLine(log, *picked, true, true);
}

// Leaves nothing of a refused file: no counts, no drills, no holes.
void Empty(DrillSet& set) {
    set.toolCount = 0;
    set.holeCount = 0;
    set.tools = {};
    set.holes.clear();
    set.fieldWidth = set.fieldHeight = 0;
}

constexpr Text kChecksum{"kontrolni soucet der je spatny", "Sumary count of holes failed"};

enum class Scan { kDone, kRefused, kStopped };

// One reading of the file: hands every drill definition and hole word to
// the callbacks (a word may be both) until one of them returns false, after
// the checks that refuse a file (reported here).
Scan ScanWords(EventLog& log, std::string_view text, const DrillFormat& format,
               const std::function<bool(std::string_view)>& onDrill,
               const std::function<bool(std::string_view)>& onHole) {
    WordScanner words(text);
    std::string_view word;
    while (words.next(word)) {
        if (word.size() > kMaxDrillWordLength) {
            Report(log, kDrillWordTooLong);
            return Scan::kRefused;
        }
        if (const Text* reason = format.refusal(word)) {
            Report(log, *reason, word);
            return Scan::kRefused;
        }
        if (format.isDrill(word) && !onDrill(word)) return Scan::kStopped;
        if (word.find('X') != std::string_view::npos && !onHole(word)) return Scan::kStopped;
    }
    return Scan::kDone;
}

void ReportUnreadDrills(EventLog& log, std::string_view text, const DrillFormat& format) {
    if (!format.unreadDrill) return;
    WordScanner words(text);
    std::string_view word;
    while (words.next(word))
        if (const Text* reason = format.unreadDrill(word)) return Report(log, *reason, word);
}

// Pass 1: counts drills and holes and reads the diameters.
bool CountPass(EventLog& log, std::string_view text, const DrillFormat& format, DrillSet& set) {
    set.toolCount = -1;
    set.holeCount = -1;
    set.tools = {};
    set.holes.clear();
    const Scan scan = ScanWords(
        log, text, format,
        [&](std::string_view word) {
            if (++set.toolCount >= kMaxDrillTools) {
                Report(log, kDrillTooManyDrills);
                return false;
            }
            set.tools[set.toolCount].diameter = format.diameterMm(word);
            return true;
        },
        [&](std::string_view) {
            ++set.holeCount;
            return true;
        });
    if (scan != Scan::kDone) {
        Empty(set);
        return false;
    }
    ++set.toolCount;
    ++set.holeCount;
    if (set.toolCount == 0 || set.holeCount == 0) {
        Report(log, format.countIsZero);
        if (set.toolCount == 0) ReportUnreadDrills(log, text, format);
        return false;
    }
    return true;
}

// Pass 2: fills the holes. Any difference from the counts of pass 1 means
// the file changed in between.
bool FillPass(Machine& m, std::string_view text, const DrillFormat& format, DrillSet& set) {
    int drill = -1;
    size_t filled = 0;
    const Scan scan = ScanWords(
        m.log, text, format, [&](std::string_view) { return ++drill < set.toolCount; },
        [&](std::string_view word) {
            if (filled >= set.holes.size()) return false;
            DrillHole h = format.hole(word, m.settings);
            h.tool = drill;
            set.holes[filled++] = h;
            return true;
        });
    if (scan == Scan::kRefused) {
        Empty(set);
        return false;
    }
    if (scan == Scan::kStopped || drill + 1 != set.toolCount || filled != set.holes.size()) {
        Report(m.log, kChecksum);
        return false;
    }
    return true;
}

}  // namespace

int LoadDrillFile(Machine& m, DrillSet& set, const std::string& path, const DrillFormat& format) {
    set.drillPath = path;
    std::optional<std::string> text = ReadRegularFile(path);
    if (!text) {
        Report(m.log, format.openFailed);
        return 0;
    }
    if (!CountPass(m.log, *text, format, set)) return 0;
    try {
        set.holes.assign(static_cast<size_t>(set.holeCount), DrillHole{0, 0, 0});
    } catch (const std::bad_alloc&) {
        Report(m.log, format.noMemory);
        return 0;
    }
    text = ReadRegularFile(path);
    bool loaded = false;
    if (!text)
        Report(m.log, format.openFailedAgain);
    else
        loaded = FillPass(m, *text, format, set) && normaliseDrillSet(m.log, set);
    if (!loaded) set.holes.clear();
    return loaded ? 1 : 0;
}

namespace {
int ReadDrillFile(Machine& m, Host& host, DrillSet& set, const DrillFormat& format) {
    FileChoice choice = host.openFile({format.filter}, kDrillFilterIndex);
    if (!choice.chosen) {
        set.toolCount = 0;
        return kDrillReadCancelled;
    }
    return LoadDrillFile(m, set, choice.path, format) ? kDrillReadLoaded : kDrillReadFailed;
}
}  // namespace

int readExcellonFile(Machine& m, Host& host, DrillSet& set) {
    return ReadDrillFile(m, host, set, kExcellonFormat);
}

int readSimpleDrillFile(Machine& m, Host& host, DrillSet& set) {
    return ReadDrillFile(m, host, set, kSimpleDrillFormat);
}

}  // namespace korvex
