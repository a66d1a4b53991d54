#include "app/qt_window_view.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QRadioButton>
#include <QThread>
#include <QTimer>
#include <QTimerEvent>
#include <QWheelEvent>

#include "platform/dialog_view.h"

namespace korvex {

namespace {

QString Q(const std::string& utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

int ScrollRequestOf(int action) {
    switch (action) {
        case QAbstractSlider::SliderSingleStepAdd:
            return kScrollLineDown;
        case QAbstractSlider::SliderSingleStepSub:
            return kScrollLineUp;
        case QAbstractSlider::SliderPageStepAdd:
            return kScrollPageDown;
        case QAbstractSlider::SliderPageStepSub:
            return kScrollPageUp;
        case QAbstractSlider::SliderToMinimum:
            return kScrollTop;
        case QAbstractSlider::SliderToMaximum:
            return kScrollBottom;
        default:
            return kScrollThumbTrack;
    }
}

}  // namespace

QtWindowView::QtWindowView(QWidget* window, QWidget* form, QMenuBar* menuBar)
    : window_(window), menuBar_(menuBar) {
    for (QWidget* w : form->findChildren<QWidget*>()) {
        const QVariant id = w->property("ctrlId");
        if (id.isValid()) controls_[id.toInt()] = w;
    }
    window->installEventFilter(this);
}

QtWindowView::~QtWindowView() {
    if (window_) window_->removeEventFilter(this);
}

QWidget* QtWindowView::control(int id) const {
    auto it = controls_.find(id);
    return it == controls_.end() ? nullptr : it->second;
}

void QtWindowView::bind(DialogHandlers handlers) {
    handlers_ = std::move(handlers);
    for (auto& [id, widget] : controls_) bindControl(id, widget);
}

void QtWindowView::bindControl(int id, QWidget* widget) {
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        connect(edit, &QLineEdit::textEdited, this, [this, id] {
            if (handlers_.editChange) handlers_.editChange(id);
        });
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        if (auto* radio = qobject_cast<QRadioButton*>(button)) radio->setAutoExclusive(false);
        connect(button, &QAbstractButton::clicked, this, [this, id, button] {
            if (button->isCheckable()) {
                // The logic decides the checked state.
                const QSignalBlocker block(button);
                button->setChecked(!button->isChecked());
            }
            if (handlers_.command) handlers_.command(id);
        });
    } else if (auto* bar = qobject_cast<QAbstractSlider*>(widget)) {
        connect(bar, &QAbstractSlider::actionTriggered, this, [this, id, bar](int action) {
            if (handlers_.scroll)
                handlers_.scroll(id, ScrollRequestOf(action), bar->sliderPosition());
        });
        connect(bar, &QAbstractSlider::sliderReleased, this, [this, id, bar] {
            if (handlers_.scroll) handlers_.scroll(id, kScrollThumbPosition, bar->sliderPosition());
        });
    }
}

void QtWindowView::setText(int id, const std::string& utf8) {
    QWidget* w = control(id);
    if (auto* label = qobject_cast<QLabel*>(w)) {
        label->setText(Q(utf8));
    } else if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        edit->setText(Q(utf8));
    } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        button->setText(Q(utf8));
    } else if (auto* group = qobject_cast<QGroupBox*>(w)) {
        group->setTitle(Q(utf8));
    } else if (auto* list = qobject_cast<QListWidget*>(w)) {
        // One line per item.
        list->clear();
        if (!utf8.empty()) list->addItems(Q(utf8).split('\n'));
    }
}

std::string QtWindowView::text(int id) const {
    QWidget* w = control(id);
    QString s;
    if (auto* label = qobject_cast<QLabel*>(w))
        s = label->text();
    else if (auto* edit = qobject_cast<QLineEdit*>(w))
        s = edit->text();
    else if (auto* button = qobject_cast<QAbstractButton*>(w))
        s = button->text();
    return s.toStdString();
}

