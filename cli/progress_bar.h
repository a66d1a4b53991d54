#pragma once
// A one-line progress bar on stderr, redrawn in place on a terminal.

#include <chrono>
#include <cstdio>
#include <string>

namespace korvex::cli {

class ProgressBar {
  public:
    explicit ProgressBar(std::FILE* out);
    // `fraction` 0..1 done; `detail` follows the bar. Redraws at most ten
    // times a second, and only on a terminal.
    void update(double fraction, const std::string& detail);
    // The final state, always shown, ending the line.
    void finish(double fraction, const std::string& detail);

  private:
    void draw(double fraction, const std::string& detail, bool last);

    std::FILE* out_;
    bool terminal_;
    std::chrono::steady_clock::time_point lastDraw_{};
};

}  // namespace korvex::cli
