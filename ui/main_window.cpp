#include "ui/main_window.h"

#include <algorithm>
#include <ctime>

#include "motion/port.h"
#include "platform/host.h"
#include "settings/config_file.h"
#include "ui/controller.h"
#include "ui/homing_watch.h"
#include "ui/job_stop.h"
#include "ui/main_ids.h"
#include "ui/main_menu.h"
#include "ui/window_view.h"

namespace korvex {

using namespace mainwin;

namespace {
constexpr int kMinFeed = 10, kMaxFeed = 200, kFeedStep = 10;
}  // namespace

MainWindow::MainWindow(Controller& c, WindowView& view, Host& host, DialogLauncher& dialogs)
    : c_(c),
      view_(view),
      host_(host),
      status_(c, view),
      state_(c),
      commands_(c, view, host, status_, dialogs) {}

MainWindow::~MainWindow() {
    c_.stopMotion();
    c_.machine.log.setListSink({});
    c_.machine.log.setHost(nullptr);
}

void MainWindow::loadSettingsAndAsk() {
    Machine& m = c_.machine;
    MachineSettings& s = m.settings;
    // A failed read leaves the factory record, whose language is questioned
    // like any other.
    if (!LoadSettings(s, m.log, kConfigFileName, 1, c_.moduleDir)) {
        m.log.say({"nadtení souboru nastaveni selhalo", "read setup failed"}, true, true);
        s.language = FactorySettings().language;
    }
    const bool czech = czechLocale();
    if (czech && s.language == 1) {
        if (host_.messageBox("?",
                             "V systému je nastavena země CZE, ale v programu je ANG. Chcete "
                             "přepnout do českého ?",
                             Buttons::YesNo, Icon::Question) == Answer::Yes)
            s.language = 0;
    } else if (!czech && s.language == 0) {
        if (host_.messageBox("?",
                             "In system you have set ENG, but in program CZE. Would you like set "
                             "to english?",
                             Buttons::YesNo, Icon::Question) == Answer::Yes)
            s.language = 1;
    }
    if (!SaveSettings(s, m.log, kConfigFileName, 1, c_.moduleDir))
        m.log.say({"zapis souboru nastaveni selhal", "write setup failed"}, true, true);
}

bool MainWindow::czechLocale() const {
    return c_.country.compare(0, 3, "CZE") == 0;
}

void MainWindow::onInit() {
    Machine& m = c_.machine;
    // Until config.dat names a language, the start-up speaks the locale's.
    m.settings.language = czechLocale() ? 0 : 1;
    EventLog& log = m.log;
    log.setHost(&host_);
    WindowView& view = view_;
    log.setListSink([&view](const std::string& line) { view.addListLine(kLogList, line); });
    log.start(c_.places.logDir);
    log.line(DescribeFilePlaces(c_.places, log.language()), true, false);

    const PerformanceCounter& counter = SystemClock();
    log.line(Format("Get counter %lld, OK", static_cast<long long>(counter.now())), false, false);
    log.line(
        Format("Get frequence %lld kHz OK", static_cast<long long>(counter.frequency() / 1000)),
        false, false);

    m.signals.estopActive = 0;
    view_.setCheck(kEmergencyStop, false);
    log.line(c_.country, true, false);

    loadSettingsAndAsk();

    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    log.line(Format("%2d:%2d, %2d.%2d.%2d", local.tm_hour, local.tm_min, local.tm_mday,
                    local.tm_mon + 1, local.tm_year + 1900) +
                 Caption(log.language(), {" Korvex: pozor na rotující nástroj.",
                                          " Korvex: mind the spinning tool."}),
             true, false);
    view_.setTitle("Korvex v.1.0.3.0");
    view_.setGeometry(0, 0, 1024, 768);

    if (!LoadSettings(m.settings, log, kConfigFileName, 1, c_.moduleDir)) {
        LoadFactoryDefaults(m.settings);
        log.say({"Nepodarilo se nacist nastaveni, \n bude nacteno tovarni nastaveni",
                 "Load setup failed, \n loading factory default"},
                true, true);
    }
    c_.vector.loaded = 0;
    c_.vector.sourceKind = kHpglCorel;
    c_.raster.loaded = 0;
    m.executor.quitRequest = 0;
    commands_.open().start();

    commands_.settings().allocateBuffer(false);
    view_.startTimer(kStatusTimer, m.settings.refreshMs);
    // The tables, the executor, the port and its test, the outputs and the
    // executor's priority, in that order.
    c_.startMotion();
    log.say({"Multithread for zásobník OK", "MultiThread for buffer OK"}, false, false);
    showStartFields();
    c_.jobValues = StartJobValues(m.settings);
    c_.relief = StartReliefJob(m.settings);
    host_.messageBox("Info",
                     Caption(log.language(),
                             {"Vítejte v programu Korvex.\nPřed prvním během stroje zkontrolujte "
                              "nastavení a vynulujte osy.",
                              "Welcome to Korvex.\nCheck the settings and zero the axes before "
                              "the machine's first run."}),
                     Buttons::Ok, Icon::Information);
    log.line("Start, hCommand suspend Ok", true, false);
}

void MainWindow::showStartFields() {
    Machine& m = c_.machine;
    const MachineSettings& s = m.settings;
    for (int id = kModelFile; id <= kModelObjects; ++id) view_.setText(id, "none");
    for (int id = kFinalX; id <= kFinalX + 2; ++id) view_.setText(id, "none");
    view_.setText(kCuttingFeed, Format("%5.2fmm/s", static_cast<double>(s.cuttingSpeed)));
    view_.setText(kCutSize, Format("%5.2fmm", static_cast<double>(s.cutDepth)));
    MachinePosition& p = m.position;
    for (Counter* v : {&p.plannedX, &p.plannedY, &p.plannedZ, &p.absX, &p.absY, &p.absZ, &p.absS4,
                       &p.relOriginX, &p.relOriginY, &p.relOriginZ, &p.relOriginSet, &p.resumeX,
                       &p.resumeY, &p.resumeZ, &p.resumeValid})
        v->store(0);
    OperatorState& op = c_.op;
    op = OperatorState{};
    status_.forgetShown();
    status_.refresh(true);
    view_.setText(kScalePercent, Format("%d %%", op.scalePercent));
    status_.showRelativeOrigin();
    view_.setCheck(kUseAcceleration, true);
    view_.setCheck(kAbsoluteTarget, false);
    view_.setText(kEndJob, Caption(m.log.language(), kEndJobCaption));
    view_.setText(kContinue, Caption(m.log.language(), kContinueCaption));
    view_.enable(kGoXYZ, false);
    view_.enable(kGoXYThenZ, false);
    view_.setScrollRange(kFeedOverride, kMinFeed / kFeedStep, kMaxFeed / kFeedStep);
    setFeed(100);
}

void MainWindow::setFeed(int percent) {
    const int feed = std::clamp(percent, kMinFeed, kMaxFeed);
    c_.machine.executor.feedPercent = feed;
    view_.setScrollPos(kFeedOverride, feed / kFeedStep);
    view_.setText(kFeedOverrideText, Format("%d %%", feed));
    view_.setText(kStateLine, state_.text());
}

void MainWindow::changeFeed(int delta) {
    setFeed(c_.machine.executor.feedPercent.load() + delta);
}

void MainWindow::onScroll(int id, int, int pos) {
    if (id == kFeedOverride) setFeed(pos * kFeedStep);
}

void MainWindow::onPointer(int id, const PointerEvent& event) {
    if (id != kPreviewArea) return;
    ToolpathView& preview = status_.toolpath();
    if (event.kind == PointerEvent::Wheel) preview.zoom(event.notches, event.x, event.y);
    if (event.kind == PointerEvent::Drag) preview.pan(event.dx, event.dy);
    if (event.kind == PointerEvent::DoubleClick) preview.fit();
    status_.drawPositionCross();
}

void MainWindow::onCommand(int id) {
    commands_.onCommand(id);
}

void MainWindow::onEditChange(int id) {
    commands_.onEditChange(id);
}

// The timer feeds a running G-code program; without "draw by refresh" it
// otherwise only carries the executor's repaint requests to the window's
// thread.
void MainWindow::onTimer(int id) {
    if (id != kStatusTimer) return;
    Machine& m = c_.machine;
    c_.gcode.feed();
    if (CheckHoming(c_)) status_.showSignals();
    state_.update();
    view_.setText(kStateLine, state_.text());
    if (!m.settings.drawByRefresh) {
        const int64_t asked = m.executor.repaintRequests.load();
        if (asked != repaintsSeen_) {
            repaintsSeen_ = asked;
            onPaint();
        }
        return;
    }
    status_.refresh(false);
    ReadInputs(m);
    status_.showSignals();
}

void MainWindow::onPaint() {
    status_.refresh(true);
    ReadInputs(c_.machine);
    status_.showSignals();
    status_.showModelInfo();
}

bool MainWindow::onClose() {
    Machine& m = c_.machine;
    EventLog& log = m.log;
    if (m.buffer.queued() > 0 &&
        host_.messageBox(
            "?",
            Caption(log.language(), {"Zásobník není prázdný, přejete si ukončit program ?",
                                     "Buffer is not empty! Do you wish to exit ?"}),
            Buttons::YesNo, Icon::Question) != Answer::Yes)
        return false;
    m.executor.quitRequest = 1;
    log.systemError(Caption(log.language(), {"Program ukoncen", "Program finished"}));
    SetControlOutputs(m, 0, 0, -1);
    view_.stopTimer(kStatusTimer);
    log.line("_TimerInfo ukoncen", true, false);
    if (beforeStop_) beforeStop_();
    c_.stopMotion();
    view_.end(1);
    return true;
}

}  // namespace korvex
