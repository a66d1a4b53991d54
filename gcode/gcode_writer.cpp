#include "gcode/gcode_writer.h"

#include <charconv>
#include <cmath>

#include "log/text.h"
#include "motion/rounding.h"
#include "settings/machine_settings.h"

namespace korvex {

namespace {

// A number with up to `decimals` decimals, trailing zeros dropped. Six keep
// positions exact to far below half a step.
std::string Number(double value, int decimals = 6) {
    std::string s = Format("%.*f", decimals, value);
    while (s.back() == '0') s.pop_back();
    if (s.back() == '.') s.pop_back();
    return s == "-0" ? "0" : s;
}

// The step size as the decimal it was typed as (0.1, not 0.100000001), so
// that whole millimetres print as such.
double Typed(float step) {
    const std::string text = Format("%.7g", step);
    double value = step;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

}  // namespace

GcodeWriter::GcodeWriter(const MachineSettings& settings)
    : settings_(settings), z_(-MmToSteps(settings.safeHeight, settings.mmPerStepZ)), safeZ_(z_) {}

std::string GcodeWriter::header(const std::string& job) const {
    const MachineSettings& s = settings_;
    return "(Korvex: " + job + ")\n" +
           Format(
               "(steps mm X %g Y %g Z %g; cutting %g plunge %g mm/s; safe height %g mm; "
               "dwell %g s)\n",
               s.mmPerStepX, s.mmPerStepY, s.mmPerStepZ, s.cuttingSpeed, s.plungeSpeed,
               s.safeHeight, s.dwellSeconds) +
           "(origin: the start corner on the material surface, Z up)\nG21 G90 G17\n";
}

std::string GcodeWriter::move(const MotionCommand& c) {
    const double stepX = Typed(settings_.mmPerStepX), stepY = Typed(settings_.mmPerStepY),
                 stepZ = Typed(settings_.mmPerStepZ);
    std::string out;
    if (settings_.laserPenMode) {
        if (c.spindleOn != spindle_) {
            spindle_ = c.spindleOn;
            out += spindle_ ? "M3\n" : "M5\n";
        }
    } else if (!spindle_ && z_ + c.dz > safeZ_) {
        // The job's tool flags are for the laser/pen mode only: a cutter
        // must turn before it reaches the material, and keep turning.
        spindle_ = 1;
        out += "M3\n" + dwell();
    }
    out += c.accelerated ? "G0" : "G1";
    if (c.dx) out += " X" + Number(static_cast<double>(x_ += c.dx) * stepX);
    if (c.dy) out += " Y" + Number(static_cast<double>(y_ += c.dy) * stepY);
    if (c.dz) out += " Z" + Number(-static_cast<double>(z_ += c.dz) * stepZ);
    if (!c.accelerated) {
        const double x = c.dx * stepX, y = c.dy * stepY, z = c.dz * stepZ;
        const double steps =
            std::sqrt(double(c.dx) * c.dx + double(c.dy) * c.dy + double(c.dz) * c.dz);
        const double seconds = steps * c.periodUs / 1e6;
        if (seconds > 0) {
            const std::string feed = Number(std::sqrt(x * x + y * y + z * z) / seconds * 60, 3);
            if (feed != feed_) out += " F" + (feed_ = feed);
        }
    }
    out += '\n';
    if (c.dwellAfter) out += dwell();
    if (c.stopAfter) out += "M0\n";
    return out;
}

std::string GcodeWriter::dwell() const {
    return "G4 P" + Number(settings_.dwellSeconds) + "\n";
}

std::string GcodeWriter::footer() const {
    return spindle_ ? "M5\nM2\n" : "M2\n";
}

}  // namespace korvex
