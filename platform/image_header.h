#pragma once
// The pixel format a picture file declares in its own header.
//
// Decoders convert every picture to a handful of in-memory formats (a 16-bit
// RGB BMP and a 32-bit one both arrive as 32-bit pixels), so the program's
// accept/refuse rule reads the file's header instead: its bits per pixel
// and its colour type. BMP, JPEG and TIFF are understood.

#include <string>

namespace korvex {

enum class ColourType {
    Unknown,  // not a picture file this reader understands
    Indexed,  // palette entries
    Gray,     // one gray sample per pixel, no palette
    Rgb,
    Rgba,
    Other  // CMYK, gray with alpha, YCbCr-coded TIFF and the like
};

struct ImageFileFormat {
    int bitsPerPixel = 0;
    ColourType colour = ColourType::Unknown;
    int width = 0;
    int height = 0;

    bool operator==(const ImageFileFormat&) const = default;
};

// The header of the file at `path`; colour Unknown when it cannot be read.
ImageFileFormat ReadImageFileFormat(const std::string& path);

// The same from the file's contents (a TIFF's directory may lie anywhere in it).
ImageFileFormat ParseImageFileFormat(const std::string& bytes);

}  // namespace korvex
