#include "gcode/gcode_bend.h"

#include <algorithm>
#include <climits>

namespace korvex {

GcodeArea FeedArea(const GcodeProgram& program) {
    GcodePoint at = program.start;
    GcodeArea area{at.x, at.y, at.x, at.y};
    bool any = false;
    auto include = [&](const GcodePoint& p) {
        if (!any) area = {p.x, p.y, p.x, p.y};
        any = true;
        area.x0 = std::min(area.x0, p.x), area.x1 = std::max(area.x1, p.x);
        area.y0 = std::min(area.y0, p.y), area.y1 = std::max(area.y1, p.y);
    };
    for (const MotionCommand& c : program.moves) {
        const GcodePoint to{at.x + c.dx, at.y + c.dy, at.z + c.dz};
        if (!c.accelerated) include(at), include(to);
        at = to;
    }
    return area;
}

GcodeProgram BendProgram(const GcodeProgram& program, const SurfaceBend& bend) {
    GcodeProgram bent = program;
    bent.moves.clear();
    bent.moveLines.clear();
    // The bent program's move count after each of the original's.
    std::vector<size_t> after(program.moves.size() + 1, 0);
    GcodePoint at = program.start;
    int64_t zBent = at.z;  // where the tool really is
    for (size_t i = 0; i < program.moves.size(); ++i) {
        const MotionCommand& c = program.moves[i];
        const bool feed = c.accelerated == 0;
        const int64_t n = bend.pieces(c.dx, c.dy, feed);
        int64_t x = 0, y = 0;
        for (int64_t k = 1; k <= n; ++k) {
            const int64_t tx = SurfaceBend::Share(c.dx, k, n), ty = SurfaceBend::Share(c.dy, k, n);
            const int64_t tz =
                at.z + SurfaceBend::Share(c.dz, k, n) - bend.raise(at.x + tx, at.y + ty, feed);
            MotionCommand piece = c;
            piece.dx = static_cast<int32_t>(tx - x);
            piece.dy = static_cast<int32_t>(ty - y);
            piece.dz = static_cast<int32_t>(std::clamp<int64_t>(tz - zBent, INT32_MIN, INT32_MAX));
            piece.remainingTimeS = c.remainingTimeS / static_cast<double>(n);
            if (k < n) piece.dwellAfter = 0, piece.stopAfter = 0;
            x = tx, y = ty;
            if (piece.dx == 0 && piece.dy == 0 && piece.dz == 0) {
                // The surface took up the whole move: its stop stays with the program.
                if (k == n && !bent.moves.empty() && (c.stopAfter || c.dwellAfter)) {
                    bent.moves.back().stopAfter =
                        std::max(bent.moves.back().stopAfter, c.stopAfter);
                    bent.moves.back().dwellAfter |= c.dwellAfter;
                }
                continue;
            }
            zBent += piece.dz;
            // The travel check reads the bent depths.
            if (bent.moves.empty()) bent.low.z = bent.high.z = zBent;
            bent.low.z = std::min(bent.low.z, zBent);
            bent.high.z = std::max(bent.high.z, zBent);
            bent.moves.push_back(piece);
            bent.moveLines.push_back(program.moveLines[i]);
        }
        at = {at.x + c.dx, at.y + c.dy, at.z + c.dz};
        after[i + 1] = bent.moves.size();
    }
    for (GcodePause& pause : bent.toolChanges) pause.afterMove = after[pause.afterMove];
    return bent;
}

}  // namespace korvex
