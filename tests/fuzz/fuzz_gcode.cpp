// G-code: any bytes are read or refused by line without crash, hang or
// overrun, at the factory's coarse steps and at fine ones. A program that is
// read moves the tool exactly from its start to its end, inside its
// extents, with no empty move and every period usable; a refusal names a
// line that was read. The import dialog's load, summary and table check
// take whatever the reader takes.

#include <cmath>
#include <cstdint>
#include <string_view>

#include "gcode/gcode_import.h"
#include "gcode/gcode_program.h"
#include "tests/fuzz/fuzz_rig.h"

namespace {

void Check(const korvex::GcodeProgram& p) {
    if (p.moves.size() > korvex::kMaxGcodeMoves) __builtin_trap();
    if (!(p.estimatedSeconds >= 0) || !std::isfinite(p.estimatedSeconds)) __builtin_trap();
    korvex::GcodePoint at = p.start;
    for (const korvex::MotionCommand& c : p.moves) {
        if ((c.dx == 0 && c.dy == 0 && c.dz == 0) || c.periodUs < 1) __builtin_trap();
        at.x += c.dx, at.y += c.dy, at.z += c.dz;
        if (at.x < p.low.x || at.y < p.low.y || at.z < p.low.z || at.x > p.high.x ||
            at.y > p.high.y || at.z > p.high.z)
            __builtin_trap();
    }
    if (!(at == p.end)) __builtin_trap();
    for (const korvex::GcodePause& change : p.toolChanges)
        if (change.afterMove > p.moves.size() || change.tool < 0) __builtin_trap();
}

void Read(std::string_view text, const korvex::MachineSettings& settings) {
    const korvex::GcodeRead r = korvex::ReadGcode(text, settings, {100, -200, 30});
    if (r.program) {
        Check(*r.program);
    } else {
        if (r.refusal.line < 1 || r.refusal.line > int64_t(text.size()) + 1) __builtin_trap();
        if (korvex::RefusalMessage(1, r.refusal).empty()) __builtin_trap();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    korvex::fuzz::FuzzRig& rig = korvex::fuzz::Rig();
    static const korvex::MachineSettings fine = [] {
        korvex::MachineSettings s = korvex::fuzz::Rig().m.settings;
        s.mmPerStepX = s.mmPerStepY = 0.001f;
        s.mmPerStepZ = 0.0025f;
        return s;
    }();
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    Read(text, rig.m.settings);
    Read(text, fine);
    korvex::GcodeImport import(rig.m);
    if (import.load(rig.input(data, size))) {
        if (import.summaryLines().size() < 6) __builtin_trap();  // notes may follow
        for (const double excess : import.travelExcess())
            if (!(excess >= 0)) __builtin_trap();
    }
    return 0;
}
