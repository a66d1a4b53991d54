#pragma once
// The G-code import dialog's logic ("Nastavení G-kódu"): the program file,
// what it holds (units, extents, lines, moves, estimated machine time), the
// table check, a preview of its path, and the start that counts the moves,
// checks the buffer's free space and queues them. Window thread only.

#include <array>
#include <cstdint>
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

    bool loaded() const { return program_.has_value(); }
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
    std::array<double, 3> travelExcess() const;
    // True, with a box, when some position of the program lies outside the
    // machine's travel: such a program is never queued.
    bool tableRefuses() const;

    // Queues the program: re-read first when the tool has moved since the
    // load, then refused without a relative origin, off the table or when
    // the buffer's free space is short. True when queued.
    bool start();

  private:
    GcodePoint toolAt() const;

    Machine& machine_;
    std::string path_, text_;
    GcodePoint readFrom_;
    std::optional<GcodeProgram> program_;
};

// Draws the program's path in X and Y scaled to fit the canvas within a small
// margin: feed moves dark, rapids light, Y up; nothing for a program that
// does not move in X or Y.
void DrawGcodePreview(const GcodeProgram& program, Canvas& canvas);

}  // namespace korvex
