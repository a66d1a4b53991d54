#pragma once
// The G-code import dialog's logic ("Nastavení G-kódu"): the program file,
// what it holds (units, extents, lines, moves, estimated machine time), the
// table check, a preview of its path, and the start that queues its moves,
// fed into the buffer as the executor drains it. Window thread only.

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "gcode/gcode_program.h"

namespace korvex {

class Canvas;
struct Machine;

class GcodeImport {
  public:
    explicit GcodeImport(Machine& m) : machine_(m) {}

    // Reads the program with the tool where everything queued leaves it,
    // relative to the relative origin. False, with a box, when the file
    // cannot be read or the program is refused.
    bool load(const std::string& path);

    // Reads the loaded file's text again, for settings or a tool place that
    // changed since; false, with a box, when the program is refused now.
    bool reread();

    bool loaded() const { return program_ != nullptr; }
    const GcodeProgram& program() const { return *program_; }
    const std::string& path() const { return path_; }

    // The dialog's lines, in the machine's language: units, the extents of
    // X, Y and Z in mm, lines and moves, and the estimated machine time; then
    // the notes, if any: where G28 goes on axes never homed, the first feed
    // with the spindle stopped.
    std::vector<std::string> summaryLines() const;
    // The file and the summary's lines, one text.
    std::string summary() const;

    // How far (mm, X Y Z) the program, run from the relative origin, leaves
    // the machine's travel; all 0 when it stays within it.
    std::array<double, 3> travelExcess() const { return travelExcess(*program_); }

    // Starts the program: re-read first when the tool has moved since the
    // load, then refused without a relative origin or off the table. Queues
    // what the buffer's free space takes; feed() queues the rest as the
    // executor drains it, so a program may be longer than the buffer. With
    // a surface map active its moves follow the surface, and a map that does
    // not fit the program refuses it. True when started.
    bool start();

    // Tops the buffer up with the started program's next moves (a stop
    // holds the feed as it holds the buffer). The feed ends, with the rest never
    // queued, when the buffer is reset (Reset buffer, End job), the
    // program is ending, or something else was queued in between (the rest
    // would no longer start where the program left the tool). Window timer,
    // the command line's run loop.
    void feed();
    // Moves of the started program not queued yet, and their time; both 0
    // once it is all queued or its feed has ended.
    size_t movesUnqueued() const { return feeding_ ? running_->moves.size() - next_ : 0; }
    double secondsUnqueued() const { return feeding_ ? unqueuedSeconds_ : 0; }
    // Hands the moves not queued yet to `take` instead of the buffer, ending
    // the feed: the command line writing out a program it does not run.
    void takeUnqueued(const std::function<void(const MotionCommand&)>& take);

    // While a started program runs: the line of the move running (or next),
    // the moves done and all of them.
    struct Progress {
        int64_t line = 0;
        size_t done = 0, total = 0;
    };
    std::optional<Progress> progress() const;

  private:
    // Reads `text` from where the tool will stand; the program and that
    // place are kept only when it is not refused (a box says why).
    bool parse(const std::string& text);
    std::array<double, 3> travelExcess(const GcodeProgram& p) const;
    // True, with a box, when some position of `p` (as bent by a height map)
    // lies outside the machine's travel: such a program is never queued.
    bool tableRefuses(const GcodeProgram& p) const;
    GcodePoint toolAt() const;
    // The started program's next move as queued: the stop before a tool
    // change names the tool the machine waits for.
    MotionCommand takeNext();
    // The planned position the next move starts from.
    void rememberPlan();
    void endFeed();

    Machine& machine_;
    std::string path_, text_;
    GcodePoint readFrom_;
    std::shared_ptr<const GcodeProgram> program_;
    // The started program, kept while it runs whatever is loaded meanwhile,
    // and its feed: its next move, the changes from there on, the reset
    // count and planned position it expects, the time not queued.
    std::shared_ptr<const GcodeProgram> running_;
    bool feeding_ = false;
    size_t next_ = 0;
    std::vector<GcodePause>::const_iterator nextChange_;
    int64_t resets_ = 0;
    int64_t plannedAfter_[3] = {0, 0, 0};
    double unqueuedSeconds_ = 0;
};

// Draws the program's path in X and Y scaled to fit the canvas within a small
// margin: feed moves dark, rapids light, Y up; nothing for a program that
// does not move in X or Y.
void DrawGcodePreview(const GcodeProgram& program, Canvas& canvas);

}  // namespace korvex
