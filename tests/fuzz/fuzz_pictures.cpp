// Pictures (BMP, JPEG, TIFF) through the header reader and Qt's decoders: any
// bytes load or are refused without crash, hang or overrun, and an accepted
// picture has every pixel it claims, gray.

#include <cstdint>

#include "machining/raster_image.h"
#include "tests/fuzz/fuzz_rig.h"

namespace {

void Check(const korvex::RasterImage& image) {
    if (!image.loaded) return;
    if (image.width <= 0 || image.height <= 0) __builtin_trap();
    const size_t pixels = static_cast<size_t>(image.width) * static_cast<size_t>(image.height);
    if (image.pixels.size() != pixels) __builtin_trap();
    if (image.levelCount != 255 && image.levelCount != 65535) __builtin_trap();
    if (!image.gray16.empty() && image.gray16.size() != pixels) __builtin_trap();
    for (uint32_t p : image.pixels)
        if ((p & 0xFF) != (p >> 8 & 0xFF) || (p & 0xFF) != (p >> 16 & 0xFF)) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    korvex::fuzz::FuzzRig& rig = korvex::fuzz::Rig();
    korvex::RasterImage image;
    korvex::LoadRasterImage(image, rig.input(data, size), rig.host, rig.m.log);
    Check(image);
    return 0;
}
