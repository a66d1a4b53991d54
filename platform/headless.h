#pragma once
// Headless implementations of the desktop interfaces, for tests and the
// command-line front end: a view that stores what the dialog shows, a host
// that answers from a script, and a canvas that records what is drawn.

#include <deque>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "platform/canvas.h"
#include "platform/dialog_view.h"
#include "platform/host.h"

namespace korvex {

// Records every drawing call as one line of text ("line 1 2 3 4 ff000000 1")
// and keeps real pixels for clear, fillRect and setPixel.
class RecordingCanvas final : public Canvas {
  public:
    RecordingCanvas(int width = 800, int height = 600);
    int width() const override { return width_; }
    int height() const override { return height_; }
    void clear(uint32_t argb) override;
    void line(int x1, int y1, int x2, int y2, uint32_t argb, int thickness) override;
    void arrow(int x1, int y1, int x2, int y2, uint32_t argb, int thickness) override;
    void gradientLine(int x1, int y1, int x2, int y2, uint32_t from, uint32_t to,
                      int thickness) override;
    void fillRect(int x, int y, int w, int h, uint32_t argb) override;
    void ellipse(int x, int y, int w, int h, uint32_t argb, int thickness) override;
    void text(int x, int y, const std::string& utf8, uint32_t argb, int size) override;
    void blit(int x, int y, const Canvas& source, int sx, int sy, int w, int h) override;
    void setPixel(int x, int y, uint32_t argb) override;
    uint32_t pixel(int x, int y) const override;

    std::vector<std::string> calls;

  private:
    void record(const char* op, std::initializer_list<long long> values,
                const std::string& tail = {});
    int width_;
    int height_;
    std::vector<uint32_t> pixels_;
};

// Keeps every control's text, check state, enable state and scroll state, and
// the dialog's end result.
class RecordingView final : public DialogView {
  public:
    void setText(int id, const std::string& utf8) override { texts[id] = utf8; }
    std::string text(int id) const override;
    void setCheck(int id, bool checked) override { checks[id] = checked; }
    bool isChecked(int id) const override;
    void enable(int id, bool enabled) override;
    void setScrollRange(int id, int min, int max) override { ranges[id] = {min, max}; }
    void setScrollPos(int id, int pos) override { scroll[id] = pos; }
    int scrollPos(int id) const override;
    Canvas& canvas(int id) override;
    void invalidate() override { ++invalidations; }
    void end(int result) override {
        ended = true;
        endResult = result;
    }
    bool isEnabled(int id) const { return disabled.count(id) == 0; }

    std::map<int, std::string> texts;
    std::map<int, bool> checks;
    std::set<int> disabled;
    std::map<int, std::pair<int, int>> ranges;
    std::map<int, int> scroll;
    std::map<int, RecordingCanvas> canvases;
    int invalidations = 0;
    bool ended = false;
    int endResult = 0;
};

// A host without a desktop: file dialogs are cancelled, no key is held,
// links are ignored. Subclasses decide how boxes are answered.
class DesktopFreeHost : public Host {
  public:
    FileChoice openFile(const std::vector<FileFilter>&, int index) override {
        return {false, {}, index};
    }
    FileChoice saveFile(const std::vector<FileFilter>&, int index) override {
        return {false, {}, index};
    }
    bool shiftPressed() const override { return false; }
    bool ctrlPressed() const override { return false; }
    void openUrl(const std::string&) override {}
};

// Answers message boxes and file dialogs from queues filled by the test.
// An unscripted box gets the first button (Ok or Yes); an unscripted file
// dialog is cancelled. Every box is kept, in order.
class ScriptedHost final : public Host {
  public:
    struct Box {
        std::string title;
        std::string text;
        Buttons buttons;
        Icon icon;
    };

    Answer messageBox(const std::string& title, const std::string& text, Buttons buttons,
                      Icon icon) override;
    FileChoice openFile(const std::vector<FileFilter>& filters, int filterIndex) override;
    FileChoice saveFile(const std::vector<FileFilter>& filters, int filterIndex) override;
    bool shiftPressed() const override { return shift; }
    bool ctrlPressed() const override { return ctrl; }
    void openUrl(const std::string& url) override { urls.push_back(url); }
    // The boxes shown so far; safe while another thread (the executor) may
    // be asking for one.
    size_t boxCount() const;

    std::deque<Answer> answers;
    std::deque<FileChoice> files;
    std::vector<Box> boxes;
    std::vector<std::vector<FileFilter>> fileDialogs;  // the filters of each file dialog shown
    std::vector<std::string> urls;
    bool shift = false;
    bool ctrl = false;

  private:
    mutable std::mutex boxMutex_;  // boxes and answers, which the executor may reach
    FileChoice nextFile(const std::vector<FileFilter>& filters, int filterIndex);
};

}  // namespace korvex
