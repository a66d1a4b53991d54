#include "app/korvex_window.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QIcon>
#include <QMenuBar>
#include <QShortcut>

#include "app/qt_host.h"
#include "app/sim_panel.h"
#include "app/stop_controls.h"
#include "ui/controller.h"
#include "ui/job_stop.h"
#include "ui/main_ids.h"
#include "ui_main_window.h"

// Resources of a static library are registered by hand, outside any namespace.
static void LoadIcons() {
    Q_INIT_RESOURCE(icons);
}

namespace korvex {

using namespace mainwin;

KorvexWindow::KorvexWindow(Controller& c, QtHost& host)
    : c_(c), host_(host), form_(std::make_unique<Ui::MainForm>()), launcher_(c, host, this) {
    LoadIcons();
    setObjectName("korvexMainWindow");
    auto* central = new QWidget(this);
    form_->setupUi(central);
    setCentralWidget(central);
    setWindowIcon(QIcon(":/icons/korvex.svg"));
    resize(1024, 768);
    view_ = std::make_unique<QtWindowView>(this, central, menuBar());
    for (int id : {kEmergencySignal, kMinX, kMinY, kMinZ, kMinKZ}) {
        // The inputs are shown, not operated.
        QWidget* w = view_->control(id);
        w->setAttribute(Qt::WA_TransparentForMouseEvents);
        w->setFocusPolicy(Qt::NoFocus);
    }
    host_.setParent(this);
    logic_ = std::make_unique<MainWindow>(c_, *view_, host_, launcher_);
    logic_->setBeforeExecutorStop([this] {
        host_.closeBoxes();
        // The panel watches the simulated machine, which ends with the executor.
        delete sim_;
        sim_ = nullptr;
    });
    MainWindow* logic = logic_.get();
    view_->bind(
        {.command = [logic](int id) { logic->onCommand(id); },
         .editChange = [logic](int id) { logic->onEditChange(id); },
         .timer = [logic](int id) { logic->onTimer(id); },
         .scroll = [logic](int id, int request, int pos) { logic->onScroll(id, request, pos); },
         .paint = [logic] { logic->onPaint(); },
         .close = [logic] { return logic->onClose(); },
         .pointer = [logic](int id, const PointerEvent& e) { logic->onPointer(id, e); }});
    addJogKeys();
    addFeedKeys();
    auto* open = new QShortcut(QKeySequence::Open, this);
    connect(open, &QShortcut::activated, this, [this] {
        if (started_) logic_->onCommand(kMenuOpen);
    });
    stopKeys_ = std::make_unique<StopKeys>(c_, [logic] { logic->status().showSignals(); });
}

KorvexWindow::~KorvexWindow() {
    stopKeys_.reset();
    host_.closeBoxes();
    logic_.reset();
    host_.setParent(nullptr);
}

void KorvexWindow::start() {
    if (started_) return;
    started_ = true;
    logic_->onInit();
    if (!c_.recent.paths().empty())
        host_.startIn(QFileInfo(QString::fromStdString(c_.recent.paths().front()))
                          .absolutePath()
                          .toStdString());
    view_->control(kEmergencyStop)
        ->setToolTip(QString::fromStdString(Caption(c_.machine.settings.language, kStopKeysHint)));
    if (SimulatedMachine* sim = c_.sim()) {
        QWidget* place = form_->simPlace;
        sim_ = new SimPanel(
            *sim, static_cast<uint16_t>(c_.machine.settings.lptAddress), c_.simSurface(),
            [this](const SimSurface& s) { c_.setSimSurface(s); }, place);
        sim_->setGeometry(0, 0, place->width(), place->height());
        sim_->show();
    }
    // The keys (jogging, the feed, the stop) need a focus in the window
    // before the operator first clicks into it.
    setFocusPolicy(Qt::StrongFocus);
    setFocus();
    view_->invalidate();
}

void KorvexWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (started_) view_->invalidate();
}

void KorvexWindow::addJogKeys() {
    const std::pair<int, JogKey> keys[] = {
        {Qt::Key_Left, JogKey::Left},     {Qt::Key_Right, JogKey::Right},
        {Qt::Key_Up, JogKey::Up},         {Qt::Key_Down, JogKey::Down},
        {Qt::Key_PageUp, JogKey::PageUp}, {Qt::Key_PageDown, JogKey::PageDown}};
    const int modifiers[] = {0, Qt::SHIFT, Qt::CTRL, Qt::SHIFT | Qt::CTRL};
    for (const auto& [key, jog] : keys) {
        for (int mod : modifiers) {
            auto* shortcut = new QShortcut(QKeySequence(key | mod), this);
            shortcut->setContext(Qt::WindowShortcut);
            const JogKey k = jog;
            connect(shortcut, &QShortcut::activated, this, [this, k] {
                if (started_) logic_->onKey(k);
            });
        }
    }
}

// + and - change the feed override by 10 %; an edit field keeps its own
// minus (Qt gives text keys to a focused edit before any shortcut).
void KorvexWindow::addFeedKeys() {
    const std::pair<int, int> keys[] = {{Qt::Key_Plus, 10},
                                        {Qt::Key_Plus | Qt::KeypadModifier, 10},
                                        {Qt::Key_Minus, -10},
                                        {Qt::Key_Minus | Qt::KeypadModifier, -10}};
    for (const auto& [key, delta] : keys) {
        auto* shortcut = new QShortcut(QKeySequence(key), this);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, [this, d = delta] {
            if (started_) logic_->changeFeed(d);
        });
    }
}

}  // namespace korvex
