#include "log/event_log.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/host.h"

namespace korvex {

void EventLog::start(const std::string& moduleDir) {
    startFile(moduleDir + "/listbox.txt");
}

void EventLog::startFile(const std::string& path) {
    std::lock_guard lock(mutex_);
    counter_ = 0;
    path_ = path;
    if (std::FILE* f = std::fopen(path_.c_str(), "w")) std::fclose(f);
}

void EventLog::line(const std::string& text, bool toList, bool showBox) {
    int number;
    {
        // Numbering and the file write under one lock: numbers are unique
        // and the file is in number order.
        std::lock_guard lock(mutex_);
        number = ++counter_;
        if (!path_.empty()) {
            if (std::FILE* f = std::fopen(path_.c_str(), "a")) {
                std::fprintf(f, "%4d, %s \n", number, text.c_str());
                std::fclose(f);
            }
        }
    }
    bool listed = toList;
    if (showBox) {
        // No lock is held while the box is open: the window thread may need
        // to show its own box before it can show one asked for by the
        // executor. The host serialises its boxes itself.
        if (host_) {
            host_->messageBox("Problém/Error", text, Buttons::Ok, Icon::None);
        } else {
            listed = true;  // nobody to show a box: the list still tells
        }
    }
    if (listed && list_) {
        std::lock_guard lock(listMutex_);  // sinks take one line at a time
        list_(text);
    }
}

void EventLog::say(Text text, bool toList, bool showBox) {
    say(language(), text, toList, showBox);
}

void EventLog::say(int language, Text text, bool toList, bool showBox) {
    if (auto picked = Pick(language, text)) line(*picked, toList, showBox);
}

void EventLog::systemError(const std::string& text) {
    int error = errno;
    line(text + " - " + std::strerror(error), true, false);
    errno = 0;
}

int EventLog::lineCount() const {
    std::lock_guard lock(mutex_);
    return counter_;
}

}  // namespace korvex