void QtWindowView::setCheck(int id, bool checked) {
    if (auto* button = qobject_cast<QAbstractButton*>(control(id))) {
        const QSignalBlocker block(button);
        button->setChecked(checked);
    }
}

bool QtWindowView::isChecked(int id) const {
    auto* button = qobject_cast<QAbstractButton*>(control(id));
    return button && button->isChecked();
}

void QtWindowView::enable(int id, bool enabled) {
    if (QWidget* w = control(id)) w->setEnabled(enabled);
}

void QtWindowView::setScrollRange(int id, int min, int max) {
    if (auto* bar = qobject_cast<QAbstractSlider*>(control(id))) {
        const QSignalBlocker block(bar);
        bar->setRange(min, max);
    }
}

void QtWindowView::setScrollPos(int id, int pos) {
    if (auto* bar = qobject_cast<QAbstractSlider*>(control(id))) {
        const QSignalBlocker block(bar);
        bar->setValue(pos);
    }
}

int QtWindowView::scrollPos(int id) const {
    auto* bar = qobject_cast<QAbstractSlider*>(control(id));
    return bar ? bar->value() : 0;
}

Canvas& QtWindowView::canvas(int id) {
    auto& slot = canvases_[id];
    QWidget* w = id == 0 ? window_.data() : control(id);
    if (!slot) {
        const QSize size = w ? w->size() : QSize(1, 1);
        slot =
            std::make_unique<QImageCanvas>(std::max(1, size.width()), std::max(1, size.height()));
        // What the logic leaves undrawn shows the window's own background.
        if (w) slot->clear(w->palette().color(QPalette::Window).rgba());
        if (w && id != 0) w->installEventFilter(this);
    }
    // A control's drawing area is fetched to be drawn into: show it again.
    if (w && id != 0) w->update();
    return *slot;
}

void QtWindowView::invalidate() {
    if (painting_ || paintQueued_) return;
    paintQueued_ = true;
    QTimer::singleShot(0, this, [this] { paintNow(); });
}

void QtWindowView::paintNow() {
    paintQueued_ = false;
    if (!handlers_.paint) return;
    painting_ = true;
    handlers_.paint();
    painting_ = false;
    if (window_) window_->update();
}

void QtWindowView::end(int result) {
    ended_ = true;
    result_ = result;
    if (auto* dialog = qobject_cast<QDialog*>(window_.data()))
        dialog->done(result);
    else if (window_)
        window_->close();
}

void QtWindowView::startTimer(int id, int ms) {
    stopTimer(id);
    timers_[id] = QObject::startTimer(std::max(1, ms));
}

void QtWindowView::stopTimer(int id) {
    auto it = timers_.find(id);
    if (it == timers_.end()) return;
    killTimer(it->second);
    timers_.erase(it);
}

void QtWindowView::timerEvent(QTimerEvent* event) {
    for (const auto& [id, qtId] : timers_) {
        if (qtId != event->timerId()) continue;
        if (handlers_.timer) handlers_.timer(id);
        return;
    }
}

void QtWindowView::setTitle(const std::string& utf8) {
    if (window_) window_->setWindowTitle(Q(utf8));
}

void QtWindowView::setGeometry(int x, int y, int width, int height) {
    if (!window_) return;
    window_->move(x, y);
    if (width > 0 && height > 0) window_->resize(width, height);
}

void QtWindowView::addMenuItems(QMenu* menu, const std::vector<MenuItem>& items) {
    for (const MenuItem& item : items) {
        if (!item.children.empty()) {
            addMenuItems(menu->addMenu(Q(item.caption)), item.children);
        } else if (item.id == 0) {
            menu->addSeparator();
        } else {
            QAction* action = menu->addAction(Q(item.caption));
            action->setEnabled(item.enabled);
            const int id = item.id;
            connect(action, &QAction::triggered, this, [this, id] {
                if (handlers_.command) handlers_.command(id);
            });
            actions_[id] = action;
        }
    }
}

