#include "vector/hpgl_generic_scanner.h"

#include <cstdint>

namespace korvex {

namespace {

constexpr char kEscape = '\x1b';
constexpr char kEndOfText = '\x03';

constexpr bool IsLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
constexpr bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
constexpr char Upper(char c) {
    return c >= 'a' ? static_cast<char>(c - ('a' - 'A')) : c;
}

constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8, 1e9,
                                   1e10, 1e11, 1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18};
constexpr int kMaxDigits = 18;  // kept in the integer mantissa; more only scale it

double PowerOfTen(int n) {
    double value = 1;
    for (; n > kMaxDigits; n -= kMaxDigits) value *= kPowersOfTen[kMaxDigits];
    return value * kPowersOfTen[n];
}

// A decimal number at `at` ([sign] digits [. digits]); false, with `at`
// past the sign, when there are no digits.
bool ReadNumber(std::string_view data, size_t& at, double& value) {
    bool negative = false;
    if (data[at] == '-' || data[at] == '+') negative = data[at++] == '-';
    uint64_t mantissa = 0;
    int kept = 0, scale = 0, digits = 0;
    for (; at < data.size() && IsDigit(data[at]); ++at, ++digits) {
        if (kept < kMaxDigits) {
            mantissa = mantissa * 10 + (data[at] - '0');
            if (mantissa) ++kept;
        } else {
            ++scale;
        }
    }
    if (at < data.size() && data[at] == '.') {
        for (++at; at < data.size() && IsDigit(data[at]); ++at, ++digits) {
            if (kept < kMaxDigits) {
                mantissa = mantissa * 10 + (data[at] - '0');
                if (mantissa) ++kept;
                --scale;
            }
        }
    }
    if (digits == 0) return false;
    value = static_cast<double>(mantissa);
    value = scale >= 0 ? value * PowerOfTen(scale) : value / PowerOfTen(-scale);
    if (negative) value = -value;
    return true;
}

}  // namespace

bool HpglGenericScanner::next(HpglGenericCommand& command) {
    command.params.clear();
    while (at_ + 1 < data_.size()) {
        const char c = data_[at_];
        if (c == kEscape) {
            skipEscape();
            continue;
        }
        if (!IsLetter(c) || !IsLetter(data_[at_ + 1])) {
            ++at_;  // separators, stray characters and lone letters
            continue;
        }
        command.name[0] = Upper(c);
        command.name[1] = Upper(data_[at_ + 1]);
        at_ += 2;
        skipStringData(command);
        readParams(command);
        return true;
    }
    at_ = data_.size();
    return false;
}

void HpglGenericScanner::skipStringData(const HpglGenericCommand& command) {
    if (command.is("LB") || command.is("WD") || command.is("BL")) {
        skipPastByte(labelTerminator_);
    } else if (command.is("PE")) {
        skipPastByte(';');  // encoded pairs are letters and punctuation
    } else if (command.is("CO")) {
        while (at_ < data_.size() && data_[at_] == ' ') ++at_;
        if (at_ < data_.size() && data_[at_] == '"') {
            ++at_;
            skipPastByte('"');
        }
    } else if (command.is("DT") || command.is("SM")) {
        // The character right after the mnemonic is the argument; ';' there
        // means "none".
        char argument = kEndOfText;
        if (at_ < data_.size() && data_[at_] != ';') argument = data_[at_++];
        if (command.is("DT")) labelTerminator_ = argument;
    } else if (command.is("IN") || command.is("DF")) {
        labelTerminator_ = kEndOfText;
    }
}

void HpglGenericScanner::readParams(HpglGenericCommand& command) {
    while (at_ < data_.size()) {
        const char c = data_[at_];
        if (c == ';') {
            ++at_;
            return;
        }
        if (IsLetter(c)) return;  // the next command, without a ';' between
        if (c == kEscape) {
            skipEscape();
        } else if (IsDigit(c) || c == '-' || c == '+' || c == '.') {
            double value;
            if (ReadNumber(data_, at_, value)) command.params.push_back(value);
        } else {
            ++at_;  // ',', spaces, line breaks and anything else between numbers
        }
    }
}

void HpglGenericScanner::skipPastByte(char terminator) {
    const size_t end = data_.find(terminator, at_);
    at_ = end == std::string_view::npos ? data_.size() : end + 1;
}

// PCL escapes: ESC and one character ("ESC E"), or a parameterised sequence
// ESC, a character of '!'..'/', an optional group character of '`'..'~',
// then values each closed by a letter, lower case when another value follows.
// "ESC % n A" hands the printer back to PCL until the next "ESC % n B". The
// RS-232 device controls of older plotters ("ESC . x ... :") go too.
void HpglGenericScanner::skipEscape() {
    ++at_;
    if (at_ >= data_.size()) return;
    const char kind = data_[at_++];
    if (kind == '.') {
        if (at_ < data_.size() && data_[at_] != '(' && data_[at_] != ')') {
            const size_t colon = data_.find(':', at_);
            if (colon != std::string_view::npos && colon - at_ < 64) at_ = colon;
        }
        ++at_;
        return;
    }
    if (kind < '!' || kind > '/') return;
    if (at_ < data_.size() && data_[at_] >= '`' && data_[at_] <= '~') ++at_;
    while (at_ < data_.size()) {
        const char c = data_[at_++];
        if (IsDigit(c) || c == '-' || c == '+' || c == '.') continue;
        if (c >= '@' && c <= '^') {
            if (kind == '%' && c == 'A') skipPcl();
            return;
        }
        if (c < '`' || c > '~') return;  // not a sequence after all
    }
}

void HpglGenericScanner::skipPcl() {
    for (;;) {
        const size_t start = data_.find("\x1b%", at_);
        if (start == std::string_view::npos) {
            at_ = data_.size();
            return;
        }
        size_t i = start + 2;
        while (i < data_.size() && (IsDigit(data_[i]) || data_[i] == '-' || data_[i] == '+')) ++i;
        at_ = i;
        if (i < data_.size() && data_[i] == 'B') {
            ++at_;
            return;
        }
    }
}

}  // namespace korvex
