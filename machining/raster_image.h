#pragma once
// The one loaded picture a relief is carved from.
//
// A picture is accepted in four pixel formats only, judged by what the file
// itself declares: 8-bit indexed (an 8-bit gray file without a palette counts
// as one: its palette is implied), 16-bit gray, 24-bit RGB and 32-bit ARGB.
// After loading, every pixel holds its gray value in red, green and blue.

#include <cstdint>
#include <string>
#include <vector>

#include "log/text.h"
#include "platform/host.h"

namespace korvex {

class EventLog;
struct ImageFileFormat;

// The format codes of the accepted pixel formats (0: none of them).
enum RasterPixelFormat : int32_t {
    kPixelFormatRefused = 0,
    kPixelFormat8bppIndexed = 0x00030803,
    kPixelFormat16bppGrayScale = 0x00101004,
    kPixelFormat24bppRGB = 0x00021808,
    kPixelFormat32bppARGB = 0x0026200A
};

struct RasterImage {
    bool hasImage = false;  // a picture was decoded and accepted into it
    int32_t width = 0;
    int32_t height = 0;
    int32_t levelCount = 0;  // 255 or 65535; 0 while no picture is accepted
    int32_t loaded = 0;      // 1 after a successful load and conversion
    // Row by row, 0xAARRGGBB.
    std::vector<uint32_t> pixels;
    // A 16-bit gray picture's own levels, row by row (empty for the others),
    // so that its relief is carved from all 65536 of them.
    std::vector<uint16_t> gray16;

    uint32_t pixel(int x, int y) const {
        return pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + x];
    }
};

// The format code a file's declared format is accepted as, or kPixelFormatRefused.
int32_t AcceptedPixelFormat(const ImageFileFormat& format);
// 255, 65535, or 0 for a refused format.
int32_t LevelCountOf(int32_t pixelFormat);

// The open-file dialog's filters ("*.bmp", "*.jpg", "*.tif") in `language`.
std::vector<FileFilter> RasterFileFilters(int language);

// Asks for a BMP, JPEG or TIFF file and loads it. Cancelling leaves the
// picture as it was. The chosen filter's index (1 BMP, 2 JPEG, 3 TIFF) goes to
// `sourceKind`, the vector model's code of the last source loaded. True when
// a file was chosen, loaded or refused. Window thread.
bool OpenRasterImage(RasterImage& image, Host& host, EventLog& log, int& sourceKind);

// Loads the file at `path` into `image`: decoded, accepted or refused (a box
// "?" with its size, the picture loaded before kept), converted to gray.
// True when it loaded.
bool LoadRasterImage(RasterImage& image, const std::string& path, Host& host, EventLog& log);

// Rewrites every pixel as gray, (30 blue + 59 green + 11 red) / 100, keeping
// its alpha; inverted (255 - gray, and 65535 - level for 16-bit gray) when
// asked. A gray picture converts to itself, so inverting twice restores it.
// Always true.
bool ConvertRasterToGray(RasterImage& image, bool invert);

inline constexpr Text kRasterNotCreated{"Rastr se nenacetl (!bitmapBMP)",
                                        "BMP file read failed (!bitmapBMP)"};
inline constexpr Text kRasterRefused{"Soubor nebyl otevřen %dx%d vrstev %d",
                                     "The file is not opened %dx%d vrstev %d"};

}  // namespace korvex
