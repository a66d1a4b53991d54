#pragma once
// G-code programs from any CAM, read into the moves this machine queues.
//
// The subset CAM programs emit: G0/G1/G2/G3 (centre and radius arcs, full
// circles, helices) in G17/G18/G19, the drilling cycles G81/G82/G83/G73 with
// G98/G99 and G80, G28, G43 H (tool lengths are not kept), G20/G21,
// G90/G91, G90.1/G91.1, G4, F, S, M0/M1/M3/M4/M5/M6/M2/M30, T, line numbers,
// comments and block delete, at most one word of a modal group on a line.
// Anything else is refused with its line and word, and then nothing of the
// program is kept. The program's origin is the relative origin; its Z points
// up, this machine's down, so Z 0 is the material surface and Z -1 cuts 1 mm
// into it. Reading is one pass over the text.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "log/text.h"
#include "motion/command_buffer.h"
#include "motion/motion_command.h"

namespace korvex {

struct MachineSettings;

// Steps relative to the relative origin, Z positive down.
struct GcodePoint {
    int64_t x = 0, y = 0, z = 0;
    bool operator==(const GcodePoint&) const = default;
};

// A pause before the next move: M0/M1, or M6 naming the tool to put in.
struct GcodePause {
    size_t afterMove = 0;  // index of the move that stops
    int32_t tool = -1;     // -1 for M0/M1
};

struct GcodeProgram {
    std::vector<MotionCommand> moves;  // relative, zero moves left out
    std::vector<int32_t> moveLines;    // the line (from 1) of each move
    std::vector<GcodePause> toolChanges;
    int64_t lines = 0;
    bool inches = false;       // the units the program set last
    GcodePoint low, high;      // extents of the moves' ends; the start without moves
    GcodePoint start;          // where the tool was when the program was read
    GcodePoint end;            // where the last move leaves the tool
    int zeroedAxes = 0;        // bit per axis (X 1, Y 2, Z 4) that G28 took to the machine's zero
    bool toolLengths = false;  // G43 asked for tool lengths, which this machine does not keep
    int64_t stoppedSpindleFeed = 0;  // the first line that feeds with the spindle off; 0: none
    double estimatedSeconds = 0;
};

struct GcodeRefusal {
    int64_t line = 0;  // from 1
    Text text;         // formats the line (%lld) and the word (%s)
    std::string word;
};

// The operator's message for a refusal.
std::string RefusalMessage(int language, const GcodeRefusal& refusal);

struct GcodeRead {
    std::optional<GcodeProgram> program;
    GcodeRefusal refusal;  // when there is no program
};

// Reads `text` with the tool starting at `start`; G28 goes to `zero`, the
// machine's zero (absolute position 0: X and Y where homing puts them, Z at
// the top of travel). Feeds become step periods and rapids the machine's
// travel speeds; arcs are flattened to chords within half a step of the curve.
GcodeRead ReadGcode(std::string_view text, const MachineSettings& settings, GcodePoint start = {},
                    GcodePoint zero = {});

// Most moves a program may make: the command buffer's own upper bound.
inline constexpr size_t kMaxGcodeMoves = kMaxCommandCapacity;

}  // namespace korvex
