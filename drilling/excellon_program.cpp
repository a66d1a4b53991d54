#include "drilling/excellon_program.h"

#include <algorithm>
#include <optional>
#include <unordered_map>

#include "drilling/drill_set.h"
#include "drilling/drill_words.h"

namespace korvex {

namespace {

constexpr size_t kUnknownExamples = 3;
constexpr size_t kExampleLength = 24;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsNumberCharacter(char c) {
    return IsDigit(c) || c == '.' || c == '-' || c == '+';
}
bool AllDigits(std::string_view s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), IsDigit);
}

struct Field {
    char letter;
    std::string_view number;
};

// 'X1.5Y-2G85X3Y4' as its letters and numbers; nothing when a letter is not
// one of `letters` or has no number.
std::optional<std::vector<Field>> Fields(std::string_view word, std::string_view letters) {
    std::vector<Field> fields;
    size_t i = 0;
    while (i < word.size()) {
        const char letter = word[i];
        if (letters.find(letter) == std::string_view::npos) return std::nullopt;
        size_t j = i + 1;
        while (j < word.size() && IsNumberCharacter(word[j])) ++j;
        if (j == i + 1) return std::nullopt;
        fields.push_back({letter, word.substr(i + 1, j - i - 1)});
        i = j;
    }
    return fields;
}

constexpr int kSlotCode = 85, kZeroSetCode = 93;

// More repeats than this in one word describe no board.
constexpr int kMostRepeats = 100000;

// Whether a word not understood carries a coordinate ('G84X1.0Y2.0').
bool HasCoordinate(std::string_view word) {
    for (size_t i = 0; i + 1 < word.size(); ++i)
        if ((word[i] == 'X' || word[i] == 'Y') && IsNumberCharacter(word[i + 1])) return true;
    return false;
}

// The G codes a drill file may use: modes, the slot and the zero set.
bool KnownGCode(int code) {
    switch (code) {
        case 0:
        case 1:
        case 2:
        case 3:
        case 5:
        case 40:
        case 41:
        case 42:
        case 81:
        case kSlotCode:
        case 90:
        case 91:
        case kZeroSetCode:
            return true;
    }
    return false;
}

struct Point {
    double x = 0, y = 0;
};

class Parser {
  public:
    explicit Parser(ExcellonProgram& program) : p_(program) {}

    void comment(std::string_view text) {
        ApplyFormatComment(text, p_.format);
        noteUnit();
    }
    void startLine(int number) { line_ = number; }
    // False once the program has ended or been refused.
    bool word(std::string_view word);
    void finish();

  private:
    bool tool(std::string_view word);
    bool mCode(std::string_view word);
    bool repeat(std::string_view word);
    bool refuseGeometry(std::string_view word);
    void coordinates(std::string_view word);
    void modeCode(int code);

    void noteUnit() {
        if (p_.format.unitNamed && !firstMetric_) firstMetric_ = p_.format.metric;
    }
    void unknown(std::string_view word);
    // A number without a point reads by the digits in force, unless it is
    // all zeros.
    void noteDigits(std::string_view number) {
        if (!p_.format.digitsKnown() && number.find('.') == std::string_view::npos &&
            number.find_first_of("123456789") != std::string_view::npos)
            p_.formatAssumed = true;
    }
    int toolIndex(int number);  // -1 when the table is full (refused)
    Point resolve(std::optional<double> x, std::optional<double> y, Point from) const;
    void addSlot();
    void closeSlot() {
        if (routeCut_) addSlot();
        routeCut_ = false;
    }

    ExcellonProgram& p_;
    std::unordered_map<int, int> indexOf_;
    // Diameters given before the file named its unit, as written: they take
    // the first unit it names (a header without INCH before an M71 body).
    std::vector<std::pair<int, double>> unitless_;
    std::optional<bool> firstMetric_;
    int current_ = -1;
    int line_ = 0;
    bool incremental_ = false;
    bool routing_ = false;   // G00..G03 until G05 / G81
    bool cutting_ = false;   // the modal route move is G01..G03, not G00
    bool routeCut_ = false;  // the route has cut since the tool last went down
    Point origin_, at_;
};

bool Parser::word(std::string_view word) {
    std::string upper(word);
    for (char& c : upper)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    const std::string_view w = upper;
    if (w == "M48" || w == "M95" || w == "%" || w.starts_with("FMAT,") || w.starts_with("VER,"))
        return true;
    if (ApplyUnitStatement(w, p_.format)) {
        noteUnit();
        return true;
    }
    if (w == "ICI,ON" || w == "ICI,OFF") {
        incremental_ = w == "ICI,ON";
        return true;
    }
    if (w[0] == 'T') return tool(w);
    if (w[0] == 'M') return mCode(w);
    if (w[0] == 'R' && w.size() > 1 && IsDigit(w[1])) return repeat(w);
    coordinates(w);
    return p_.refusal == ExcellonRefusal::kNone;
}

