#pragma once
// The event log: the program's one channel for reports.
//
// Every line is numbered and appended to listbox.txt in the module
// directory; it may also go to the main window's list and into a modal box
// titled "Problém/Error". Safe from any thread: numbers are unique and the
// file holds the lines in number order.

#include <functional>
#include <mutex>
#include <string>

#include "log/text.h"

namespace korvex {

class Host;

class EventLog {
  public:
    // Where list lines go (the main window's list box, or stderr in the CLI).
    // Without a host, box lines go there too.
    using ListSink = std::function<void(const std::string&)>;

    EventLog() = default;
    EventLog(const EventLog&) = delete;
    EventLog& operator=(const EventLog&) = delete;

    // Empties listbox.txt in `moduleDir` and restarts the numbering.
    void start(const std::string& moduleDir);
    // The same with the log file named in full (the command line's --log).
    void startFile(const std::string& path);
    void setHost(Host* host) { host_ = host; }
    void setListSink(ListSink sink) { list_ = std::move(sink); }
    // The language bilingual lines are picked in.
    void setLanguage(const int* language) { language_ = language; }

    // Numbers the line and writes it to the file; optionally to the list and
    // a box. Any thread; returns after the box is closed. The host must be
    // safe to ask from any thread; the list sink is called by one thread at
    // a time.
    void line(const std::string& text, bool toList, bool showBox);
    // Picks the text's form by the current language; logs nothing when the
    // language is neither Czech nor English.
    void say(Text text, bool toList, bool showBox);
    // The same in an explicit language (a record other than the one in force).
    void say(int language, Text text, bool toList, bool showBox);
    // text + " - " + the system's message for errno, to the list; errno is
    // then cleared.
    void systemError(const std::string& text);

    int lineCount() const;
    const std::string& filePath() const { return path_; }
    int language() const { return language_ ? *language_ : 1; }

  private:
    mutable std::mutex mutex_;
    std::mutex listMutex_;
    int counter_ = 0;
    std::string path_;
    Host* host_ = nullptr;
    ListSink list_;
    const int* language_ = nullptr;
};

// The names the rest of the program reports through.
inline void LogLine(EventLog& log, const std::string& text, bool toList, bool showBox) {
    log.line(text, toList, showBox);
}
inline void LogLine(EventLog& log, Text text, bool toList, bool showBox) {
    log.say(text, toList, showBox);
}
inline void LogSystemError(EventLog& log, const std::string& text) {
    log.systemError(text);
}

// A bilingual report with printf-style arguments: the form of the language in
// force is formatted and logged; nothing for a language other than 0 or 1.
template <typename... Args>
void SayFormatted(EventLog& log, Text text, bool toList, bool showBox, Args... args) {
    if constexpr (sizeof...(Args) == 0) {
        log.say(text, toList, showBox);
    } else if (auto picked = Pick(log.language(), text)) {
        log.line(Format(picked->c_str(), args...), toList, showBox);
    }
}

}  // namespace korvex
