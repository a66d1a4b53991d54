#pragma once
// A job's moves as a G-code program, for another controller or for a later
// import: millimetres (G21), absolute positions (G90), so the rounding of one
// move never carries into the next, from the job's start corner with Z 0 on
// the material surface: every job starts `safeHeight` above it. G0 for
// ramped positioning moves and G1 with F for the others, G4 after a dwell,
// M0 after a stop. Z is turned up. The spindle starts (M3, then a dwell to
// reach speed) before the first move below the safe height and stops at the
// end; in the laser/pen mode M3/M5 follow each move's tool flag instead.

#include <string>

#include "motion/motion_command.h"

namespace korvex {

struct MachineSettings;

class GcodeWriter {
  public:
    explicit GcodeWriter(const MachineSettings& settings);

    // The opening lines: a comment naming the job and the machine's settings,
    // then the modes.
    std::string header(const std::string& job) const;
    // The lines of one move.
    std::string move(const MotionCommand& c);
    // The closing lines.
    std::string footer() const;

  private:
    std::string dwell() const;

    const MachineSettings& settings_;
    int64_t x_ = 0, y_ = 0, z_;  // steps from the origin, Z down
    int64_t safeZ_;              // the safe height, as z_
    int32_t spindle_ = 0;
    std::string feed_;  // the F word last written
};

}  // namespace korvex
