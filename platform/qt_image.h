#pragma once
// Pictures decoded by Qt's image readers (BMP, JPEG; TIFF through the
// image-formats plugins), handed over as plain pixels.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/image_header.h"

namespace korvex {

struct DecodedImage {
    ImageFileFormat format;  // as the file's header declares it
    int width = 0;           // 0 x 0 when the pixels cannot be decoded
    int height = 0;
    std::vector<uint32_t> argb;  // row by row, 0xAARRGGBB, palettes resolved
    // A 16-bit gray file's own samples, row by row; empty for any other file,
    // whose 8-bit pixels say everything.
    std::vector<uint16_t> gray16;
};

// Reads and decodes the file at `path`. Any thread that may use QImage.
// Throws std::bad_alloc when the pixels do not fit in memory.
DecodedImage DecodeImageFile(const std::string& path);

}  // namespace korvex
