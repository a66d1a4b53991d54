#pragma once
// The main window's one Open: a file of any kind Korvex reads, recognised
// by its content and opened where it belongs (a drawing into the model, a
// program, a picture or a drill file into its job's window), and the last
// ten files offered again. Window thread.

#include <functional>
#include <string>

namespace korvex {

class Controller;
class Host;
class ModelCommands;
class WindowView;
enum class DialogKind;

class OpenCommand {
  public:
    OpenCommand(Controller& c, WindowView& view, Host& host, ModelCommands& model,
                std::function<void(DialogKind)> openDialog);

    // Reads the recent list (Controller::recent) and shows the menu with it.
    void start();
    // The file box, then open().
    void choose();
    // The recent entry `index` (0 newest).
    void recent(int index);
    // Opens `path` as what it looks like; a file that is none of them is
    // refused with a box, and what was loaded before stays.
    void open(const std::string& path);

  private:
    void showMenu();

    Controller& c_;
    WindowView& view_;
    Host& host_;
    ModelCommands& model_;
    std::function<void(DialogKind)> openDialog_;
};

}  // namespace korvex
