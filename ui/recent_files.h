#pragma once
// The last ten files opened through the main window's Open, newest first,
// kept in "recent.txt" beside config.dat (one path a line). Window thread.

#include <string>
#include <vector>

namespace korvex {

class RecentFiles {
  public:
    static constexpr size_t kKept = 10;

    // Reads the list kept in `dir`; none when there is no list.
    void load(const std::string& dir);
    // Puts `path` first (once) and writes the list; a list that cannot be
    // written is kept for this run.
    void add(const std::string& path);
    const std::vector<std::string>& paths() const { return paths_; }

  private:
    std::string file_;
    std::vector<std::string> paths_;
};

}  // namespace korvex
