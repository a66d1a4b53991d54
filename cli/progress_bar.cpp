#include "cli/progress_bar.h"

#include <unistd.h>

#include <algorithm>

namespace korvex::cli {

namespace {
constexpr int kWidth = 30;
constexpr auto kRedrawEvery = std::chrono::milliseconds(100);
}  // namespace

ProgressBar::ProgressBar(std::FILE* out) : out_(out), terminal_(isatty(fileno(out)) != 0) {}

void ProgressBar::update(double fraction, const std::string& detail) {
    if (!terminal_) return;
    const auto now = std::chrono::steady_clock::now();
    if (now - lastDraw_ < kRedrawEvery) return;
    lastDraw_ = now;
    draw(fraction, detail, false);
}

void ProgressBar::finish(double fraction, const std::string& detail) {
    draw(fraction, detail, true);
}

void ProgressBar::draw(double fraction, const std::string& detail, bool last) {
    fraction = std::clamp(fraction, 0.0, 1.0);
    const int filled = static_cast<int>(fraction * kWidth + 0.5);
    std::string bar(static_cast<size_t>(filled), '#');
    bar.append(static_cast<size_t>(kWidth - filled), '.');
    std::fprintf(out_, "%s[%s] %3d%%  %s%s", terminal_ ? "\r\033[K" : "", bar.c_str(),
                 static_cast<int>(fraction * 100 + 0.5), detail.c_str(), last ? "\n" : "");
    std::fflush(out_);
}

}  // namespace korvex::cli
