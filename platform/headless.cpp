#include "platform/headless.h"

#include <cstdio>

namespace korvex {

RecordingCanvas::RecordingCanvas(int width, int height)
    : width_(width), height_(height), pixels_(static_cast<size_t>(width) * height, 0) {}

void RecordingCanvas::record(const char* op, std::initializer_list<long long> values,
                             const std::string& tail) {
    std::string line = op;
    for (long long v : values) line += ' ' + std::to_string(v);
    if (!tail.empty()) line += ' ' + tail;
    calls.push_back(std::move(line));
}

static std::string Hex(uint32_t argb) {
    char buffer[12];
    std::snprintf(buffer, sizeof buffer, "%08x", argb);
    return buffer;
}

void RecordingCanvas::clear(uint32_t argb) {
    record("clear", {}, Hex(argb));
    pixels_.assign(pixels_.size(), argb);
}

void RecordingCanvas::line(int x1, int y1, int x2, int y2, uint32_t argb, int thickness) {
    record("line", {x1, y1, x2, y2}, Hex(argb) + ' ' + std::to_string(thickness));
}

void RecordingCanvas::arrow(int x1, int y1, int x2, int y2, uint32_t argb, int thickness) {
    record("arrow", {x1, y1, x2, y2}, Hex(argb) + ' ' + std::to_string(thickness));
}

void RecordingCanvas::gradientLine(int x1, int y1, int x2, int y2, uint32_t from, uint32_t to,
                                   int thickness) {
    record("gradient", {x1, y1, x2, y2},
           Hex(from) + ' ' + Hex(to) + ' ' + std::to_string(thickness));
}

void RecordingCanvas::fillRect(int x, int y, int w, int h, uint32_t argb) {
    record("fill", {x, y, w, h}, Hex(argb));
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i) setPixel(i, j, argb);
}

void RecordingCanvas::ellipse(int x, int y, int w, int h, uint32_t argb, int thickness) {
    record("ellipse", {x, y, w, h}, Hex(argb) + ' ' + std::to_string(thickness));
}

void RecordingCanvas::text(int x, int y, const std::string& utf8, uint32_t argb, int size) {
    record("text", {x, y, size}, Hex(argb) + ' ' + utf8);
}

void RecordingCanvas::blit(int x, int y, const Canvas& source, int sx, int sy, int w, int h) {
    record("blit", {x, y, sx, sy, w, h});
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i) setPixel(x + i, y + j, source.pixel(sx + i, sy + j));
}

void RecordingCanvas::setPixel(int x, int y, uint32_t argb) {
    if (x >= 0 && y >= 0 && x < width_ && y < height_)
        pixels_[static_cast<size_t>(y) * width_ + x] = argb;
}

uint32_t RecordingCanvas::pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
    return pixels_[static_cast<size_t>(y) * width_ + x];
}

std::string RecordingView::text(int id) const {
    auto it = texts.find(id);
    return it == texts.end() ? std::string() : it->second;
}

bool RecordingView::isChecked(int id) const {
    auto it = checks.find(id);
    return it != checks.end() && it->second;
}

void RecordingView::enable(int id, bool enabled) {
    if (enabled)
        disabled.erase(id);
    else
        disabled.insert(id);
}

int RecordingView::scrollPos(int id) const {
    auto it = scroll.find(id);
    return it == scroll.end() ? 0 : it->second;
}

Canvas& RecordingView::canvas(int id) {
    return canvases.try_emplace(id).first->second;
}

Answer ScriptedHost::messageBox(const std::string& title, const std::string& text, Buttons buttons,
                                Icon icon) {
    std::lock_guard lock(boxMutex_);
    boxes.push_back({title, text, buttons, icon});
    if (!answers.empty()) {
        Answer a = answers.front();
        answers.pop_front();
        return a;
    }
    return buttons == Buttons::YesNo || buttons == Buttons::YesNoCancel ? Answer::Yes : Answer::Ok;
}

size_t ScriptedHost::boxCount() const {
    std::lock_guard lock(boxMutex_);
    return boxes.size();
}

FileChoice ScriptedHost::nextFile(const std::vector<FileFilter>& filters, int filterIndex) {
    fileDialogs.push_back(filters);
    if (files.empty()) return {false, {}, filterIndex};
    FileChoice choice = files.front();
    files.pop_front();
    return choice;
}

FileChoice ScriptedHost::openFile(const std::vector<FileFilter>& filters, int filterIndex) {
    return nextFile(filters, filterIndex);
}

FileChoice ScriptedHost::saveFile(const std::vector<FileFilter>& filters, int filterIndex) {
    return nextFile(filters, filterIndex);
}

}  // namespace korvex
