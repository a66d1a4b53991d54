#include "platform/qimage_canvas.h"

#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <cstdio>

namespace korvex {

struct QImageCanvas::Image {
    QImage image;
    // The pixels, fetched once: the image is never shared, so they stay put.
    uint32_t* bits = nullptr;
    qsizetype stride = 0;  // pixels per row
    int width = 0, height = 0;

    uint32_t& at(int x, int y) { return bits[y * stride + x]; }
    bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
    // Transparent outside, as pixel() is.
    uint32_t get(int x, int y) const { return inside(x, y) ? bits[y * stride + x] : 0; }
};

namespace {

QColor Colour(uint32_t argb) {
    return QColor::fromRgba(argb);
}

// A painter without antialiasing and a pen of `thickness`; square caps, so
// that a line covers both of its end points.
class Painter : public QPainter {
  public:
    Painter(QImage& image, const QPen& pen) : QPainter(&image) {
        setRenderHint(QPainter::Antialiasing, false);
        setPen(pen);
    }
};

// The colours from `from` to `to`, channel by channel.
class Blend {
  public:
    Blend(uint32_t from, uint32_t to) {
        for (int c = 0; c < 4; ++c) {
            start_[c] = static_cast<float>(from >> (8 * c) & 0xFF);
            delta_[c] = static_cast<float>(to >> (8 * c) & 0xFF) - start_[c];
        }
    }
    // The colour `t` (0..1) of the way.
    uint32_t at(float t) const {
        uint32_t result = 0;
        for (int c = 0; c < 4; ++c)
            result |= static_cast<uint32_t>(std::lrint(start_[c] + delta_[c] * t)) << (8 * c);
        return result;
    }

