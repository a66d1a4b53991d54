#include "motion/height_map.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/testkit/temp_dir.h"

namespace korvex {
namespace {

HeightMap Sample() {
    HeightMap map;
    map.relativeOriginX = 12.5, map.relativeOriginY = -3;
    map.originX = -1, map.originY = 2;
    map.spacingX = 10, map.spacingY = 5;
    map.columns = 3, map.rows = 2;
    map.heights = {0, 0.1, -0.2, 0.3, 0.4, 1.25};
    return map;
}

TEST(HeightMapTest, InterpolatesBilinearlyAndHoldsTheEdgesBeyondTheGrid) {
    const HeightMap map = Sample();
    for (int r = 0; r < map.rows; ++r)
        for (int c = 0; c < map.columns; ++c)
            EXPECT_DOUBLE_EQ(map.heightAt(map.pointX(c), map.pointY(r)), map.at(c, r));
    EXPECT_DOUBLE_EQ(map.heightAt(4, 2), 0.05);                  // along the first row
    EXPECT_DOUBLE_EQ(map.heightAt(19, 4.5), (-0.2 + 1.25) / 2);  // along the last column
    EXPECT_DOUBLE_EQ(map.heightAt(4, 4.5), (0.05 + 0.35) / 2);   // a cell's centre
    EXPECT_DOUBLE_EQ(map.heightAt(-50, -50), 0);                 // beyond a corner
    EXPECT_DOUBLE_EQ(map.heightAt(100, 100), 1.25);
    EXPECT_DOUBLE_EQ(map.heightAt(4, 100), 0.35);
    EXPECT_TRUE(map.covers(-1, 2, 19, 7));
    EXPECT_FALSE(map.covers(-1.01, 2, 19, 7));
    EXPECT_FALSE(map.covers(-1, 2, 19, 7.01));
}

TEST(HeightMapTest, FileRoundTripsByteForByte) {
    test::TempDir dir;
    const std::string path = dir.file("board.hmap");
    std::string message;
    ASSERT_TRUE(SaveHeightMap(path, Sample(), 1, message)) << message;
    const std::string saved = test::TempDir::readFile(path);
    HeightMap loaded;
    ASSERT_TRUE(LoadHeightMap(path, loaded, 1, message)) << message;
    EXPECT_EQ(loaded.heights, Sample().heights);
    EXPECT_EQ(FormatHeightMap(loaded), saved);
    EXPECT_FALSE(std::filesystem::exists(path + ".part"));
    EXPECT_FALSE(SaveHeightMap(dir.file("no/such/folder.hmap"), Sample(), 1, message));
    EXPECT_EQ(message, "The height map " + dir.file("no/such/folder.hmap") + " cannot be saved");
}

TEST(HeightMapTest, MalformedFilesSayTheLineAndTheFault) {
    const std::string good = FormatHeightMap(Sample());
    ASSERT_TRUE(ParseHeightMap(good).map);
    // The header comment is six lines; the keys follow on lines 7 to 11.
    auto replace = [&good](const std::string& from, const std::string& to) {
        std::string text = good;
        text.replace(text.find(from), from.size(), to);
        return text;
    };
    const struct {
        std::string text;
        int line;
        const char* fault;
    } cases[] = {
        {"", 1, "this is not a height map file"},
        {replace("korvex-height-map 1", "korvex-height-map 2"), 7, "this is not a height map file"},
        {replace("origin -1.0000", "origin x"), 9, "a key and two numbers expected"},
        {replace("spacing 10.0000", "spacing 0.00009"), 10,
         "the spacing must be 0.0001 mm or more"},
        {replace("1.2500", "1e7"), 13, "a row of heights does not have the columns the size gives"},
        {replace("size 3 2", "size 1 2"), 11, "columns and rows must be 2 to 1000"},
        {replace("size 3 2", "size 3 1001"), 11, "columns and rows must be 2 to 1000"},
        {replace("0.1000 -0.2000", "0.1000"), 12,
         "a row of heights does not have the columns the size gives"},
        {replace("1.2500", "nan"), 13, "a row of heights does not have the columns the size gives"},
        {good.substr(0, good.rfind("0.3000")), 13, "the file ends early"},
        {good + "1 2 3\n", 14, "there is more text after the last row of heights"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const HeightMapRead r = ParseHeightMap(c.text);
        EXPECT_FALSE(r.map);
        EXPECT_EQ(r.line, c.line);
        EXPECT_STREQ(r.fault.en, c.fault);
    }
    test::TempDir dir;
    HeightMap map;
    std::string message;
    EXPECT_FALSE(
        LoadHeightMap(dir.write("bad.hmap", replace("size 3 2", "size 3 1")), map, 0, message));
    EXPECT_EQ(message, "Výšková mapa " + dir.file("bad.hmap") +
                           ", řádek 11: počet sloupců a řádků musí být 2 až 1000");
    EXPECT_FALSE(LoadHeightMap(dir.file("missing.hmap"), map, 1, message));
    EXPECT_EQ(message, "The height map " + dir.file("missing.hmap") + " cannot be read");
}

}  // namespace
}  // namespace korvex
