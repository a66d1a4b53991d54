#include "motion/height_map.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace korvex {

namespace {

constexpr double kCoverSlackMm = 0.001;
constexpr const char* kMagic = "korvex-height-map";
// Larger files are no map of this program's.
constexpr std::uintmax_t kMaxFileBytes = 64u << 20;

// Position `v` along an axis of `n` points from `origin`, `spacing` apart:
// the cell's first point and the fraction within it, clamped to the grid.
std::pair<int, double> Cell(double v, double origin, double spacing, int n) {
    const double u = std::clamp((v - origin) / spacing, 0.0, static_cast<double>(n - 1));
    const int i = std::min(static_cast<int>(u), n - 2);
    return {i, u - i};
}

std::string Number(double v) {
    // -0.0000 and 0.0000 would load the same and save differently.
    const std::string s = Format("%.4f", v);
    return s == "-0.0000" ? "0.0000" : s;
}

// The text's lines that are not empty or comments, with their numbers.
struct Line {
    int number;
    std::vector<std::string_view> words;
};

std::vector<Line> Lines(std::string_view text) {
    std::vector<Line> lines;
    int number = 0;
    while (!text.empty()) {
        const size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        ++number;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        Line l{number, {}};
        while (!line.empty()) {
            const size_t start = line.find_first_not_of(" \t");
            if (start == std::string_view::npos) break;
            line.remove_prefix(start);
            const size_t stop = std::min(line.find_first_of(" \t"), line.size());
            l.words.push_back(line.substr(0, stop));
            line.remove_prefix(stop);
        }
        if (!l.words.empty() && l.words[0][0] != '#') lines.push_back(std::move(l));
    }
    return lines;
}

// Numbers beyond a kilometre are no board's; within it the file's four
// decimals hold every value the program writes.
constexpr double kLargestMm = 1e6;
constexpr double kSmallestSpacingMm = 1e-4;

bool ToDouble(std::string_view word, double& v) {
    const char* end = word.data() + word.size();
    auto [ptr, error] = std::from_chars(word.data(), end, v);
    return error == std::errc() && ptr == end && std::abs(v) <= kLargestMm;
}

bool ToInt(std::string_view word, int& v) {
    const char* end = word.data() + word.size();
    auto [ptr, error] = std::from_chars(word.data(), end, v);
    return error == std::errc() && ptr == end;
}

constexpr Text kNotAMap{"toto není soubor výškové mapy", "this is not a height map file"};
constexpr Text kExpectedPair{"očekává se klíč a dvě čísla", "a key and two numbers expected"};
constexpr Text kBadSpacing{"rozteč musí být alespoň 0.0001 mm",
                           "the spacing must be 0.0001 mm or more"};
constexpr Text kBadSize{"počet sloupců a řádků musí být 2 až 1000",
                        "columns and rows must be 2 to 1000"};
constexpr Text kBadRow{"řádek výšek nemá počet čísel podle velikosti",
                       "a row of heights does not have the columns the size gives"};
constexpr Text kMissing{"soubor končí dřív, než má", "the file ends early"};
constexpr Text kExtra{"za posledním řádkem výšek je ještě text",
                      "there is more text after the last row of heights"};

HeightMapRead Fault(int line, Text fault) {
    HeightMapRead r;
    r.line = line;
    r.fault = fault;
    return r;
}

}  // namespace

double HeightMap::heightAt(double x, double y) const {
    const auto [i, fx] = Cell(x, originX, spacingX, columns);
    const auto [j, fy] = Cell(y, originY, spacingY, rows);
    const double low = at(i, j) + (at(i + 1, j) - at(i, j)) * fx;
    const double high = at(i, j + 1) + (at(i + 1, j + 1) - at(i, j + 1)) * fx;
    return low + (high - low) * fy;
}

bool HeightMap::covers(double x0, double y0, double x1, double y1) const {
    return x0 >= originX - kCoverSlackMm && y0 >= originY - kCoverSlackMm &&
           x1 <= pointX(columns - 1) + kCoverSlackMm && y1 <= pointY(rows - 1) + kCoverSlackMm;
}

