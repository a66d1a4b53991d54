#include "vector/hpgl_command.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>

namespace korvex {

namespace {

// The command table's rank of every two-letter pair (0: not a mnemonic), and
// -1 for "PT", which overrides them all.
constexpr int kPenThickness = -1;

struct MnemonicTable {
    std::array<std::array<int8_t, 26>, 26> rank{};
    constexpr MnemonicTable() {
        constexpr const char* kTable[] = {"SP", "PU", "PD", "VS", "LT", "IN", "PW",
                                          "WU", "DF", "IW", "CI", "PA", "ZZ", "SF"};
        for (int i = 0; i < 14; ++i) rank[kTable[i][0] - 'A'][kTable[i][1] - 'A'] = i + 1;
        rank['P' - 'A']['T' - 'A'] = kPenThickness;
    }
};
constexpr MnemonicTable kMnemonics;

constexpr bool IsLetter(char c) {
    return c >= 'A' && c <= 'Z';
}

}  // namespace

HpglCode ClassifyHpglCommand(std::string_view text) {
    int best = 0;
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (!IsLetter(text[i]) || !IsLetter(text[i + 1])) continue;
        const int rank = kMnemonics.rank[text[i] - 'A'][text[i + 1] - 'A'];
        if (rank == kPenThickness) return HpglCode::Ignored;
        if (rank > best) best = rank;
    }
    switch (best) {
        case 0:
            return HpglCode::Unknown;
        case 1:
            return HpglCode::SelectPen;
        case 2:
            return HpglCode::PenUp;
        case 3:
            return HpglCode::PenDown;
        case 12:
            return HpglCode::PlotAbsolute;
        default:
            return HpglCode::Ignored;
    }
}

int32_t ReadHpglInteger(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    int64_t value = 0;
    constexpr int64_t kLimit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        value = std::min(value * 10 + (text[i] - '0'), kLimit);
    if (negative) return static_cast<int32_t>(-value);
    return static_cast<int32_t>(std::min(value, kLimit - 1));
}

namespace {
char SeparatorOf(std::string_view text) {
    return text.find(' ') != std::string_view::npos ? ' ' : ',';
}
}  // namespace

CoordinateResult ParseHpglCoordinates(std::string_view text, VectorPoint& point) {
    if (text.empty()) return CoordinateResult::NoCoordinates;
    const size_t first = text.find(SeparatorOf(text));
    if (first == std::string_view::npos || first == 0) return CoordinateResult::BadSeparator;
    point.x = ReadHpglInteger(text.substr(0, first));
    const std::string_view rest = text.substr(first + 1);
    const size_t second = rest.find(SeparatorOf(rest));
    if (second == std::string_view::npos) {
        point.y = ReadHpglInteger(rest);
        point.z = 0;
    } else {
        point.y = ReadHpglInteger(rest.substr(0, second));
        point.z = ReadHpglInteger(rest.substr(second + 1));
    }
    return CoordinateResult::Point;
}

}  // namespace korvex
