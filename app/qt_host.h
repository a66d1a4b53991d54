#pragma once
// The desktop services for the logic on Qt: message boxes (from any
// thread), file dialogs, the keyboard's modifiers, a view's timers and
// opening a web address.
//
// File dialogs open in the folder of the last file chosen in any of them
// (at start-up: the folder startIn() names, the newest recent file's).
//
// A box asked for on another thread (the executor) is shown on the
// window's thread while only the asking thread waits. closeBoxes() answers
// every waiting and later such box at once (No, Cancel or Ok), so the
// shutdown can join the executor without a deadlock.

#include <QObject>
#include <QString>
#include <condition_variable>
#include <mutex>

#include "platform/host.h"

class QWidget;

namespace korvex {

class QtHost : public QObject, public Host {
  public:
    explicit QtHost(QWidget* parent = nullptr) : parent_(parent) {}

    Answer messageBox(const std::string& title, const std::string& text, Buttons buttons,
                      Icon icon) final;
    FileChoice openFile(const std::vector<FileFilter>& filters, int filterIndex) override;
    FileChoice saveFile(const std::vector<FileFilter>& filters, int filterIndex) override;
    bool shiftPressed() const override;
    bool ctrlPressed() const override;
    void openUrl(const std::string& url) override;

    void setParent(QWidget* parent) { parent_ = parent; }
    // Where the next file dialog opens, until a file is chosen.
    void startIn(const std::string& folder) { folder_ = QString::fromStdString(folder); }
    void closeBoxes();

  protected:
    // Shows the box on the window's thread and returns the answer.
    virtual Answer ask(const std::string& title, const std::string& text, Buttons buttons,
                       Icon icon);

  private:
    FileChoice fileDialog(const std::vector<FileFilter>& filters, int filterIndex, bool save);

    QWidget* parent_;
    QString folder_;
    std::mutex mutex_;
    std::condition_variable answered_;
    bool closing_ = false;
};

// What a box closed by the shutdown answers.
Answer ClosingAnswer(Buttons buttons);

}  // namespace korvex
