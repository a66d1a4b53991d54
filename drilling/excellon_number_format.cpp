#include "drilling/excellon_number_format.h"

#include <charconv>
#include <string>

namespace korvex {

namespace {

// A format asking for more digits than this describes no real file.
constexpr int kMostDigits = 9;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string_view Trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() &&
           (s.back() == ' ' || s.back() == '\t' || s.back() == '\r' || s.back() == '}'))
        s.remove_suffix(1);
    return s;
}

// A number of the form [+-]digits[.digits] with at least one digit.
struct SplitNumber {
    bool negative = false;
    bool point = false;
    std::string_view body;  // without the sign
};

std::optional<SplitNumber> Split(std::string_view s) {
    SplitNumber n;
    if (!s.empty() && (s[0] == '-' || s[0] == '+')) {
        n.negative = s[0] == '-';
        s.remove_prefix(1);
    }
    int digits = 0;
    for (char c : s) {
        if (IsDigit(c)) {
            ++digits;
        } else if (c == '.' && !n.point) {
            n.point = true;
        } else {
            return std::nullopt;
        }
    }
    if (digits == 0) return std::nullopt;
    n.body = s;
    return n;
}

// `body` is known to be digits with at most one point.
double Decimal(std::string_view body) {
    double value = 0;
    std::from_chars(body.data(), body.data() + body.size(), value);
    return value;
}

// '000.000' gives 3 and 3; anything but zeros and one point gives nothing.
bool DigitPattern(std::string_view part, int& integers, int& decimals) {
    const size_t point = part.find('.');
    const std::string_view before = part.substr(0, point);
    const std::string_view after =
        point == std::string_view::npos ? std::string_view() : part.substr(point + 1);
    if (before.empty() || before.find_first_not_of('0') != std::string_view::npos ||
        after.find_first_not_of('0') != std::string_view::npos)
        return false;
    if (before.size() > kMostDigits || after.size() > kMostDigits) return false;
    integers = static_cast<int>(before.size());
    decimals = static_cast<int>(after.size());
    return true;
}

// 'a:b' or 'a.b' at the first digit of `s`.
bool DigitCounts(std::string_view s, int& integers, int& decimals) {
    size_t i = 0;
    while (i < s.size() && !IsDigit(s[i])) ++i;
    const size_t start = i;
    while (i < s.size() && IsDigit(s[i])) ++i;
    if (i == start || i - start > 1 || i + 1 >= s.size() || (s[i] != ':' && s[i] != '.') ||
        !IsDigit(s[i + 1]) || (i + 2 < s.size() && IsDigit(s[i + 2])))
        return false;
    const int a = s[start] - '0', b = s[i + 1] - '0';
    if (a == 0) return false;
    integers = a;
    decimals = b;
    return true;
}

}  // namespace

std::optional<ExcellonDigits> ParseExcellonDigits(std::string_view text) {
    if (text.size() != 3 || (text[1] != '.' && text[1] != ':') || !IsDigit(text[0]) ||
        !IsDigit(text[2]) || text[0] == '0')
        return std::nullopt;
    return ExcellonDigits{text[0] - '0', text[2] - '0'};
}

int ExcellonNumberFormat::integers() const {
    if (chosen.known()) return chosen.integers;
    if (integerDigits > 0) return integerDigits;
    return metric ? 3 : 2;
}

int ExcellonNumberFormat::decimals() const {
    if (chosen.known()) return chosen.decimals;
    if (integerDigits > 0) return decimalDigits;
    return metric ? 3 : 4;
}

std::optional<double> ExcellonNumberFormat::decimalMm(std::string_view number) const {
    const std::optional<SplitNumber> n = Split(number);
    if (!n) return std::nullopt;
    const double value = Decimal(n->body);
    return (n->negative ? -value : value) * MmPerUnit(metric);
}

std::optional<double> ExcellonNumberFormat::coordinateMm(std::string_view number) const {
    const std::optional<SplitNumber> n = Split(number);
    if (!n) return std::nullopt;
    if (n->point) return decimalMm(number);
    // Put the point back where the dropped zeros say it was.
    const std::string digits(n->body);
    const size_t count = digits.size();
    std::string placed;
    if (dropped == ExcellonZeros::kLeadingDropped) {
        const size_t b = static_cast<size_t>(decimals());
        placed = count <= b ? "0." + std::string(b - count, '0') + digits
                            : digits.substr(0, count - b) + "." + digits.substr(count - b);
    } else {
        const size_t a = static_cast<size_t>(integers());
        placed = count <= a ? digits + std::string(a - count, '0')
                            : digits.substr(0, a) + "." + digits.substr(a);
    }
    const double value = Decimal(placed);
    return (n->negative ? -value : value) * MmPerUnit(metric);
}

void SetUnit(ExcellonNumberFormat& format, bool metric) {
    format.metric = metric;
    format.unitNamed = true;
}

bool ApplyUnitStatement(std::string_view word, ExcellonNumberFormat& format) {
    size_t comma = word.find(',');
    const std::string_view unit = word.substr(0, comma);
    if (unit != "INCH" && unit != "METRIC") return false;
    SetUnit(format, unit == "METRIC");
    while (comma != std::string_view::npos) {
        const size_t next = word.find(',', comma + 1);
        const std::string_view part = word.substr(comma + 1, next - comma - 1);
        if (part == "LZ") format.dropped = ExcellonZeros::kTrailingDropped;
        if (part == "TZ") format.dropped = ExcellonZeros::kLeadingDropped;
        DigitPattern(part, format.integerDigits, format.decimalDigits);
        comma = next;
    }
    return true;
}

void ApplyFormatComment(std::string_view comment, ExcellonNumberFormat& format) {
    std::string upper(comment);
    for (char& c : upper)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    const size_t at = upper.find("FORMAT");
    if (at == std::string::npos) return;
    const std::string_view rest = std::string_view(upper).substr(at + 6);
    DigitCounts(rest.substr(0, rest.find('/')), format.integerDigits, format.decimalDigits);
    // The '/'-separated words of KiCad's and Mentor's comments.
    size_t from = 0;
    while (from <= rest.size()) {
        size_t slash = rest.find('/', from);
        if (slash == std::string_view::npos) slash = rest.size();
        const std::string_view part = Trimmed(rest.substr(from, slash - from));
        if (part == "METRIC" || part == "MM") SetUnit(format, true);
        if (part == "INCH") SetUnit(format, false);
        if (part.starts_with("SUPPRESS LEADING") || part == "LEADING")
            format.dropped = ExcellonZeros::kLeadingDropped;
        if (part.starts_with("SUPPRESS TRAILING") || part == "TRAILING")
            format.dropped = ExcellonZeros::kTrailingDropped;
        from = slash + 1;
    }
}

}  // namespace korvex
