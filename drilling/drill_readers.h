#pragma once
// The two drill file readers: an Excellon subset (.drl) and the simple drill
// list (.vrt). Both read the file twice, first counting drills and holes,
// then filling the DrillSet, and finish with normaliseDrillSet.
//
// Excellon: a word with "C." defines a drill ('T1C.0315', inches from the
// word's fourth character on); a word with "X" is a hole in 0.0001 inch,
// 'X012345Y067890'. Tool selections in the body ('T1') select nothing: holes
// belong to the drill defined last. Files in millimetres or with decimal
// points in their coordinates are refused, since they would be drilled at
// wrong positions.
//
// Simple list: 'PV0.8' defines a 0.8 mm drill; 'X012.500Y034.250' is a hole
// in mm, in fixed columns.
//
// Every failure is reported with a box; the counts and the drill table keep
// what the failed load had reached, but no hole of it can be drilled.

#include <string>
#include <string_view>

#include "drilling/drill_set.h"
#include "log/text.h"
#include "platform/host.h"

namespace korvex {

struct Machine;
struct MachineSettings;

// What tells one drill file format from the other: how it writes drills and
// holes, the messages of its failures, and what it refuses.
struct DrillFormat {
    FileFilter filter;
    Text openFailed;   // the first reading
    Text countIsZero;  // no drill or no hole
    Text noMemory;
    Text openFailedAgain;  // the second reading
    bool (*isDrill)(std::string_view word);
    float (*diameterMm)(std::string_view word);
    // The hole's position in steps, before normalisation.
    DrillHole (*hole)(std::string_view word, const MachineSettings& s);
    // Why this word makes the whole file unreadable, or nullptr.
    const Text* (*refusal)(std::string_view word);
    // Why the drills of a file without any were not recognised, when this
    // word tells (nullptr otherwise).
    const Text* (*unreadDrill)(std::string_view word);
};

extern const DrillFormat kExcellonFormat;
extern const DrillFormat kSimpleDrillFormat;

// Loads `path` into `set`. 1 when loaded; 0 after the failure's message.
int LoadDrillFile(Machine& m, DrillSet& set, const std::string& path, const DrillFormat& format);

// What an interactive read came to.
enum DrillReadResult { kDrillReadCancelled = -1, kDrillReadFailed = 0, kDrillReadLoaded = 1 };

// The open-file dialog's filter index, which the readers hand on as the
// vector model's shared source code whenever a file was chosen.
inline constexpr int kDrillFilterIndex = 1;

// The buttons' readers: the open-file dialog, then LoadDrillFile. Cancelling
// sets `toolCount` to 0 and changes nothing else.
int readExcellonFile(Machine& m, Host& host, DrillSet& set);
int readSimpleDrillFile(Machine& m, Host& host, DrillSet& set);

}  // namespace korvex