std::string FormatHeightMap(const HeightMap& map) {
    std::string text =
        "# Korvex height map: the material surface probed on a grid.\n"
        "# Heights in mm relative to the surface at the relative origin, positive\n"
        "# higher. relative-origin: its absolute X Y in mm; origin: the first\n"
        "# point, mm from the relative origin; spacing: mm between columns and\n"
        "# rows; size: columns rows; then one line per row from the lowest Y, each\n"
        "# from the lowest X.\n";
    text += std::string(kMagic) + " 1\n";
    auto pair = [&text](const char* key, double a, double b) {
        text += std::string(key) + " " + Number(a) + " " + Number(b) + "\n";
    };
    pair("relative-origin", map.relativeOriginX, map.relativeOriginY);
    pair("origin", map.originX, map.originY);
    pair("spacing", map.spacingX, map.spacingY);
    text += Format("size %d %d\n", map.columns, map.rows);
    for (int r = 0; r < map.rows; ++r) {
        for (int c = 0; c < map.columns; ++c) text += (c ? " " : "") + Number(map.at(c, r));
        text += "\n";
    }
    return text;
}

HeightMapRead ParseHeightMap(std::string_view text) {
    const std::vector<Line> lines = Lines(text);
    if (lines.empty() || lines[0].words.size() != 2 || lines[0].words[0] != kMagic ||
        lines[0].words[1] != "1")
        return Fault(lines.empty() ? 1 : lines[0].number, kNotAMap);
    HeightMap map;
    const char* keys[] = {"relative-origin", "origin", "spacing"};
    double* fields[][2] = {{&map.relativeOriginX, &map.relativeOriginY},
                           {&map.originX, &map.originY},
                           {&map.spacingX, &map.spacingY}};
    size_t next = 1;
    for (int k = 0; k < 3; ++k, ++next) {
        if (next == lines.size()) return Fault(lines.back().number + 1, kMissing);
        const Line& l = lines[next];
        if (l.words.size() != 3 || l.words[0] != keys[k] || !ToDouble(l.words[1], *fields[k][0]) ||
            !ToDouble(l.words[2], *fields[k][1]))
            return Fault(l.number, kExpectedPair);
    }
    if (map.spacingX < kSmallestSpacingMm || map.spacingY < kSmallestSpacingMm)
        return Fault(lines[next - 1].number, kBadSpacing);
    if (next == lines.size()) return Fault(lines.back().number + 1, kMissing);
    const Line& size = lines[next++];
    if (size.words.size() != 3 || size.words[0] != "size" || !ToInt(size.words[1], map.columns) ||
        !ToInt(size.words[2], map.rows) || map.columns < 2 || map.rows < 2 ||
        map.columns > kMaxHeightMapSide || map.rows > kMaxHeightMapSide)
        return Fault(size.number, kBadSize);
    map.heights.reserve(static_cast<size_t>(map.columns) * map.rows);
    for (int r = 0; r < map.rows; ++r, ++next) {
        if (next == lines.size()) return Fault(lines.back().number + 1, kMissing);
        const Line& l = lines[next];
        if (l.words.size() != static_cast<size_t>(map.columns)) return Fault(l.number, kBadRow);
        for (std::string_view word : l.words) {
            double h;
            if (!ToDouble(word, h)) return Fault(l.number, kBadRow);
            map.heights.push_back(h);
        }
    }
    if (next != lines.size()) return Fault(lines[next].number, kExtra);
    HeightMapRead r;
    r.map = std::move(map);
    return r;
}

bool LoadHeightMap(const std::string& path, HeightMap& map, int language, std::string& message) {
    std::error_code error;
    const std::uintmax_t bytes = std::filesystem::file_size(path, error);
    std::ifstream in(path, std::ios::binary);
    if (error || !in || bytes > kMaxFileBytes) {
        message = FormatCaption(
            language, {"Výškovou mapu %s nelze přečíst", "The height map %s cannot be read"},
            path.c_str());
        return false;
    }
    std::ostringstream text;
    text << in.rdbuf();
    HeightMapRead r = ParseHeightMap(text.str());
    if (!r.map) {
        message =
            FormatCaption(language, {"Výšková mapa %s, řádek %d: %s", "Height map %s, line %d: %s"},
                          path.c_str(), r.line, Caption(language, r.fault).c_str());
        return false;
    }
    map = std::move(*r.map);
    return true;
}

bool SaveHeightMap(const std::string& path, const HeightMap& map, int language,
                   std::string& message) {
    const std::string temporary = path + ".part";
    const std::string text = FormatHeightMap(map);
    bool written;
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        written =
            static_cast<bool>(out.write(text.data(), static_cast<std::streamsize>(text.size())));
        out.close();
        written = written && !out.fail();
    }
    std::error_code error;
    if (written) std::filesystem::rename(temporary, path, error);
    if (!written || error) {
        std::filesystem::remove(temporary, error);
        message = FormatCaption(
            language, {"Výškovou mapu %s nelze uložit", "The height map %s cannot be saved"},
            path.c_str());
        return false;
    }
    return true;
}

}  // namespace korvex
