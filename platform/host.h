#pragma once
// The services of the desktop a dialog or the log may call: message boxes,
// file dialogs, key modifiers, timers and opening a web address.

#include <string>
#include <vector>

namespace korvex {

enum class Buttons { Ok, YesNo, OkCancel, YesNoCancel };
enum class Icon { None, Information, Question, Warning, Error };
enum class Answer { Ok, Cancel, Yes, No };

// One "description" / "pattern" pair of a file dialog, e.g.
// {"File of setup (*.dat)", "*.dat"}; patterns are separated by ';'.
struct FileFilter {
    std::string description;
    std::string pattern;
};

struct FileChoice {
    bool chosen = false;
    std::string path;
    int filterIndex = 0;  // 1-based index of the filter in force
};

class Host {
  public:
    virtual ~Host() = default;
    // Modal; any thread. Returns the button pressed.
    virtual Answer messageBox(const std::string& title, const std::string& text, Buttons buttons,
                              Icon icon) = 0;
    virtual FileChoice openFile(const std::vector<FileFilter>& filters, int filterIndex) = 0;
    virtual FileChoice saveFile(const std::vector<FileFilter>& filters, int filterIndex) = 0;
    virtual bool shiftPressed() const = 0;
    virtual bool ctrlPressed() const = 0;
    virtual void openUrl(const std::string& url) = 0;
};

}  // namespace korvex
