// Picture loading: which files are accepted by their own pixel format, and
// the gray conversion and inversion.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "machining/raster_image.h"
#include "machining/relief_carve.h"
#include "tests/testkit/reporting_machine.h"
#include "tests/testkit/temp_dir.h"

namespace korvex {
namespace {

std::string Picture(const std::string& name) {
    return std::string(KORVEX_TEST_DATA) + "/machining/" + name;
}

struct RasterTest : ::testing::Test, test::ReportingMachine {
    RasterImage image;

    void load(const std::string& name) { LoadRasterImage(image, Picture(name), host, m.log); }
    uint32_t gray(int x, int y) const { return image.pixel(x, y) & 0xFF; }
};

// Accepted or refused by the file's own pixel format. Refused: 16 bits but
// not gray; 1, 4, 48 and 64 bits; CMYK; not a picture.
TEST_F(RasterTest, AcceptedOrRefusedByTheFilesOwnFormat) {
    const struct {
        const char* file;
        int loaded, levelCount, width, height;
    } pictures[] = {{"indexed8.bmp", 1, 255, 29, 1},     {"rle8.bmp", 1, 255, 29, 1},
                    {"rgb24.bmp", 1, 255, 4, 2},         {"argb32.bmp", 1, 255, 4, 2},
                    {"gray.jpg", 1, 255, 29, 1},         {"rgb.jpg", 1, 255, 4, 2},
                    {"progressive.jpg", 1, 255, 32, 24}, {"gray8.tif", 1, 255, 29, 1},
                    {"gray16.tif", 1, 65535, 4, 1},      {"rgb24.tif", 1, 255, 4, 2},
                    {"rgba32.tif", 1, 255, 4, 2},        {"rgb565.bmp", 0, 0, 4, 2},
                    {"mono1.bmp", 0, 0, 32, 24},         {"palette4.bmp", 0, 0, 32, 24},
                    {"mono1.tif", 0, 0, 32, 24},         {"rgb48.tif", 0, 0, 4, 2},
                    {"rgba64.tif", 0, 0, 4, 2},          {"cmyk.jpg", 0, 0, 32, 24},
                    {"broken.bmp", 0, 0, 0, 0}};
    for (const auto& e : pictures) {
        SCOPED_TRACE(e.file);
        image = RasterImage{};
        host.boxes.clear();
        load(e.file);
        EXPECT_EQ(image.loaded, e.loaded);
        EXPECT_EQ(image.levelCount, e.levelCount);
        if (e.loaded) {
            EXPECT_EQ(std::make_pair(image.width, image.height), std::make_pair(e.width, e.height));
            EXPECT_TRUE(host.boxes.empty());
        } else {
            ASSERT_EQ(host.boxes.size(), 1u);
            EXPECT_EQ(host.boxes[0].title, "?");
            EXPECT_EQ(host.boxes[0].text,
                      Format("The file is not opened %dx%d vrstev 0", e.width, e.height));
        }
    }
}

TEST_F(RasterTest, AFolderNamedLikeAPictureIsRefused) {
    test::TempDir dir;
    ASSERT_EQ(mkdir(dir.file("scan.bmp").c_str(), 0700), 0);
    LoadRasterImage(image, dir.file("scan.bmp"), host, m.log);
    EXPECT_EQ(image.loaded, 0);
    EXPECT_EQ(boxTexts(), std::vector<std::string>{"The file is not opened 0x0 vrstev 0"});
}

TEST_F(RasterTest, GrayWeighsBlueThirtyAndRedEleven) {
    for (const char* file : {"rgb24.bmp", "rgb24.tif", "argb32.bmp"}) {
        SCOPED_TRACE(file);
        load(file);
        // Red 200, blue 200, green 200, white; black, (10, 20, 30), gray 128, magenta.
        const uint32_t expected[2][4] = {{22, 60, 118, 255}, {0, 21, 128, 104}};
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 4; ++x) {
                const uint32_t p = image.pixel(x, y), g = expected[y][x];
                EXPECT_EQ(p & 0xFFFFFF, g << 16 | g << 8 | g) << x << "," << y;
            }
    }
    EXPECT_EQ(image.pixel(0, 0) >> 24, 0x80u);  // argb32.bmp keeps its half alpha
}

TEST_F(RasterTest, InvertingTwiceRestoresThePicture) {
    load("indexed8.bmp");
    EXPECT_EQ(gray(0, 0), 0u);
    EXPECT_EQ(gray(3, 0), 255u);
    const std::vector<uint32_t> before = image.pixels;
    EXPECT_TRUE(ConvertRasterToGray(image, true));
    EXPECT_EQ(gray(0, 0), 255u);
    EXPECT_EQ(gray(1, 0), 170u);
    EXPECT_EQ(gray(3, 0), 0u);
    ConvertRasterToGray(image, true);
    EXPECT_EQ(image.pixels, before);
}

TEST_F(RasterTest, SixteenBitGrayKeepsItsOwnLevels) {
    load("gray16.tif");
    ASSERT_EQ(image.gray16, (std::vector<uint16_t>{0, 1000, 40000, 65535}));
    EXPECT_EQ(PixelLevel(image, 0, 0), 65535);
    EXPECT_EQ(PixelLevel(image, 2, 0), 25535);
    EXPECT_EQ(PixelLevel(image, 3, 0), 0);
    ConvertRasterToGray(image, true);
    EXPECT_EQ(PixelLevel(image, 0, 0), 0);
    EXPECT_EQ(PixelLevel(image, 1, 0), 1000);
}

TEST_F(RasterTest, TheFileDialogChoosesTheFileAndTheSourceKind) {
    int sourceKind = 0;
    host.files.push_back({true, Picture("rgb.jpg"), 2});
    OpenRasterImage(image, host, m.log, sourceKind);
    EXPECT_EQ(image.loaded, 1);
    EXPECT_EQ(sourceKind, 2);
    ASSERT_EQ(host.fileDialogs.size(), 1u);
    EXPECT_EQ(host.fileDialogs[0][2].description, " Raster file TIFF 16bit(*.tif)");
    EXPECT_EQ(RasterFileFilters(0)[1].description, " Rastrový soubor JPEG (*.jpg)");

    OpenRasterImage(image, host, m.log, sourceKind);  // cancelled
    host.files.push_back({true, Picture("cmyk.jpg"), 2});
    OpenRasterImage(image, host, m.log, sourceKind);  // refused
    EXPECT_EQ(image.loaded, 1) << "what was loaded stays";
    EXPECT_EQ(image.width, 4);
    EXPECT_EQ(sourceKind, 2);
}

}  // namespace
}  // namespace korvex
