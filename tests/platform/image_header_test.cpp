#include "platform/image_header.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace korvex {
namespace {

std::string Le16(uint16_t v) {
    return {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)};
}
std::string Le32(uint32_t v) {
    return Le16(static_cast<uint16_t>(v)) + Le16(static_cast<uint16_t>(v >> 16));
}

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

// The sizes a TIFF gives in 32 bits, even summed over its samples, stay
// non-negative ints.
TEST(ImageHeader, HugeTiffFieldsSaturate) {
    std::string tiff = std::string("II*\0", 4) + Le32(8) + Le16(5);
    auto entry = [&tiff](uint16_t tag, uint16_t type, uint32_t count, uint32_t value) {
        tiff += Le16(tag) + Le16(type) + Le32(count) + Le32(value);
    };
    entry(256, 4, 1, 0xFFFFFFFF);  // width
    entry(257, 3, 1, 2);           // height
    entry(258, 4, 3, 8 + 66);      // bits per sample: three LONGs after the directory
    entry(262, 3, 1, 2);           // RGB
    entry(277, 3, 1, 3);           // samples per pixel
    tiff += Le32(0) + Le32(0xFFFFFFFF) + Le32(0xFFFFFFFF) + Le32(0xFFFFFFFF);
    const ImageFileFormat f = ParseImageFileFormat(tiff);
    EXPECT_EQ(f.width, INT_MAX);
    EXPECT_EQ(f.height, 2);
    EXPECT_EQ(f.bitsPerPixel, INT_MAX);
    EXPECT_EQ(f.colour, ColourType::Rgb);
}

}  // namespace
}  // namespace korvex
