#include "platform/qt_image.h"

#include <QImage>
#include <cstring>
#include <optional>

#include "platform/file_read.h"

namespace korvex {

namespace {

template <typename Pixel>
std::vector<Pixel> Rows(const QImage& image) {
    const size_t width = static_cast<size_t>(image.width());
    std::vector<Pixel> pixels(width * static_cast<size_t>(image.height()));
    for (int y = 0; y < image.height(); ++y)
        std::memcpy(pixels.data() + width * static_cast<size_t>(y), image.constScanLine(y),
                    width * sizeof(Pixel));
    return pixels;
}

}  // namespace

DecodedImage DecodeImageFile(const std::string& path) {
    DecodedImage result;
    const std::optional<std::string> file = ReadRegularFile(path);
    if (!file) return result;
    const std::string& bytes = *file;
    result.format = ParseImageFileFormat(bytes);

    QImage image;
    if (!image.loadFromData(reinterpret_cast<const uchar*>(bytes.data()),
                            static_cast<int>(bytes.size())))
        return result;
    // Null copies: no memory for them, as good as undecodable.
    if (result.format.colour == ColourType::Gray && result.format.bitsPerPixel == 16) {
        const QImage gray = image.convertToFormat(QImage::Format_Grayscale16);
        if (gray.isNull()) return result;
        result.gray16 = Rows<uint16_t>(gray);
    }
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    if (argb.isNull()) return {result.format, 0, 0, {}, {}};
    result.argb = Rows<uint32_t>(argb);
    result.width = image.width();
    result.height = image.height();
    return result;
}

}  // namespace korvex
