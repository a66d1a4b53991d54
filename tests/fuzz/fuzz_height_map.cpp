// Height map files: any bytes are read or refused with a line of the text,
// without crash, hang or overrun. A map that is read has its heights for
// every point, interpolates to a finite height everywhere, and saves to a
// text that reads back as itself.

#include <cmath>
#include <cstdint>
#include <string_view>

#include "motion/height_map.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const korvex::HeightMapRead r = korvex::ParseHeightMap(text);
    if (!r.map) {
        if (r.line < 1 || r.line > int64_t(size) + 2 || !r.fault.en) __builtin_trap();
        return 0;
    }
    const korvex::HeightMap& map = *r.map;
    if (map.heights.size() != size_t(map.columns) * size_t(map.rows)) __builtin_trap();
    const double probes[][2] = {{map.originX, map.originY},
                                {map.pointX(map.columns - 1), map.pointY(map.rows - 1)},
                                {map.originX + map.spacingX / 3, map.originY + map.spacingY / 2},
                                {-1e9, 1e9}};
    for (const auto& p : probes)
        if (!std::isfinite(map.heightAt(p[0], p[1])) && std::isfinite(map.heights[0]))
            __builtin_trap();
    const std::string saved = korvex::FormatHeightMap(map);
    const korvex::HeightMapRead again = korvex::ParseHeightMap(saved);
    if (!again.map || korvex::FormatHeightMap(*again.map) != saved) __builtin_trap();
    return 0;
}
