#include "platform/image_header.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <optional>

#include "platform/file_read.h"

namespace korvex {

namespace {

// Bounds-checked little- and big-endian reads over the file's bytes.
class Bytes {
  public:
    Bytes(const std::string& data, bool bigEndian) : data_(data), bigEndian_(bigEndian) {}
    bool has(size_t offset, size_t count) const {
        return offset <= data_.size() && count <= data_.size() - offset;
    }
    uint32_t u8(size_t offset) const { return has(offset, 1) ? byte(offset) : 0; }
    uint32_t u16(size_t offset) const {
        if (!has(offset, 2)) return 0;
        return bigEndian_ ? byte(offset) << 8 | byte(offset + 1)
                          : byte(offset + 1) << 8 | byte(offset);
    }
    uint32_t u32(size_t offset) const {
        if (!has(offset, 4)) return 0;
        const uint32_t first = u16(offset), second = u16(offset + 2);
        return bigEndian_ ? first << 16 | second : second << 16 | first;
    }

  private:
    uint32_t byte(size_t offset) const { return static_cast<unsigned char>(data_[offset]); }
    const std::string& data_;
    bool bigEndian_;
};

ImageFileFormat ParseBmp(const Bytes& b) {
    ImageFileFormat f;
    const uint32_t headerSize = b.u32(14);
    uint32_t compression = 0;
    if (headerSize == 12) {  // the old OS/2 core header
        if (!b.has(14, 12)) return {};
        f.width = static_cast<int>(b.u16(18));
        f.height = static_cast<int>(b.u16(20));
        f.bitsPerPixel = static_cast<int>(b.u16(24));
    } else {
        if (headerSize < 40 || !b.has(14, 20)) return {};
        f.width = static_cast<int32_t>(b.u32(18));
        // Negative: stored top-down. INT32_MIN has no positive twin in an int.
        f.height = static_cast<int>(
            std::min<int64_t>(std::abs(int64_t{static_cast<int32_t>(b.u32(22))}), INT32_MAX));
        f.bitsPerPixel = static_cast<int>(b.u16(28));
        compression = b.u32(30);
    }
    const bool embedded = compression == 4 || compression == 5;  // a JPEG or PNG inside
    if (embedded)
        f.colour = ColourType::Other;
    else if (f.bitsPerPixel <= 8)
        f.colour = ColourType::Indexed;
    else if (f.bitsPerPixel == 16 || f.bitsPerPixel == 24)
        f.colour = ColourType::Rgb;
    else if (f.bitsPerPixel == 32)
        f.colour = ColourType::Rgba;
    else
        f.colour = ColourType::Other;
    return f;
}

bool IsStartOfFrame(uint32_t marker) {
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

ImageFileFormat ParseJpeg(const Bytes& b) {
    size_t at = 2;
    while (b.has(at, 4)) {
        if (b.u8(at) != 0xFF) return {};
        const uint32_t marker = b.u8(at + 1);
        if (marker == 0xFF) {  // fill byte
            ++at;
            continue;
        }
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {  // no length
            at += 2;
            continue;
        }
        if (marker == 0xDA || marker == 0xD9) return {};  // image data before any frame header
        if (IsStartOfFrame(marker)) {
            if (!b.has(at + 4, 6)) return {};
            ImageFileFormat f;
            const int precision = static_cast<int>(b.u8(at + 4));
            f.height = static_cast<int>(b.u16(at + 5));
            f.width = static_cast<int>(b.u16(at + 7));
            const int components = static_cast<int>(b.u8(at + 9));
            f.bitsPerPixel = precision * components;
            f.colour = components == 1   ? ColourType::Gray
                       : components == 3 ? ColourType::Rgb
                                         : ColourType::Other;
            return f;
        }
        at += 2 + b.u16(at + 2);
    }
    return {};
}

// TIFF field types: 3 SHORT, 4 LONG.
uint32_t TiffValue(const Bytes& b, size_t entry, uint32_t index) {
    const uint32_t type = b.u16(entry + 2), count = b.u32(entry + 4);
    if (index >= count) return 0;
    const uint32_t size = type == 4 ? 4 : 2;
    const size_t base = static_cast<uint64_t>(count) * size <= 4 ? entry + 8 : b.u32(entry + 8);
    return size == 4 ? b.u32(base + index * 4) : b.u16(base + index * 2);
}

// A count or size the file gives in 32 bits, as a non-negative int.
int Clamped(uint64_t value) {
    return static_cast<int>(std::min<uint64_t>(value, std::numeric_limits<int>::max()));
}

ImageFileFormat ParseTiff(const Bytes& b) {
    if (b.u16(2) != 42) return {};
    const size_t directory = b.u32(4);
    const uint32_t entries = b.u16(directory);
    if (!b.has(directory + 2, static_cast<size_t>(entries) * 12)) return {};
    ImageFileFormat f;
    uint32_t samples = 1, photometric = 1, bitsCount = 0;
    size_t bitsEntry = 0;
    for (uint32_t i = 0; i < entries; ++i) {
        const size_t entry = directory + 2 + static_cast<size_t>(i) * 12;
        switch (b.u16(entry)) {
            case 256:
                f.width = Clamped(TiffValue(b, entry, 0));
                break;
            case 257:
                f.height = Clamped(TiffValue(b, entry, 0));
                break;
            case 258:
                bitsEntry = entry;
                bitsCount = b.u32(entry + 4);
                break;
            case 262:
                photometric = TiffValue(b, entry, 0);
                break;
            case 277:
                samples = TiffValue(b, entry, 0);
                break;
        }
    }
    // Without BitsPerSample a TIFF is bilevel; a single value stands for every sample.
    uint64_t bits = 0;
    for (uint32_t s = 0; s < samples && s < 16; ++s)
        bits += bitsEntry ? TiffValue(b, bitsEntry, bitsCount > 1 ? s : 0) : 1;
    f.bitsPerPixel = Clamped(bits);
    if (photometric <= 1)
        f.colour = samples == 1 ? ColourType::Gray : ColourType::Other;
    else if (photometric == 3)
        f.colour = samples == 1 ? ColourType::Indexed : ColourType::Other;
    else if (photometric == 2 || photometric == 6)  // RGB, or YCbCr decoded to RGB
        f.colour = samples == 3   ? ColourType::Rgb
                   : samples == 4 ? ColourType::Rgba
                                  : ColourType::Other;
    else
        f.colour = ColourType::Other;
    return f;
}

}  // namespace

ImageFileFormat ParseImageFileFormat(const std::string& bytes) {
    if (bytes.size() < 8) return {};
    if (bytes.compare(0, 2, "BM") == 0) return ParseBmp(Bytes(bytes, false));
    if (bytes.compare(0, 2, "\xFF\xD8") == 0) return ParseJpeg(Bytes(bytes, true));
    if (bytes.compare(0, 2, "II") == 0) return ParseTiff(Bytes(bytes, false));
    if (bytes.compare(0, 2, "MM") == 0) return ParseTiff(Bytes(bytes, true));
    return {};
}

ImageFileFormat ReadImageFileFormat(const std::string& path) {
    const std::optional<std::string> bytes = ReadRegularFile(path);
    return bytes ? ParseImageFileFormat(*bytes) : ImageFileFormat{};
}

}  // namespace korvex
