#include "ui/recent_files.h"

#include <algorithm>
#include <fstream>

namespace korvex {

void RecentFiles::load(const std::string& dir) {
    file_ = dir + "/recent.txt";
    paths_.clear();
    std::ifstream in(file_);
    for (std::string line; paths_.size() < kKept && std::getline(in, line);)
        if (!line.empty()) paths_.push_back(line);
}

void RecentFiles::add(const std::string& path) {
    std::erase(paths_, path);
    paths_.insert(paths_.begin(), path);
    if (paths_.size() > kKept) paths_.resize(kKept);
    if (file_.empty()) return;
    std::ofstream out(file_, std::ios::trunc);
    for (const std::string& p : paths_) out << p << '\n';
}

}  // namespace korvex
