#include "app/qt_host.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <QThread>
#include <QUrl>
#include <memory>

namespace korvex {

Answer ClosingAnswer(Buttons buttons) {
    switch (buttons) {
        case Buttons::YesNo:
        case Buttons::YesNoCancel:
            return Answer::No;
        case Buttons::OkCancel:
            return Answer::Cancel;
        case Buttons::Ok:
            break;
    }
    return Answer::Ok;
}

Answer QtHost::messageBox(const std::string& title, const std::string& text, Buttons buttons,
                          Icon icon) {
    if (QThread::currentThread() == thread()) return ask(title, text, buttons, icon);
    struct Pending {
        bool done = false;
        Answer answer = Answer::Ok;
    };
    auto pending = std::make_shared<Pending>();
    std::unique_lock lock(mutex_);
    if (closing_) return ClosingAnswer(buttons);
    QMetaObject::invokeMethod(
        this,
        [this, pending, title, text, buttons, icon] {
            {
                std::lock_guard check(mutex_);
                if (closing_) return;
            }
            const Answer a = ask(title, text, buttons, icon);
            std::lock_guard done(mutex_);
            pending->answer = a;
            pending->done = true;
            answered_.notify_all();
        },
        Qt::QueuedConnection);
    answered_.wait(lock, [&] { return pending->done || closing_; });
    return pending->done ? pending->answer : ClosingAnswer(buttons);
}

void QtHost::closeBoxes() {
    std::lock_guard lock(mutex_);
    closing_ = true;
    answered_.notify_all();
}

Answer QtHost::ask(const std::string& title, const std::string& text, Buttons buttons, Icon icon) {
    QMessageBox box(parent_);
    box.setWindowTitle(QString::fromStdString(title));
    box.setText(QString::fromStdString(text));
    switch (icon) {
        case Icon::Information:
            box.setIcon(QMessageBox::Information);
            break;
        case Icon::Question:
            box.setIcon(QMessageBox::Question);
            break;
        case Icon::Warning:
            box.setIcon(QMessageBox::Warning);
            break;
        case Icon::Error:
            box.setIcon(QMessageBox::Critical);
            break;
        case Icon::None:
            break;
    }
    switch (buttons) {
        case Buttons::Ok:
            box.setStandardButtons(QMessageBox::Ok);
            break;
        case Buttons::YesNo:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            break;
        case Buttons::OkCancel:
            box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
            break;
        case Buttons::YesNoCancel:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            break;
    }
    switch (box.exec()) {
        case QMessageBox::Ok:
            return Answer::Ok;
        case QMessageBox::Yes:
            return Answer::Yes;
        case QMessageBox::No:
            return Answer::No;
        case QMessageBox::Cancel:
            return Answer::Cancel;
        default:
            // Closed without a button (the window's close box).
            return ClosingAnswer(buttons);
    }
}

FileChoice QtHost::fileDialog(const std::vector<FileFilter>& filters, int filterIndex, bool save) {
    QStringList names;
    for (const FileFilter& f : filters) {
        QString pattern = QString::fromStdString(f.pattern);
        pattern.replace(';', ' ');
        names << QString::fromStdString(f.description) + " (" + pattern + ")";
    }
    QFileDialog dialog(parent_);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setNameFilters(names);
    if (!folder_.isEmpty()) dialog.setDirectory(folder_);
    if (filterIndex >= 1 && filterIndex <= names.size())
        dialog.selectNameFilter(names[filterIndex - 1]);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {false, {}, filterIndex};
    const QString file = dialog.selectedFiles().front();
    folder_ = QFileInfo(file).absolutePath();
    return {true, file.toStdString(),
            static_cast<int>(names.indexOf(dialog.selectedNameFilter())) + 1};
}

FileChoice QtHost::openFile(const std::vector<FileFilter>& filters, int filterIndex) {
    return fileDialog(filters, filterIndex, false);
}

FileChoice QtHost::saveFile(const std::vector<FileFilter>& filters, int filterIndex) {
    return fileDialog(filters, filterIndex, true);
}

// The modifiers of the last input event: exact for a click, and unlike the
// asynchronous query it works offscreen and under Xvfb.
bool QtHost::shiftPressed() const {
    return QGuiApplication::keyboardModifiers().testFlag(Qt::ShiftModifier);
}

bool QtHost::ctrlPressed() const {
    return QGuiApplication::keyboardModifiers().testFlag(Qt::ControlModifier);
}

void QtHost::openUrl(const std::string& url) {
    QDesktopServices::openUrl(QUrl(QString::fromStdString(url)));
}

}  // namespace korvex