void QtWindowView::setMenu(const std::vector<MenuItem>& menu) {
    if (!menuBar_) return;
    menuBar_->clear();
    actions_.clear();
    for (const MenuItem& item : menu) {
        if (!item.children.empty()) {
            addMenuItems(menuBar_->addMenu(Q(item.caption)), item.children);
        } else {
            QAction* action = menuBar_->addAction(Q(item.caption));
            const int id = item.id;
            connect(action, &QAction::triggered, this, [this, id] {
                if (handlers_.command) handlers_.command(id);
            });
            actions_[id] = action;
        }
    }
}

void QtWindowView::enableMenuItem(int id, bool enabled) {
    auto it = actions_.find(id);
    if (it != actions_.end()) it->second->setEnabled(enabled);
}

void QtWindowView::addListLine(int id, const std::string& utf8) {
    if (QThread::currentThread() != thread()) {
        QMetaObject::invokeMethod(
            this, [this, id, utf8] { addListLine(id, utf8); }, Qt::QueuedConnection);
        return;
    }
    if (auto* list = qobject_cast<QListWidget*>(control(id))) {
        list->addItem(Q(utf8));
        // The newest line, a warning perhaps, is the one to see.
        list->scrollToBottom();
    }
}

void QtWindowView::requestClose() {
    if (window_)
        QTimer::singleShot(0, window_.data(), [w = window_] {
            if (w) w->close();
        });
}

bool QtWindowView::pointer(QWidget* area, QEvent* event) {
    const int id = area->property("ctrlId").toInt();
    switch (event->type()) {
        case QEvent::Wheel: {
            auto* wheel = static_cast<QWheelEvent*>(event);
            const int delta = wheel->angleDelta().y();
            if (delta == 0) return false;
            const QPoint at = wheel->position().toPoint();
            // A fine-grained wheel still zooms one notch per gesture.
            const int notches = delta / 120 != 0 ? delta / 120 : (delta > 0 ? 1 : -1);
            handlers_.pointer(id, {PointerEvent::Wheel, at.x(), at.y(), notches});
            return true;
        }
        case QEvent::MouseButtonPress:
            dragFrom_ = static_cast<QMouseEvent*>(event)->position().toPoint();
            return true;
        case QEvent::MouseMove: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (!(mouse->buttons() & Qt::LeftButton)) return false;
            const QPoint at = mouse->position().toPoint(), moved = at - dragFrom_;
            dragFrom_ = at;
            handlers_.pointer(id, {PointerEvent::Drag, at.x(), at.y(), 0, moved.x(), moved.y()});
            return true;
        }
        case QEvent::MouseButtonDblClick: {
            const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
            handlers_.pointer(id, {PointerEvent::DoubleClick, at.x(), at.y()});
            return true;
        }
        default:
            return false;
    }
}

bool QtWindowView::eventFilter(QObject* watched, QEvent* event) {
    // A dialog's drawing area lies under its controls.
    if (watched == window_ && event->type() == QEvent::Paint && qobject_cast<QDialog*>(window_)) {
        auto it = canvases_.find(0);
        if (it != canvases_.end()) QPainter(window_.data()).drawImage(0, 0, it->second->image());
        return false;
    }
    if (watched != window_ && event->type() == QEvent::Paint) {
        auto* widget = static_cast<QWidget*>(watched);
        const QVariant id = widget->property("ctrlId");
        auto it = id.isValid() ? canvases_.find(id.toInt()) : canvases_.end();
        if (it != canvases_.end()) QPainter(widget).drawImage(0, 0, it->second->image());
        return false;
    }
    if (watched != window_ && handlers_.pointer && pointer(static_cast<QWidget*>(watched), event))
        return true;
    if (watched == window_ && event->type() == QEvent::Close && !ended_) {
        // A second close while the shutdown asks its question is ignored.
        if (closing_ || !handlers_.close) {
            if (!handlers_.close) return false;
            event->ignore();
            return true;
        }
        closing_ = true;
        const bool accepted = handlers_.close();
        closing_ = false;
        if (accepted) {
            ended_ = true;
            return false;
        }
        event->ignore();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace korvex
