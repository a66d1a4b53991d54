#pragma once
// The drawing surface of the previews: an ARGB32 picture with the few
// operations they need. Colours are 0xAARRGGBB. No antialiasing.

#include <cstdint>
#include <string>

namespace korvex {

class Canvas {
  public:
    virtual ~Canvas() = default;
    virtual int width() const = 0;
    virtual int height() const = 0;
    virtual void clear(uint32_t argb) = 0;
    // A straight line, `thickness` 1 or 2 pixels.
    virtual void line(int x1, int y1, int x2, int y2, uint32_t argb, int thickness = 1) = 0;
    // Lines through `n` points (x, y pairs in `xy`) in one colour; one call
    // for a whole path is much cheaper than a line per segment.
    virtual void polyline(const int* xy, int n, uint32_t argb, int thickness = 1) {
        for (int i = 1; i < n; ++i)
            line(xy[2 * i - 2], xy[2 * i - 1], xy[2 * i], xy[2 * i + 1], argb, thickness);
    }
    // A line with an arrow head at (x2, y2).
    virtual void arrow(int x1, int y1, int x2, int y2, uint32_t argb, int thickness = 1) = 0;
    // A line whose colour runs from `from` at (x1, y1) to `to` at (x2, y2).
    virtual void gradientLine(int x1, int y1, int x2, int y2, uint32_t from, uint32_t to,
                              int thickness = 1) = 0;
    virtual void fillRect(int x, int y, int w, int h, uint32_t argb) = 0;
    virtual void ellipse(int x, int y, int w, int h, uint32_t argb, int thickness = 1) = 0;
    // Text in the sans-serif face, top-left at (x, y), `size` in points.
    virtual void text(int x, int y, const std::string& utf8, uint32_t argb, int size = 8) = 0;
    // Copies the w x h region at (sx, sy) of `source` to (x, y).
    virtual void blit(int x, int y, const Canvas& source, int sx, int sy, int w, int h) = 0;
    // The same, leaving the pixels where `source` is fully transparent: a
    // layer drawn on a cleared (0) picture laid over this one.
    virtual void overlay(int x, int y, const Canvas& source, int sx, int sy, int w, int h) {
        for (int j = 0; j < h; ++j)
            for (int i = 0; i < w; ++i)
                if (const uint32_t argb = source.pixel(sx + i, sy + j); argb >> 24)
                    setPixel(x + i, y + j, argb);
    }
    virtual void setPixel(int x, int y, uint32_t argb) = 0;
    virtual uint32_t pixel(int x, int y) const = 0;
};

}  // namespace korvex
