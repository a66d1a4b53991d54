#pragma once
// A window for the main window's logic in tests: the controls of a
// RecordingView plus timers, title, geometry, menu, list lines and the
// dialogs asked for; and a controller without a port in a folder of its own.

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <mutex>
#include <vector>

#include "platform/headless.h"
#include "tests/testkit/temp_dir.h"
#include "ui/controller.h"
#include "ui/window_view.h"

namespace korvex::test {

class RecordingWindow final : public WindowView {
  public:
    void setText(int id, const std::string& utf8) override { controls.setText(id, utf8); }
    std::string text(int id) const override { return controls.text(id); }
    void setCheck(int id, bool checked) override { controls.setCheck(id, checked); }
    bool isChecked(int id) const override { return controls.isChecked(id); }
    void enable(int id, bool enabled) override { controls.enable(id, enabled); }
    void setScrollRange(int id, int min, int max) override {
        controls.setScrollRange(id, min, max);
    }
    void setScrollPos(int id, int pos) override { controls.setScrollPos(id, pos); }
    int scrollPos(int id) const override { return controls.scrollPos(id); }
    Canvas& canvas(int id) override { return controls.canvas(id); }
    void invalidate() override { controls.invalidate(); }
    void end(int result) override { controls.end(result); }

    void startTimer(int id, int ms) override { timers[id] = ms; }
    void stopTimer(int id) override { timers.erase(id); }
    void setTitle(const std::string& utf8) override { title = utf8; }
    void setGeometry(int x, int y, int w, int h) override { geometry = {x, y, w, h}; }
    void setMenu(const std::vector<MenuItem>& items) override { menu = items; }
    void enableMenuItem(int id, bool enabled) override { menuEnabled[id] = enabled; }
    void addListLine(int, const std::string& utf8) override {
        std::lock_guard lock(listMutex);
        list.push_back(utf8);
    }
    void requestClose() override { ++closeRequests; }

    bool isEnabled(int id) const { return controls.isEnabled(id); }
    std::vector<std::string> lines() {
        std::lock_guard lock(listMutex);
        return list;
    }

    RecordingView controls;
    std::map<int, int> timers;
    std::string title;
    std::vector<int> geometry;
    std::vector<MenuItem> menu;
    std::map<int, bool> menuEnabled;
    int closeRequests = 0;

  private:
    std::mutex listMutex;
    std::vector<std::string> list;
};

// Records the dialogs asked for; runs them by `runner` when set, else
// answers with `result` (kNotBuilt by default, as a front end without
// those windows).
class ScriptedLauncher final : public DialogLauncher {
  public:
    int run(DialogKind kind) override {
        opened.push_back(kind);
        return runner ? runner(kind) : result;
    }
    std::vector<DialogKind> opened;
    int result = kNotBuilt;
    std::function<int(DialogKind)> runner;
};

// The machine's executor does not run: what is queued stays in the buffer.
struct ControllerTest : ::testing::Test {
    TempDir dir;
    Controller c{dir.path(), {"none", true}};
};

}  // namespace korvex::test