bool Parser::refuseGeometry(std::string_view word) {
    p_.refusal = ExcellonRefusal::kUnreadGeometry;
    p_.refusedWord = std::string(word.substr(0, kExampleLength));
    p_.refusedLine = line_;
    return false;
}

// 'R3X001000': the last hole again 3 times, each the offset further on.
bool Parser::repeat(std::string_view word) {
    size_t digits = 1;
    while (digits < word.size() && IsDigit(word[digits])) ++digits;
    const std::optional<std::vector<Field>> fields = Fields(word.substr(digits), "XY");
    const int count = digits > 1 ? LeadingInteger(word.substr(1, digits - 1)) : 0;
    if (!fields || count < 1 || count > kMostRepeats || routing_ || p_.holes.empty())
        return refuseGeometry(word);
    Point step;
    for (const Field& f : *fields) {
        const std::optional<double> mm = p_.format.coordinateMm(f.number);
        if (!mm) return refuseGeometry(word);
        noteDigits(f.number);
        (f.letter == 'X' ? step.x : step.y) = *mm;
    }
    for (int i = 0; i < count; ++i) {
        at_ = {at_.x + step.x, at_.y + step.y};
        p_.holes.push_back({current_, at_.x, at_.y});
    }
    return true;
}

void Parser::unknown(std::string_view word) {
    ++p_.unknownWords;
    const std::string example(word.substr(0, kExampleLength));
    auto& examples = p_.unknownExamples;
    if (examples.size() < kUnknownExamples &&
        std::find(examples.begin(), examples.end(), example) == examples.end())
        examples.push_back(example);
}

int Parser::toolIndex(int number) {
    if (auto it = indexOf_.find(number); it != indexOf_.end()) return it->second;
    if (p_.tools.size() >= static_cast<size_t>(kMaxDrillTools)) {
        p_.refusal = ExcellonRefusal::kTooManyDrills;
        return -1;
    }
    p_.tools.push_back({number, 0, false, 0});
    return indexOf_[number] = static_cast<int>(p_.tools.size() - 1);
}

bool Parser::tool(std::string_view word) {
    size_t digits = 1;
    while (digits < word.size() && IsDigit(word[digits])) ++digits;
    std::optional<std::vector<Field>> fields = Fields(word.substr(digits), "CFSBHZ");
    if (digits == 1 || !fields) {
        unknown(word);
        return true;
    }
    std::optional<double> written;  // the diameter as the file writes it
    ExcellonNumberFormat asWritten;
    asWritten.metric = true;
    for (const Field& f : *fields) {
        const std::optional<double> value = asWritten.decimalMm(f.number);
        if (!value) {
            unknown(word);
            return true;
        }
        if (f.letter == 'C') written = value;
    }
    closeSlot();
    const int number = LeadingInteger(word.substr(1, digits - 1));
    if (!written && number == 0 && !indexOf_.contains(0)) {
        current_ = -1;  // 'T0': no tool
        return true;
    }
    current_ = toolIndex(number);
    if (current_ < 0) return false;
    if (written) {
        ExcellonTool& t = p_.tools[current_];
        t.diameterGiven = true;
        t.diameterMm = *written * MmPerUnit(p_.format.metric);
        std::erase_if(unitless_, [this](const auto& u) { return u.first == current_; });
        if (!p_.format.unitNamed) unitless_.push_back({current_, *written});
    }
    return true;
}

bool Parser::mCode(std::string_view word) {
    // 'M97,TEXT' carries its text after a comma.
    const std::string_view digits = word.substr(1, word.find(',') - 1);
    const int code = AllDigits(digits) ? LeadingInteger(digits) : -1;
    switch (code) {
        case 71:
        case 72:
            SetUnit(p_.format, code == 71);
            noteUnit();
            return true;
        case 0:
        case 30:
            return false;
        case 15:  // the router goes down; what it cuts makes the slot
            return true;
        case 1:
        case 2:
        case 8:
        case 25:
        case 70:
        case 80:
        case 90:
        case 97:
        case 98:
            return refuseGeometry(word);
        case 16:
        case 17:
            closeSlot();
            return true;
        default:
            unknown(word);
            return true;
    }
}

