#pragma once
// The file dialog of a reader that takes one kind of file. A file chosen
// there that plainly is another kind (a G-code program for the HPGL
// reader, a picture for the drill reader) never reaches the reader, whose
// own parse would fail with a confusing message: the guard says what the
// file looks like and where it opens, and the reader sees a cancelled
// dialog, so what it had loaded stays. Everything else passes through to
// the host. Window thread.

#include <initializer_list>
#include <vector>

#include "log/text.h"
#include "platform/file_kind.h"
#include "platform/host.h"

namespace korvex {

class EventLog;

class KindGuard final : public Host {
  public:
    // `redirect`: the caller opens the kept file where it belongs
    // (elsewhere()); otherwise the operator is told to open it there.
    KindGuard(Host& host, EventLog& log, std::initializer_list<FileKind> accepted, bool redirect);

    FileChoice openFile(const std::vector<FileFilter>& filters, int filterIndex) override;
    Answer messageBox(const std::string& title, const std::string& text, Buttons buttons,
                      Icon icon) override {
        return host_.messageBox(title, text, buttons, icon);
    }
    FileChoice saveFile(const std::vector<FileFilter>& filters, int filterIndex) override {
        return host_.saveFile(filters, filterIndex);
    }
    bool shiftPressed() const override { return host_.shiftPressed(); }
    bool ctrlPressed() const override { return host_.ctrlPressed(); }
    void openUrl(const std::string& url) override { host_.openUrl(url); }

    // The file of another kind last chosen (redirecting guards), or "".
    const std::string& elsewhere() const { return elsewhere_; }

  private:
    Host& host_;
    EventLog& log_;
    std::vector<FileKind> accepted_;
    bool redirect_;
    std::string elsewhere_;
};

}  // namespace korvex
