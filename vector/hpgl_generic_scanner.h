#pragma once
// Splitting an HP-GL or HP-GL/2 stream into commands the way a plotter does:
// a two-letter mnemonic, then numbers up to ';' or the next mnemonic. Label
// text, comments and encoded polylines are skipped whole, so their letters are
// never taken for commands, and printer (PCL) escape sequences around or
// inside the stream are dropped, with everything between "enter PCL" and
// "enter HP-GL/2".

#include <string_view>
#include <vector>

namespace korvex {

struct HpglGenericCommand {
    char name[3] = {};  // upper case, e.g. "PD"
    std::vector<double> params;

    bool is(const char* mnemonic) const { return name[0] == mnemonic[0] && name[1] == mnemonic[1]; }
};

class HpglGenericScanner {
  public:
    explicit HpglGenericScanner(std::string_view data) : data_(data) {}

    // The next command; false at the end of the data. `command.params` is
    // reused, so its storage grows only to the longest command.
    bool next(HpglGenericCommand& command);

  private:
    void skipEscape();
    void skipPcl();
    void skipPastByte(char terminator);
    void readParams(HpglGenericCommand& command);
    void skipStringData(const HpglGenericCommand& command);

    std::string_view data_;
    size_t at_ = 0;
    char labelTerminator_ = '\x03';
};

}  // namespace korvex
