#pragma once
// The third drill reader, "Excellon (plný) / Excellon (full)": Excellon as
// PCB tools write it (excellon_program.h lists what it understands), read
// into the same DrillSet as the other two: diameters in mm, holes in steps,
// normalised and flipped. The holes of each drill are then put in the order
// that shortens the job's travel, and the saving is logged.
//
// Routed slots are not drilled: they are counted, listed with their tools in
// the log and shown in a box. Unknown words are skipped with one summary
// line, unless they would move or add holes: those refuse the file. A file
// without holes, or whose holes have no drill, is refused. Every failure
// leaves an empty set with a box.
//
// Coordinates without a point need to know how many digits stand before and
// after it. When neither the file nor the operator says, the usual format is
// assumed and a box says so; when that reading gives a hole field below
// 10 mm or beyond the table and another common format fits the table, the
// box names that one.

#include <algorithm>
#include <array>
#include <string>
#include <string_view>

#include "drilling/drill_set.h"
#include "drilling/excellon_number_format.h"
#include "drilling/hole_order.h"
#include "platform/host.h"

namespace korvex {

struct Machine;

inline const FileFilter kExcellonFullFilter{"Excellon (*.drl;*.txt;*.cnc;*.exc;*.tap;*.xln)",
                                            "*.drl;*.txt;*.cnc;*.exc;*.tap;*.xln"};

// The extensions PCB tools give drill files, as the wider filter lists them.
inline constexpr std::array<std::string_view, 6> kExcellonFullExtensions{".drl", ".txt", ".cnc",
                                                                         ".exc", ".tap", ".xln"};
inline bool IsExcellonFullExtension(std::string_view lowerCaseExtension) {
    return std::find(kExcellonFullExtensions.begin(), kExcellonFullExtensions.end(),
                     lowerCaseExtension) != kExcellonFullExtensions.end();
}

// What a load found beyond the drill set.
struct ExcellonFullReport {
    int slots = 0;
    int unknownWords = 0;
    HoleTravel travel;
};

// Loads `path` into `set`, reading numbers without a point with the
// `chosen` digits when known. 1 when loaded; 0 after the failure's box.
int LoadExcellonFullFile(Machine& m, DrillSet& set, const std::string& path,
                         ExcellonFullReport* report = nullptr, ExcellonDigits chosen = {});

// The button's reader: the open-file dialog (the Excellon filter, then the
// wider one), then LoadExcellonFullFile. Cancelling sets `toolCount` to 0
// and changes nothing else. A DrillReadResult.
int readExcellonFullFile(Machine& m, Host& host, DrillSet& set, ExcellonDigits chosen = {});

}  // namespace korvex
