#include "machining/raster_image.h"

#include <new>

#include "log/event_log.h"
#include "platform/qt_image.h"

namespace korvex {

int32_t AcceptedPixelFormat(const ImageFileFormat& f) {
    switch (f.bitsPerPixel) {
        case 8:
            if (f.colour == ColourType::Indexed || f.colour == ColourType::Gray)
                return kPixelFormat8bppIndexed;
            break;
        case 16:
            if (f.colour == ColourType::Gray) return kPixelFormat16bppGrayScale;
            break;
        case 24:
            if (f.colour == ColourType::Rgb) return kPixelFormat24bppRGB;
            break;
        case 32:
            if (f.colour == ColourType::Rgba) return kPixelFormat32bppARGB;
            break;
    }
    return kPixelFormatRefused;
}

int32_t LevelCountOf(int32_t pixelFormat) {
    switch (pixelFormat) {
        case kPixelFormat8bppIndexed:
        case kPixelFormat24bppRGB:
        case kPixelFormat32bppARGB:
            return 255;
        case kPixelFormat16bppGrayScale:
            return 65535;
    }
    return 0;
}

std::vector<FileFilter> RasterFileFilters(int language) {
    if (language == 0)
        return {{"Rastrový soubor BMP (*.bmp)", "*.bmp"},
                {" Rastrový soubor JPEG (*.jpg)", "*.jpg"},
                {" Rastrový soubor TIFF 16bit (*.tif)", "*.tif"}};
    return {{"Raster file BMP (*.bmp)", "*.bmp"},
            {" Raster file JPEG (*.jpg)", "*.jpg"},
            {" Raster file TIFF 16bit(*.tif)", "*.tif"}};
}

bool OpenRasterImage(RasterImage& image, Host& host, EventLog& log, int& sourceKind) {
    const FileChoice choice = host.openFile(RasterFileFilters(log.language()), 1);
    if (!choice.chosen) return false;
    sourceKind = choice.filterIndex;
    LoadRasterImage(image, choice.path, host, log);
    return true;
}

bool LoadRasterImage(RasterImage& image, const std::string& path, Host& host, EventLog& log) {
    // Decoded aside: a refused file leaves the loaded picture as it was.
    RasterImage next;
    DecodedImage decoded;
    try {
        decoded = DecodeImageFile(path);
    } catch (const std::bad_alloc&) {
        log.say(kRasterNotCreated, true, true);
        return false;
    }
    next.hasImage = true;
    next.width = decoded.width;
    next.height = decoded.height;
    next.pixels = std::move(decoded.argb);
    next.gray16 = std::move(decoded.gray16);
    // An undecodable file has no format, whatever its header claims.
    const int32_t format = next.width > 0 ? AcceptedPixelFormat(decoded.format) : 0;
    next.levelCount = LevelCountOf(format);
    if (next.levelCount == 0) {
        const std::string form = Caption(log.language(), kRasterRefused);
        host.messageBox("?", Format(form.c_str(), next.width, next.height, next.levelCount),
                        Buttons::Ok, Icon::None);
        return false;
    }
    ConvertRasterToGray(next, false);
    next.loaded = 1;
    image = std::move(next);
    return true;
}

bool ConvertRasterToGray(RasterImage& image, bool invert) {
    for (uint32_t& p : image.pixels) {
        const uint32_t b = p & 0xFF, g = p >> 8 & 0xFF, r = p >> 16 & 0xFF;
        uint32_t gray = (30 * b + 59 * g + 11 * r) / 100;
        if (invert) gray = 255 - gray;
        p = (p & 0xFF000000u) | gray << 16 | gray << 8 | gray;
    }
    if (invert)
        for (uint16_t& level : image.gray16) level = static_cast<uint16_t>(65535 - level);
    return true;
}

}  // namespace korvex
