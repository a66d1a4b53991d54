#pragma once
// A probed material surface: heights on a regular grid, and its `.hmap` file.
//
// Positions are mm from the relative origin the map was probed for; heights
// are mm relative to the surface at that origin, positive where the surface
// stands higher (nearer the tool). Between the points the surface is taken
// as bilinear; beyond the grid it continues flat from the nearest edge.
//
// The file is text, one key per line, '#' starts a comment line:
//
//   korvex-height-map 1
//   relative-origin X Y   absolute mm of the relative origin it was probed for
//   origin X Y            mm from the relative origin: the first point
//   spacing X Y           mm between columns, between rows (0.0001 or more)
//   size C R              columns and rows, 2 .. 1000 each
//   then R lines of C heights: the first row (lowest Y) first, each row
//   from the lowest X.
//
// Numbers use '.' as the decimal point, at most 1 000 000 mm either way;
// saving writes four decimals, so a saved file loads and saves again byte
// for byte.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "log/text.h"

namespace korvex {

struct HeightMap {
    double relativeOriginX = 0, relativeOriginY = 0;
    double originX = 0, originY = 0;
    double spacingX = 0, spacingY = 0;
    int columns = 0, rows = 0;
    std::vector<double> heights;  // row by row, columns * rows

    double& at(int column, int row) { return heights[static_cast<size_t>(row) * columns + column]; }
    double at(int column, int row) const {
        return heights[static_cast<size_t>(row) * columns + column];
    }
    double pointX(int column) const { return originX + column * spacingX; }
    double pointY(int row) const { return originY + row * spacingY; }

    // The height at X, Y (mm from the relative origin), interpolated.
    double heightAt(double x, double y) const;
    // True when the grid reaches over the whole rectangle (mm from the
    // relative origin), to a thousandth of a mm.
    bool covers(double x0, double y0, double x1, double y1) const;
};

inline constexpr int kMaxHeightMapSide = 1000;

// The map's file text.
std::string FormatHeightMap(const HeightMap& map);

struct HeightMapRead {
    std::optional<HeightMap> map;
    int line = 0;  // the line (from 1) of the fault when there is no map
    Text fault{"", ""};
};
HeightMapRead ParseHeightMap(std::string_view text);

// Loads and saves a file; false with `message` (in `language`) saying why.
// Saving writes a temporary file beside the target and renames it, so the
// target is either the old file or the whole new one.
bool LoadHeightMap(const std::string& path, HeightMap& map, int language, std::string& message);
bool SaveHeightMap(const std::string& path, const HeightMap& map, int language,
                   std::string& message);

}  // namespace korvex
