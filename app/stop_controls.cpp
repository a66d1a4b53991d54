#include "app/stop_controls.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QTimer>

#include "ui/controller.h"
#include "ui/job_stop.h"

namespace korvex {

StopKeys::StopKeys(Controller& c, std::function<void()> stopped)
    : c_(c), stopped_(std::move(stopped)) {
    qApp->installEventFilter(this);
}

StopKeys::~StopKeys() {
    qApp->removeEventFilter(this);
}

bool StopKeys::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    if ((key->key() != Qt::Key_Escape && key->key() != Qt::Key_Pause) || key->isAutoRepeat())
        return false;
    // At rest the keys keep their usual meaning.
    if (!KeyStop(c_)) return false;
    if (stopped_) stopped_();
    return true;
}

void StyleStopButton(QAbstractButton& button, int language) {
    button.setStyleSheet(
        "QAbstractButton { background: #d32f2f; color: white; font-weight: bold; border: 3px "
        "solid #7f0000; border-radius: 8px; }"
        "QAbstractButton:checked { background: #7f0000; color: #ffd54f; border: 3px inset "
        "#3f0000; }");
    button.setToolTip(QString::fromStdString(Caption(language, kStopKeysHint)));
}

void BindStopButtons(QDialog& dialog, Controller& c, Host& host) {
    auto* stop = dialog.findChild<QAbstractButton*>("emergencyStop");
    auto* end = dialog.findChild<QAbstractButton*>("endJob");
    const int language = c.machine.settings.language;
    auto show = [stop, &c] {
        if (stop)
            stop->setChecked(c.machine.signals.estopActive.load() != 0 && !ProgramStopHolding(c));
    };
    if (stop) {
        StyleStopButton(*stop, language);
        stop->setCheckable(true);
        show();
        QObject::connect(stop, &QAbstractButton::clicked, &dialog, [&c, &host, show] {
            PressStop(c, host);
            show();
        });
        // The keys, a program's stop or the input may change it meanwhile.
        auto* timer = new QTimer(&dialog);
        QObject::connect(timer, &QTimer::timeout, &dialog, show);
        timer->start(100);
    }
    if (end) {
        end->setText(QString::fromStdString(Caption(language, kEndJobCaption)));
        QObject::connect(end, &QAbstractButton::clicked, &dialog, [&c, show] {
            EndJob(c);
            show();
        });
    }
}

}  // namespace korvex
