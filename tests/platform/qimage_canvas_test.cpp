// The real canvas: pixels as drawn, and the PNG it saves.

#include <gtest/gtest.h>

#include "platform/image_header.h"
#include "platform/qimage_canvas.h"
#include "platform/qt_image.h"
#include "tests/testkit/temp_dir.h"

namespace korvex {
namespace {

TEST(QImageCanvas, DrawsAxisLinesGradientsAndFillsPixelExact) {
    QImageCanvas c(20, 20);
    EXPECT_EQ(c.pixel(5, 5), 0xFF000000u);  // starts opaque black
    c.gradientLine(3, 2, 3, 12, 0xFFFFFFFF, 0xFF000000);
    EXPECT_EQ(c.pixel(3, 2), 0xFFF2F2F2u);  // the colour at each pixel's centre
    EXPECT_EQ(c.pixel(3, 12), 0xFF000000u);
    EXPECT_LT(c.pixel(3, 8) & 0xFF, c.pixel(3, 7) & 0xFF);
    c.line(3, 2, 3, 3, 0xFF00C500);  // both end points
    EXPECT_EQ(c.pixel(3, 2), 0xFF00C500u);
    EXPECT_EQ(c.pixel(3, 3), 0xFF00C500u);
    EXPECT_NE(c.pixel(3, 4), 0xFF00C500u);
    c.fillRect(15, 15, 10, 10, 0xFFFF0000);  // clipped at the edge
    EXPECT_EQ(c.pixel(19, 19), 0xFFFF0000u);
    EXPECT_EQ(c.pixel(14, 15), 0xFF000000u);
    c.line(0, 0, 10, 10, 0xFF0000FF, 2);  // through the painter
    EXPECT_EQ(c.pixel(5, 5), 0xFF0000FFu);
}

TEST(QImageCanvas, BlitsAndDrawsText) {
    EnsureGuiApplication();
    QImageCanvas source(4, 4), target(100, 30);
    source.setPixel(1, 1, 0xFF123456);
    target.clear(0xFFFFFFFF);
    target.blit(10, 10, source, 1, 1, 8, 8);  // past the source: transparent
    EXPECT_EQ(target.pixel(10, 10), 0xFF123456u);
    EXPECT_EQ(target.pixel(17, 17), 0u);
    QImageCanvas text(120, 20);
    text.clear(0xFFFFFFFF);
    text.text(0, 0, "PROBLEM", 0xFF000000, 9);
    int dark = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 120; ++x) dark += (text.pixel(x, y) & 0xFF) < 128;
    EXPECT_GT(dark, 20);
}

TEST(QImageCanvas, SavesAPngThatReadsBack) {
    test::TempDir dir;
    QImageCanvas c(3, 2);
    c.setPixel(2, 1, 0xFF00FF00);
    ASSERT_TRUE(c.savePng(dir.file("out.png")));
    const DecodedImage png = DecodeImageFile(dir.file("out.png"));
    ASSERT_EQ(png.width, 3);
    EXPECT_EQ(png.argb[5], 0xFF00FF00u);
    EXPECT_EQ(MakeQImageCanvas(0, 5), nullptr);
}

TEST(ImageHeader, TruncatedHeadersAreUnknown) {
    const std::string tiff("II*\0\x08\0\0\0\x40\0", 10);  // 64 entries announced, none there
    for (const std::string& bytes :
         {std::string("BM\x10\0\0\0"), tiff, std::string("\xFF\xD8\xFF\xC0", 4)})
        EXPECT_EQ(ParseImageFileFormat(bytes).colour, ColourType::Unknown);
}

}  // namespace
}  // namespace korvex