// Cutter compensation (G40..G42) only shifts a route: nothing to do.
void Parser::modeCode(int code) {
    switch (code) {
        case 90:
        case 91:
            incremental_ = code == 91;
            break;
        case 0:
            closeSlot();
            routing_ = true;
            cutting_ = false;
            break;
        case 1:
        case 2:
        case 3:
            routing_ = cutting_ = true;
            break;
        case 5:
        case 81:
            closeSlot();
            routing_ = false;
            break;
    }
}

Point Parser::resolve(std::optional<double> x, std::optional<double> y, Point from) const {
    if (incremental_) {
        if (x) from.x += *x;
        if (y) from.y += *y;
    } else {
        if (x) from.x = origin_.x + *x;
        if (y) from.y = origin_.y + *y;
    }
    return from;
}

void Parser::addSlot() {
    if (current_ >= 0)
        ++p_.tools[current_].slots;
    else
        ++p_.slotsWithoutTool;
}

void Parser::coordinates(std::string_view word) {
    // What is not understood is skipped, unless it would place holes.
    auto notUnderstood = [&] {
        if (HasCoordinate(word))
            refuseGeometry(word);
        else
            unknown(word);
    };
    const std::optional<std::vector<Field>> fields = Fields(word, "XYGAIJ");
    if (!fields) return notUnderstood();
    // Check every field before acting on any.
    for (const Field& f : *fields) {
        const bool known = f.letter == 'G'
                               ? AllDigits(f.number) && KnownGCode(LeadingInteger(f.number))
                               : p_.format.coordinateMm(f.number).has_value();
        if (!known) return notUnderstood();
    }
    for (const Field& f : *fields)
        if (f.letter != 'G') noteDigits(f.number);
    std::optional<double> x[2], y[2];  // before and after G85
    int part = 0;
    bool zeroSet = false;
    for (const Field& f : *fields) {
        if (f.letter == 'G') {
            const int code = LeadingInteger(f.number);
            if (code == kSlotCode) part = 1;
            zeroSet = zeroSet || code == kZeroSetCode;
            modeCode(code);
        } else if (f.letter == 'X') {
            x[part] = p_.format.coordinateMm(f.number);
        } else if (f.letter == 'Y') {
            y[part] = p_.format.coordinateMm(f.number);
        }
    }
    if (zeroSet) {
        origin_ = {x[0].value_or(origin_.x), y[0].value_or(origin_.y)};
        return;
    }
    if (part == 1) {
        at_ = resolve(x[1], y[1], resolve(x[0], y[0], at_));
        return addSlot();
    }
    if (!x[0] && !y[0]) return;
    at_ = resolve(x[0], y[0], at_);
    if (routing_)
        routeCut_ = routeCut_ || cutting_;
    else
        p_.holes.push_back({current_, at_.x, at_.y});
}

void Parser::finish() {
    closeSlot();
    const double mmPerUnit = MmPerUnit(firstMetric_.value_or(false));
    for (const auto& [index, written] : unitless_) p_.tools[index].diameterMm = written * mmPerUnit;
}

// The statements of one line: its words, with a word that starts or ends
// with a comma joined to its neighbour ('INCH, LZ').
bool Statements(Parser& parser, std::string_view line) {
    WordScanner words(line);
    std::string_view w;
    std::string statement;
    while (words.next(w)) {
        if (!statement.empty() && statement.back() != ',' && w.front() != ',') {
            if (!parser.word(statement)) return false;
            statement.clear();
        }
        statement += w;
    }
    return statement.empty() || parser.word(statement);
}

}  // namespace

int ExcellonProgram::slotCount() const {
    int count = slotsWithoutTool;
    for (const ExcellonTool& t : tools) count += t.slots;
    return count;
}

ExcellonProgram ParseExcellon(std::string_view text, ExcellonDigits chosen) {
    ExcellonProgram program;
    program.format.chosen = chosen;
    WordScanner all(text);
    std::string_view w;
    while (all.next(w)) {
        if (w.size() > kMaxDrillWordLength) {
            program.refusal = ExcellonRefusal::kWordTooLong;
            return program;
        }
    }
    Parser parser(program);
    size_t start = 0;
    int lineNumber = 1;
    while (start < text.size()) {
        parser.startLine(lineNumber);
        size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view line = text.substr(start, end - start);
        start = end + 1;
        // "\r\n" ends one line, as does a lone "\r" or "\n".
        if (end < text.size() && !(text[end] == '\r' && start < text.size() && text[start] == '\n'))
            ++lineNumber;
        const size_t comment = line.find(';');
        if (comment != std::string_view::npos) parser.comment(line.substr(comment + 1));
        if (!Statements(parser, line.substr(0, comment))) break;
    }
    if (program.refusal != ExcellonRefusal::kNone) return program;
    parser.finish();
    return program;
}

}  // namespace korvex
