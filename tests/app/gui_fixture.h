#pragma once
// The real main window on the simulated machine, with a host that answers
// message boxes from a script, and helpers to click its controls.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDeadlineTimer>
#include <QImage>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>

#include "app/korvex_window.h"
#include "app/qt_host.h"
#include "settings/config_file.h"
#include "tests/testkit/temp_dir.h"
#include "ui/controller.h"
#include "ui/main_ids.h"

namespace korvex::test {

// Boxes are answered from `answers` (else with their first button) and kept;
// with `realBoxes` they are the real boxes, for ClickOnNextBox. File dialogs
// choose the paths of `files` in order (none left: cancelled).
class ScriptedQtHost final : public QtHost {
  public:
    bool realBoxes = false;
    std::deque<Answer> answers;
    std::vector<std::string> texts;
    std::deque<std::string> files;
    std::mutex mutex;

    FileChoice openFile(const std::vector<FileFilter>&, int filterIndex) override {
        return nextFile(filterIndex);
    }
    FileChoice saveFile(const std::vector<FileFilter>&, int filterIndex) override {
        return nextFile(filterIndex);
    }

  private:
    FileChoice nextFile(int filterIndex) {
        if (files.empty()) return {false, {}, filterIndex};
        FileChoice choice{true, files.front(), filterIndex};
        files.pop_front();
        return choice;
    }

  protected:
    Answer ask(const std::string& title, const std::string& text, Buttons buttons,
               Icon icon) override {
        std::unique_lock lock(mutex);
        texts.push_back(text);
        if (realBoxes) {
            lock.unlock();
            return QtHost::ask(title, text, buttons, icon);
        }
        if (answers.empty())
            return buttons == Buttons::YesNo || buttons == Buttons::YesNoCancel ? Answer::Yes
                                                                                : Answer::Ok;
        const Answer a = answers.front();
        answers.pop_front();
        return a;
    }
};

// Clicks `button` of the next message box shown within 10 s. It polls from
// the event loop, so a box opened inside another wait is found as well.
inline void ClickOnNextBox(QMessageBox::StandardButton button) {
    auto* poll = new QTimer;
    auto deadline = std::make_shared<QDeadlineTimer>(10000);
    QObject::connect(poll, &QTimer::timeout, [poll, button, deadline] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        const bool shown = box && box->isVisible();
        if (!shown && !deadline->hasExpired()) return;
        poll->stop();
        poll->deleteLater();
        if (shown) QTest::mouseClick(box->button(button), Qt::LeftButton);
    });
    poll->start(10);
}

// The pixels of `image` in `colour`.
inline int CountPixels(const QImage& image, QRgb colour) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) n += image.pixel(x, y) == colour;
    return n;
}

// Where the counters and the simulated carriage stand at one moment.
struct Positions {
    int32_t abs[3] = {}, sim[3] = {};
    int64_t crashes[3] = {}, lost[3] = {};
};

struct GuiTest : ::testing::Test {
    TempDir dir;
    ScriptedQtHost host;
    std::unique_ptr<Controller> c;
    std::unique_ptr<KorvexWindow> window;

    // English, factory settings changed by `adjust`; the virtual clock
    // unless a test watches a move in progress.
    void start(const std::function<void(MachineSettings&)>& adjust = {}, bool virtualClock = true,
               const std::string& port = "sim") {
        MachineSettings s = FactorySettings();
        s.language = 1;
        if (adjust) adjust(s);
        dir.write(kConfigFileName, SettingsFileText(s));
        c = std::make_unique<Controller>(dir.path(), RigOptions{port, virtualClock});
        c->country = "USA";
        window = std::make_unique<KorvexWindow>(*c, host);
        window->show();
        window->start();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    // The real clock at 25 mm/s: a move can be watched while it runs.
    void startMoving(const std::function<void(MachineSettings&)>& adjust = {}) {
        start(
            [&](MachineSettings& s) {
                s.moveSpeedX = s.moveSpeedY = s.moveSpeedZ = 25;
                s.accelSpeedX = s.accelSpeedY = s.accelSpeedZ = 50;
                s.cuttingSpeed = 25;
                if (adjust) adjust(s);
            },
            false);
    }
    // Z down by 5 mm per jog (room for the safe height on this unhomed
    // machine), then the relative origin there, on the material: the tool
    // lifts by the safe height.
    void setOriginOnMaterial(int jogsDown = 2) {
        for (int i = 0; i < jogsDown; ++i) click(mainwin::kJogXPlus + 4, Qt::ShiftModifier);
        host.answers = {Answer::Yes};
        click(mainwin::kSetRel);
        ASSERT_TRUE(waitDrained());
    }
    void TearDown() override {
        window.reset();
        c.reset();
    }

    QAbstractButton* button(int id) {
        return qobject_cast<QAbstractButton*>(window->view().control(id));
    }
    void click(int id, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QAbstractButton* b = button(id);
        ASSERT_NE(b, nullptr) << id;
        QTest::mouseClick(b, Qt::LeftButton, modifiers);
    }
    std::string text(int id) { return window->view().text(id); }
    Machine& m() { return c->machine; }
    bool waitDrained(int ms = 20000) {
        return QTest::qWaitFor(
            [this] {
                return m().buffer.queued() == 0 && m().executor.executorIdle.load() == 1 &&
                       c->gcode.movesUnqueued() == 0;
            },
            ms);
    }
    // The status as the timer shows it, without waiting for the timer.
    void refreshStatus() { window->logic().onTimer(1); }

    // A job run on the simulated machine: the carriage ends where the plan
    // said, having moved by exactly what the counters did.
    Positions before;
    int64_t ticksBefore = 0;
    Positions now() {
        const MachinePosition& p = m().position;
        Positions at{{p.absX.load(), p.absY.load(), p.absZ.load()}, {}};
        for (int a = 0; a < 3; ++a) {
            at.sim[a] = c->sim()->position(a);
            at.crashes[a] = c->sim()->crashes(a);
            at.lost[a] = c->sim()->stepsLost(a);
        }
        return at;
    }
    void rememberStart() {
        before = now();
        ticksBefore = m().executor.ticks.load();
    }
    // The carriage moved by what the counters say, on every axis, and never
    // ran into an end or lost a step (the port test's pattern at start-up
    // is no step).
    void expectCarriageFollowed(const Positions& at) {
        for (int a = 0; a < 3; ++a) {
            EXPECT_EQ(at.sim[a] - before.sim[a], at.abs[a] - before.abs[a]) << "axis " << a;
            EXPECT_EQ(at.crashes[a], before.crashes[a]) << "axis " << a;
            EXPECT_EQ(at.lost[a], before.lost[a]) << "axis " << a;
        }
    }
    void expectAtPlanned() {
        const MachinePosition& p = m().position;
        EXPECT_EQ(p.absX.load(), p.plannedX.load());
        EXPECT_EQ(p.absY.load(), p.plannedY.load());
        EXPECT_EQ(p.absZ.load(), p.plannedZ.load());
    }
    void expectRunAsPlanned() {
        ASSERT_TRUE(waitDrained());
        EXPECT_GT(m().executor.ticks.load(), ticksBefore);
        expectAtPlanned();
        expectCarriageFollowed(now());
    }
};

}  // namespace korvex::test