  private:
    float start_[4], delta_[4];
};

}  // namespace

QImageCanvas::QImageCanvas(int width, int height) : image_(std::make_unique<Image>()) {
    if (width > 0 && height > 0) image_->image = QImage(width, height, QImage::Format_ARGB32);
    if (image_->image.isNull()) return;
    image_->image.fill(0xFF000000u);
    image_->bits = reinterpret_cast<uint32_t*>(image_->image.bits());
    image_->stride = image_->image.bytesPerLine() / 4;
    image_->width = width;
    image_->height = height;
}

QImageCanvas::~QImageCanvas() = default;

bool QImageCanvas::isNull() const {
    return image_->image.isNull();
}
int QImageCanvas::width() const {
    return image_->image.width();
}
int QImageCanvas::height() const {
    return image_->image.height();
}

void QImageCanvas::clear(uint32_t argb) {
    image_->image.fill(argb);
}

void QImageCanvas::line(int x1, int y1, int x2, int y2, uint32_t argb, int thickness) {
    if (thickness <= 1 && (x1 == x2 || y1 == y2)) {
        gradientLine(x1, y1, x2, y2, argb, argb, 1);
        return;
    }
    Painter(image_->image, QPen(Colour(argb), thickness)).drawLine(x1, y1, x2, y2);
}

// Straight into the pixels, a step per pixel of the longer axis: a path of
// a million segments would spend most of its time setting up painters.
void QImageCanvas::polyline(const int* xy, int n, uint32_t argb, int thickness) {
    Image& im = *image_;
    const int w = im.image.width(), h = im.image.height();
    const auto plot = [&im, w, h, argb](int x, int y) {
        if (static_cast<unsigned>(x) < static_cast<unsigned>(w) &&
            static_cast<unsigned>(y) < static_cast<unsigned>(h))
            im.at(x, y) = argb;
    };
    for (int i = 1; i < n; ++i) {
        int x = xy[2 * i - 2], y = xy[2 * i - 1];
        const int x2 = xy[2 * i], y2 = xy[2 * i + 1];
        // Segments wholly off the picture cost nothing.
        if ((x < 0 && x2 < 0) || (y < 0 && y2 < 0) || (x >= w && x2 >= w) || (y >= h && y2 >= h))
            continue;
        const int dx = std::abs(x2 - x), dy = -std::abs(y2 - y);
        const int sx = x < x2 ? 1 : -1, sy = y < y2 ? 1 : -1;
        // A second pixel across the line's run makes it two wide.
        const int wideX = thickness > 1 && -dy > dx, wideY = thickness > 1 && -dy <= dx;
        int error = dx + dy;
        for (;;) {
            plot(x, y);
            if (thickness > 1) plot(x + wideX, y + wideY);
            if (x == x2 && y == y2) break;
            const int e2 = 2 * error;
            if (e2 >= dy) {
                error += dy;
                x += sx;
            }
            if (e2 <= dx) {
                error += dx;
                y += sy;
            }
        }
    }
}

void QImageCanvas::arrow(int x1, int y1, int x2, int y2, uint32_t argb, int thickness) {
    Painter painter(image_->image, QPen(Colour(argb), thickness));
    painter.drawLine(x1, y1, x2, y2);
    const double length = std::hypot(x2 - x1, y2 - y1);
    if (length == 0) return;
    // A filled head 6 pixels long and 6 wide (more for thicker lines).
    const double head = 4.0 + 2.0 * thickness, ux = (x2 - x1) / length, uy = (y2 - y1) / length;
    QPainterPath path;
    path.moveTo(x2, y2);
    path.lineTo(x2 - ux * head - uy * head / 2, y2 - uy * head + ux * head / 2);
    path.lineTo(x2 - ux * head + uy * head / 2, y2 - uy * head - ux * head / 2);
    path.closeSubpath();
    painter.fillPath(path, Colour(argb));
}

void QImageCanvas::gradientLine(int x1, int y1, int x2, int y2, uint32_t from, uint32_t to,
                                int thickness) {
    if (thickness > 1 || (x1 != x2 && y1 != y2)) {
        QLinearGradient gradient(x1, y1, x2, y2);
        gradient.setColorAt(0, Colour(from));
        gradient.setColorAt(1, Colour(to));
        Painter(image_->image, QPen(QBrush(gradient), thickness)).drawLine(x1, y1, x2, y2);
        return;
    }
    // Each pixel takes the colour at its centre, as the painter's gradient does.
    const bool vertical = x1 == x2;
    const int along = vertical ? x1 : y1;
    if (along < 0 || along >= (vertical ? width() : height())) return;
    const int start = vertical ? y1 : x1, end = vertical ? y2 : x2;
    const int first = std::max(std::min(start, end), 0);
    const int last = std::min(std::max(start, end), (vertical ? height() : width()) - 1);
    const float span = static_cast<float>(end - start);
    const float half = end >= start ? 0.5f : -0.5f;
    const Blend blend(from, to);
    for (int p = first; p <= last; ++p) {
        const float t = span == 0 ? 0 : std::clamp((p + half - start) / span, 0.0f, 1.0f);
        image_->at(vertical ? along : p, vertical ? p : along) = blend.at(t);
    }
}

void QImageCanvas::fillRect(int x, int y, int w, int h, uint32_t argb) {
    const int left = std::max(x, 0), right = std::min(x + w, width());
    for (int j = std::max(y, 0); j < std::min(y + h, height()); ++j)
        std::fill(&image_->at(left, j), &image_->at(left, j) + std::max(0, right - left), argb);
}

void QImageCanvas::ellipse(int x, int y, int w, int h, uint32_t argb, int thickness) {
    Painter(image_->image, QPen(Colour(argb), thickness)).drawEllipse(x, y, w, h);
}

void QImageCanvas::text(int x, int y, const std::string& utf8, uint32_t argb, int size) {
    Painter painter(image_->image, QPen(Colour(argb)));
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(size);
    painter.setFont(font);
    painter.drawText(QRect(x, y, width(), height()), Qt::AlignLeft | Qt::AlignTop,
                     QString::fromStdString(utf8));
}

void QImageCanvas::blit(int x, int y, const Canvas& source, int sx, int sy, int w, int h) {
    copy(x, y, source, sx, sy, w, h, false);
}

void QImageCanvas::overlay(int x, int y, const Canvas& source, int sx, int sy, int w, int h) {
    copy(x, y, source, sx, sy, w, h, true);
}

// Another picture of this kind is read without a call per pixel: the
// toolpath preview copies its whole area twice every status tick.
void QImageCanvas::copy(int x, int y, const Canvas& source, int sx, int sy, int w, int h,
                        bool overlay) {
    const auto* picture = dynamic_cast<const QImageCanvas*>(&source);
    Image& to = *image_;
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i) {
            const uint32_t argb =
                picture ? picture->image_->get(sx + i, sy + j) : source.pixel(sx + i, sy + j);
            if ((!overlay || argb >> 24) && to.inside(x + i, y + j)) to.at(x + i, y + j) = argb;
        }
}

void QImageCanvas::setPixel(int x, int y, uint32_t argb) {
    if (image_->inside(x, y)) image_->at(x, y) = argb;
}

uint32_t QImageCanvas::pixel(int x, int y) const {
    return image_->inside(x, y) ? image_->at(x, y) : 0;
}

const QImage& QImageCanvas::image() const {
    return image_->image;
}

bool QImageCanvas::savePng(const std::string& path) const {
    return image_->image.save(QString::fromStdString(path), "PNG");
}

std::unique_ptr<Canvas> MakeQImageCanvas(int width, int height) {
    auto canvas = std::make_unique<QImageCanvas>(width, height);
    if (canvas->isNull()) return nullptr;
    return canvas;
}

void EnsureGuiApplication() {
    if (QCoreApplication::instance()) return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt's own remarks (a missing runtime directory and the like) are not the
    // program's messages, which go to stderr one per line.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type == QtCriticalMsg || type == QtFatalMsg)
            std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
    });
    static int argc = 1;
    static char name[] = "korvex";
    static char* argv[] = {name, nullptr};
    // Lives until the process ends: Qt does not survive being torn down by
    // static destructors.
    static QGuiApplication* application = new QGuiApplication(argc, argv);
    (void)application;
}

}  // namespace korvex
