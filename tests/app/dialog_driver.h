#pragma once
// Drives a modal dialog of the window program the way a person would: the
// script runs once the dialog is on screen, finds its controls by ctrlId,
// types and clicks, and saves a screenshot into the build folder.

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <string>

namespace korvex::test {

// The control of `dialog` with `id`, or null.
inline QWidget* Control(QWidget* dialog, int id) {
    for (QWidget* w : dialog->findChildren<QWidget*>())
        if (w->property("ctrlId").toInt() == id) return w;
    return nullptr;
}

inline std::string ControlText(QWidget* dialog, int id) {
    QWidget* w = Control(dialog, id);
    if (auto* label = qobject_cast<QLabel*>(w)) return label->text().toStdString();
    if (auto* edit = qobject_cast<QLineEdit*>(w)) return edit->text().toStdString();
    if (auto* button = qobject_cast<QAbstractButton*>(w)) return button->text().toStdString();
    return {};
}

inline bool ControlChecked(QWidget* dialog, int id) {
    auto* button = qobject_cast<QAbstractButton*>(Control(dialog, id));
    return button && button->isChecked();
}

inline void ClickControl(QWidget* dialog, int id) {
    auto* button = qobject_cast<QAbstractButton*>(Control(dialog, id));
    if (!button) return;
    // A check box or radio takes a click on its mark or text only, not on
    // the rest of its width.
    const bool mark = qobject_cast<QCheckBox*>(button) || qobject_cast<QRadioButton*>(button);
    QTest::mouseClick(button, Qt::LeftButton, {},
                      mark ? QPoint(6, button->height() / 2) : QPoint());
}

// Replaces the edit's text key by key, as typed.
inline void TypeInto(QWidget* dialog, int id, const std::string& text) {
    auto* edit = qobject_cast<QLineEdit*>(Control(dialog, id));
    if (!edit) return;
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, QString::fromStdString(text));
}

// Runs `script` on the next modal dialog once it is shown.
inline void WhenDialogShown(std::function<void(QWidget*)> script) {
    QTimer::singleShot(0, [script = std::move(script)] {
        QWidget* dialog = nullptr;
        const bool shown = QTest::qWaitFor(
            [&] {
                dialog = QApplication::activeModalWidget();
                return dialog && dialog->isVisible();
            },
            5000);
        if (shown) script(dialog);
    });
}

inline void SaveScreenshot(QWidget* dialog, const std::string& name) {
    QApplication::processEvents();
    dialog->grab().save(QString::fromStdString(std::string(KORVEX_SCREENSHOT_DIR "/") + name));
}

}  // namespace korvex::test
