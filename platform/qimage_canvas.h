#pragma once
// The real drawing surface: a QImage (ARGB32) painted without antialiasing.
//
// Axis-aligned one-pixel lines, gradients, fills and pixel copies are
// written straight into the image: a relief simulation draws millions of
// short columns, and a QPainter per column would cost tens of microseconds.
// Everything else goes through QPainter. Lines include both end points.

#include <memory>
#include <string>

#include "platform/canvas.h"

class QImage;

namespace korvex {

class QImageCanvas final : public Canvas {
  public:
    // Opaque black; isNull() when the picture does not fit in memory.
    QImageCanvas(int width, int height);
    ~QImageCanvas() override;
    bool isNull() const;

    int width() const override;
    int height() const override;
    void clear(uint32_t argb) override;
    void line(int x1, int y1, int x2, int y2, uint32_t argb, int thickness = 1) override;
    void polyline(const int* xy, int n, uint32_t argb, int thickness = 1) override;
    void arrow(int x1, int y1, int x2, int y2, uint32_t argb, int thickness = 1) override;
    void gradientLine(int x1, int y1, int x2, int y2, uint32_t from, uint32_t to,
                      int thickness = 1) override;
    void fillRect(int x, int y, int w, int h, uint32_t argb) override;
    void ellipse(int x, int y, int w, int h, uint32_t argb, int thickness = 1) override;
    // Needs a QGuiApplication (see EnsureGuiApplication).
    void text(int x, int y, const std::string& utf8, uint32_t argb, int size = 8) override;
    void blit(int x, int y, const Canvas& source, int sx, int sy, int w, int h) override;
    void overlay(int x, int y, const Canvas& source, int sx, int sy, int w, int h) override;
    void setPixel(int x, int y, uint32_t argb) override;
    uint32_t pixel(int x, int y) const override;

    bool savePng(const std::string& path) const;
    // The picture itself, for a window that shows it.
    const QImage& image() const;

  private:
    struct Image;
    void copy(int x, int y, const Canvas& source, int sx, int sy, int w, int h, bool overlay);
    std::unique_ptr<Image> image_;
};

// A canvas of the given size, or nullptr when it does not fit in memory.
std::unique_ptr<Canvas> MakeQImageCanvas(int width, int height);

// Programs without a window (the command line, tests) call this before
// drawing text: it creates the QGuiApplication that fonts need, on the
// "offscreen" platform unless QT_QPA_PLATFORM names another, and keeps Qt's
// own warnings off stderr. Does nothing when an application object exists.
// Main thread.
void EnsureGuiApplication();

}  // namespace korvex
