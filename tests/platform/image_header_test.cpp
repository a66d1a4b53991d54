#include "platform/image_header.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace korvex {
namespace {

TEST(ImageHeader, TopDownHeightOfTheLowestIntStaysPositive) {
    std::string bmp(54, '\0');
    bmp[0] = 'B', bmp[1] = 'M';
    bmp[14] = 40;                       // info header size
    bmp[18] = 4;                        // width
    bmp[25] = static_cast<char>(0x80);  // height INT_MIN: top-down, 2^31 rows
    bmp[28] = 24;                       // bits per pixel
    const ImageFileFormat f = ParseImageFileFormat(bmp);
    EXPECT_EQ(f.width, 4);
    EXPECT_EQ(f.height, INT_MAX);
    EXPECT_EQ(f.colour, ColourType::Rgb);
}

}  // namespace
}  // namespace korvex
